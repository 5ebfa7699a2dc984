// Press picking, drag step and turn decision; see Picking.h. Every pick tests a node's type before
// using it: bounding-box picks also return the camera and the lights.
#include "Picking.h"
#include "LayerTurn.h"
#include "Scramble.h"
#include "app/AppState.h"
#include "cube/CSubcubeSceneNode.h"
#include "cube/CubeModel.h"

using namespace irr;

namespace
{
scene::ISceneNode* nodeAt(s32 x, s32 y)
{
	return collisionManager->getSceneNodeFromScreenCoordinatesBB(core::position2d<s32>(x, y), 0, true);
}

// The sub-cube one cell deeper than the clicked face at (x, y), or 0 when the ray hits no face.
scene::ISceneNode* nodeBehindFace(s32 x, s32 y)
{
	const core::line3df ray = collisionManager->getRayFromScreenCoordinates(core::position2d<s32>(x, y), camera);
	core::vector3df contact;
	core::triangle3df triangle;
	scene::ISceneNode* hit = 0;
	if (!collisionManager->getCollisionPoint(ray, cube->metaSelector, contact, triangle, hit))
		return 0;
	// The mesh is wound so that this normal points out of the clicked face.
	const core::vector3df normal = triangle.getNormal().normalize();
	core::line3df probe;
	probe.start = contact - normal * probeOffset;
	probe.end = probe.start - normal * probeLength;
	return collisionManager->getSceneNodeFromRayBB(probe, 0, false);
}

// Direction of a turn about one axis, from the drag along the two other axes (p, q: the axis
// coordinates in the table's order) and the clicked face's side.
s32 direction(s32 aP, s32 aQ, s32 cP, s32 cQ, s32 sign)
{
	if (cP == aP)
		return sign * (cQ - aQ) * (cP - 1);
	if (cQ == aQ)
		return -sign * (cP - aP) * (cQ - 1);
	return 1;
}
}

bool decideTurn(const core::vector3d<s32>& a, const core::vector3d<s32>& b,
	const core::vector3d<s32>& c, STurnChoice& choice)
{
	if (a.X == b.X && b.X == c.X)
	{
		choice.axis = 0;
		choice.layer = a.X;
		choice.direction = direction(a.Y, a.Z, c.Y, c.Z, 1);
	}
	else if (a.Y == b.Y && b.Y == c.Y)
	{
		choice.axis = 1;
		choice.layer = a.Y;
		choice.direction = direction(a.Z, a.X, c.Z, c.X, 1);
	}
	else if (a.Z == b.Z && b.Z == c.Z)
	{
		choice.axis = 2;
		choice.layer = a.Z;
		choice.direction = direction(a.Y, a.X, c.Y, c.X, -1);
	}
	else
		return false;
	return true;
}

bool pickAtPress(s32 x, s32 y)
{
	if (asSubcube(selectedNode))
		CSubcubeSceneNode::unhighlightSelected();
	selectedNode = nodeAt(x, y);
	if (!asSubcube(selectedNode))
		return false;
	CSubcubeSceneNode::highlightSelected();
	innerNode = nodeBehindFace(x, y);
	return asSubcube(innerNode) != 0;
}

bool dragStep(s32 x, s32 y)
{
	dragNode = nodeAt(x, y);
	if (dragNode == selectedNode || !asSubcube(dragNode))
		return true;

	const core::vector3d<s32> a = gridCoordinates(selectedNode->getPosition());
	const core::vector3d<s32> b = gridCoordinates(innerNode->getPosition());
	const core::vector3d<s32> c = gridCoordinates(dragNode->getPosition());
	STurnChoice choice;
	if (decideTurn(a, b, c, choice))
		turnLayer(choice.layer, choice.axis, choice.direction, core::vector3df(0, 0, 0));
	checkWin();
	return false;
}
