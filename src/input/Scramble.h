// The game's beginning and end: the random scramble, the solved test and the win check.
#ifndef ZARNEL_SCRAMBLE_H
#define ZARNEL_SCRAMBLE_H

//! Five random animated layer turns (axis, layer, direction drawn from rand in that order).
void scrambleCube();

//! True when all 26 outer sub-cubes share one exact orientation; changes nothing.
bool isCubeSolved();

//! While a game runs and the cube is solved: prints the win line, sets the status text and ends
//! the game.
void checkWin();

#endif
