// The layer turn: hang the layer's nine sub-cubes under a temporary pivot, animate the pivot,
// then write back cells, angles and transforms. The pivot is removed afterwards so that turns do
// not pile up empty nodes. The grid stays a permutation: when the rounded positions do not land
// exactly on the layer's nine cells, the cells come from the exact quarter turn instead.
#include "LayerTurn.h"
#include "CubeRotation.h"
#include "app/AppState.h"
#include "app/Frame.h"
#include "cube/CSubcubeSceneNode.h"
#include "cube/CubeModel.h"

using namespace irr;

namespace
{
core::vector3df onAxis(s32 axis, f32 degrees)
{
	core::vector3df v(0, 0, 0);
	if (axis == 0)
		v.X = degrees;
	else if (axis == 1)
		v.Y = degrees;
	else
		v.Z = degrees;
	return v;
}

bool insideGrid(const core::vector3d<s32>& g)
{
	return g.X >= 0 && g.X <= 2 && g.Y >= 0 && g.Y <= 2 && g.Z >= 0 && g.Z <= 2;
}

// Holds a turn frame back until turnFrameInterval has passed since the last one, so that on a fast
// card a turn still lasts long enough to be seen; slow rendering never waits.
void paceFrame()
{
	if (turnFrameInterval == 0 || !turnClock || !turnSleep)
		return;
	if (turnFrameShownAt != 0)
	{
		u32 elapsed;
		while ((elapsed = turnClock() - turnFrameShownAt) < turnFrameInterval)
			turnSleep(turnFrameInterval - elapsed);
	}
	turnFrameShownAt = turnClock();
}

// Steps the pivot from 0 towards the quarter turns, one frame per step; the first frame shows the
// layer unturned. About Z the last step reaches 90 itself (46 frames), about X and Y it stops at 88.
void animate(scene::ISceneNode* turnPivot, s32 axis, s32 direction, const core::vector3df& spin)
{
	f32 a = 0.0f;
	const f32 d = (f32)direction;
	do
	{
		turnPivot->setRotation(onAxis(axis, a * d));
		rotateCube(spin);
		paceFrame();
		drawFrame(cube);
		a += cube->turnStep;
	} while (axis == 2 ? a <= 90.0f : a < 90.0f);
}

void turnAngles(CSubcubeSceneNode* node, s32 axis, s32 direction)
{
	const s32 turn = direction * 90;
	node->AngleX = (node->AngleX + (axis == 0 ? turn : 0)) % 360;
	node->AngleY = (node->AngleY + (axis == 1 ? turn : 0)) % 360;
	node->AngleZ = (node->AngleZ + (axis == 2 ? turn : 0)) % 360;
	node->Orientation.turn(axis, direction);
}

// Gives a turned sub-cube back to cubePivot with its transform composed with the pivot's, and
// returns the cell its new position rounds to, or -1 outside the grid.
s32 settle(scene::ISceneNode* turnPivot, CSubcubeSceneNode* node)
{
	const core::matrix4 m = turnPivot->getRelativeTransformation() * node->getRelativeTransformation();
	const core::vector3d<s32> g = gridCoordinates(m.getTranslation());
	node->setParent(cube->cubePivot);
	node->setPosition(m.getTranslation());
	node->setRotation(m.getRotationDegrees());
	return insideGrid(g) ? cellIndex(g.X, g.Y, g.Z) : -1;
}

// The cell a quarter-turn count takes a cell to, turning about the axis through the centre cell
// exactly as a sub-cube's orientation turns.
s32 turnedCell(s32 cell, s32 axis, s32 direction)
{
	SOrientation quarterTurn;
	quarterTurn.turn(axis, direction);
	const core::vector3d<s32> fromCentre(cell / 9 - 1, cell / 3 % 3 - 1, cell % 3 - 1);
	const core::vector3d<s32> g = quarterTurn.apply(fromCentre) + core::vector3d<s32>(1, 1, 1);
	return cellIndex(g.X, g.Y, g.Z);
}

// True when the targets are the layer's nine cells, each once.
bool coversLayer(const s32 targets[9], const s32 cells[9])
{
	for (s32 i = 0; i < 9; ++i)
	{
		s32 hits = 0;
		for (s32 j = 0; j < 9; ++j)
			hits += targets[j] == cells[i];
		if (hits != 1)
			return false;
	}
	return true;
}
}

core::vector3d<s32> gridCoordinates(const core::vector3df& position)
{
	const f32 s = cube->spacing();
	const f32 components[3] = {position.X, position.Y, position.Z};
	s32 g[3];
	for (s32 i = 0; i < 3; ++i)
	{
		const f32 q = components[i] / s;
		const f32 r = q > 0.00001f ? q + 0.5f : q - 0.5f;
		g[i] = (s32)r + 1;
	}
	return core::vector3d<s32>(g[0], g[1], g[2]);
}

void layerCells(s32 layer, s32 axis, s32 cells[9])
{
	for (s32 outer = 0; outer < 3; ++outer)
		for (s32 inner = 0; inner < 3; ++inner)
		{
			s32& cell = cells[3 * outer + inner];
			if (axis == 0)
				cell = cellIndex(layer, outer, inner);
			else if (axis == 1)
				cell = cellIndex(outer, layer, inner);
			else
				cell = cellIndex(outer, inner, layer);
		}
}

void turnLayer(s32 layer, s32 axis, s32 direction, core::vector3df spin)
{
	if (axis < 0 || axis > 2 || layer < 0 || layer > 2)
		return;
	s32 cells[9];
	layerCells(layer, axis, cells);

	scene::ISceneNode* turnPivot = cube->sceneManager->addEmptySceneNode(0, -1);
	turnPivot->setParent(cube->cubePivot);
	for (s32 i = 0; i < 9; ++i)
		cube->subcubes[cube->grid[cells[i]]]->setParent(turnPivot);

	animate(turnPivot, axis, direction, spin);
	turnPivot->setRotation(onAxis(axis, (f32)(direction * 90)));

	// Every id is read before any cell is written, so the writes form a permutation of the layer.
	s32 ids[9];
	for (s32 i = 0; i < 9; ++i)
	{
		CSubcubeSceneNode* node = cube->subcubes[cube->grid[cells[i]]];
		ids[i] = node->getID();
		turnAngles(node, axis, direction);
	}
	s32 targets[9];
	for (s32 i = 0; i < 9; ++i)
		targets[i] = settle(turnPivot, cube->subcubes[ids[i]]);
	// A sub-cube knocked off the lattice would round elsewhere and leave a duplicate id behind.
	if (!coversLayer(targets, cells))
		for (s32 i = 0; i < 9; ++i)
			targets[i] = turnedCell(cells[i], axis, direction);
	for (s32 i = 0; i < 9; ++i)
		cube->grid[targets[i]] = ids[i];

	turnPivot->remove();
	cube->updateTransforms();
}
