// Scramble, solved test and win check; see Scramble.h. "Solved" is decided on each sub-cube's
// exact orientation rather than on its stored angle triple: the triples depend on the order of
// the turns (turns about different axes do not commute) and on how the angles were wrapped.
#include "Scramble.h"
#include "LayerTurn.h"
#include "app/AppState.h"
#include "cube/CSubcubeSceneNode.h"
#include "cube/CubeModel.h"
#include <cstdio>
#include <cstdlib>

using namespace irr;

namespace
{
const s32 ScrambleTurns = 5;
const f32 ScrambleSpin = 0.01f;
const s32 CoreCell = 13;
}

void scrambleCube()
{
	for (s32 i = 0; i < ScrambleTurns; ++i)
	{
		const s32 axis = rand() % 3;
		const s32 layer = rand() % 3;
		const s32 direction = (rand() % 2) ? 1 : -1;
		turnLayer(layer, axis, direction, core::vector3df(ScrambleSpin, ScrambleSpin, ScrambleSpin));
	}
}

bool isCubeSolved()
{
	// Every layer turn rotates its sub-cubes about the cube's centre, so when all outer sub-cubes
	// share one orientation, each stands where that one rotation puts it: the cube is solved as a
	// whole, however it was turned. The core cannot be seen and is left out.
	const SOrientation& reference = cube->subcubes[cube->grid[0]]->Orientation;
	for (s32 cell = 1; cell < CellCount; ++cell)
		if (cell != CoreCell && cube->subcubes[cube->grid[cell]]->Orientation != reference)
			return false;
	return true;
}

void checkWin()
{
	if (!gameRunning || !isCubeSolved())
		return;
	printf("congratulations,you win!\n");
	fflush(stdout);
	statusText = StatusWinText;
	gameRunning = false;
}
