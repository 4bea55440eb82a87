#include "view/cell_look.h"

#include "maze/cell_rules.h"

bool cellLook(char cell, CellLook& look)
{
    if (isOpenCell(cell)) {
        look = {false, 0, 0.5f, 0.5f, 0.5f};
        return true;
    }
    switch (cell) {
    case 'r': look = {true, 1, 1, 0, 0}; return true;
    case 'g': look = {true, 2, 0, 1, 0}; return true;
    case 'b': look = {true, 3, 0, 0, 1}; return true;
    case 'c': look = {true, 4, 0, 1, 1}; return true;
    case 'm': look = {true, 5, 1, 0, 1}; return true;
    case 'y': look = {true, 6, 1, 1, 0}; return true;
    default: return false;
    }
}
