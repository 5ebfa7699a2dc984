// The layer turn: hang the layer's nine sub-cubes under a temporary pivot, animate the pivot,
// then write back cells, angles and transforms. The pivot is removed afterwards so that turns do
// not pile up empty nodes. Cells outside the grid are never read or written.
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
// writes its id into the cell its new position rounds to.
void settle(scene::ISceneNode* turnPivot, CSubcubeSceneNode* node, s32 id)
{
	const core::matrix4 m = turnPivot->getRelativeTransformation() * node->getRelativeTransformation();
	const core::vector3d<s32> g = gridCoordinates(m.getTranslation());
	if (insideGrid(g))
		cube->grid[cellIndex(g.X, g.Y, g.Z)] = id;
	node->setParent(cube->cubePivot);
	node->setPosition(m.getTranslation());
	node->setRotation(m.getRotationDegrees());
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
	for (s32 i = 0; i < 9; ++i)
		settle(turnPivot, cube->subcubes[ids[i]], ids[i]);

	turnPivot->remove();
	cube->updateTransforms();
}
