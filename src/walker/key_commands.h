#pragma once

#include "walker/walker.h"

// What a key asks for. Keys are case-sensitive: only v/V and q/Q come in
// both cases.
enum class KeyCommand { None, Quit, Forward, Backward, TurnLeft, TurnRight, CycleView };

KeyCommand keyCommand(unsigned char key);

// Starts the motion a motion command names, if the walker is Idle; a key
// pressed during a motion is dropped, not queued. Other commands do nothing.
void startMotion(WalkerState& walker, KeyCommand command);

// The field-of-view entry after `current`: 1 -> 2 -> 0 -> 1.
int nextFieldOfView(int current);
