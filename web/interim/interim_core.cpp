// TEMPORARY: see interim_core.h.
#include "interim/interim_core.h"

bool cellLook(char cell, CellLook& look)
{
    switch (cell) {
    case ' ': case '*': case 'x': look = {0, 0, 0.5f, 0.5f, 0.5f}; return true;
    case 'r': look = {1, 1, 1, 0, 0}; return true;
    case 'g': look = {1, 2, 0, 1, 0}; return true;
    case 'b': look = {1, 3, 0, 0, 1}; return true;
    case 'c': look = {1, 4, 0, 1, 1}; return true;
    case 'm': look = {1, 5, 1, 0, 1}; return true;
    case 'y': look = {1, 6, 1, 1, 0}; return true;
    default: return false;
    }
}
