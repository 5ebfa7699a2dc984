// The cube record and its assembly; see CubeModel.h.
#include "CubeModel.h"
#include "CSubcubeSceneNode.h"
#include "app/AppState.h"
#include <cstdlib>
#include <ctime>

using namespace irr;

CubeModel::CubeModel(const video::SMaterial* materials, f32 gap)
	: cubePivot(0), rootPivot(0), sceneManager(::sceneManager), metaSelector(0),
	  turnStep(2.0f), subcubeSize(9), gap(gap)
{
	for (s32 i = 0; i < CellCount; ++i)
	{
		subcubes[i] = 0;
		grid[i] = i;
	}
	for (u32 k = 0; k < 6; ++k)
		faceMaterials[k] = materials[k];
}

CubeModel::~CubeModel()
{
	if (metaSelector)
		metaSelector->drop();
}

void CubeModel::buildCube()
{
	srand((unsigned)time(0));

	rootPivot = sceneManager->addEmptySceneNode(0, -1);
	rootPivot->setPosition(core::vector3df(0, 0, 0));
	cubePivot = sceneManager->addEmptySceneNode(0, -1);
	cubePivot->setParent(rootPivot);

	metaSelector = sceneManager->createMetaTriangleSelector();

	s32 id = 0;
	for (s32 x = -1; x <= 1; ++x)
		for (s32 y = -1; y <= 1; ++y)
			for (s32 z = -1; z <= 1; ++z)
				addSubcube(id++, x, y, z);
}

void CubeModel::addSubcube(s32 id, s32 x, s32 y, s32 z)
{
	grid[id] = id;
	CSubcubeSceneNode* node = new CSubcubeSceneNode((f32)subcubeSize, faceMaterials, cubePivot,
		sceneManager, id, core::vector3df(0, 0, 0), core::vector3df(0, 0, 0),
		core::vector3df(1, 1, 1));
	node->drop(); // cubePivot holds the node
	subcubes[id] = node;

	const f32 s = spacing();
	node->setPosition(core::vector3df(s * x, s * y, s * z));

	scene::ITriangleSelector* selector =
		sceneManager->createOctreeTriangleSelector(node->getMesh(), node, 128);
	node->setTriangleSelector(selector);
	metaSelector->addTriangleSelector(selector);
	selector->drop(); // the node and the meta selector hold it
}

namespace
{
void updateSubtree(scene::ISceneNode* node)
{
	node->updateAbsolutePosition();
	const core::list<scene::ISceneNode*>& children = node->getChildren();
	for (core::list<scene::ISceneNode*>::ConstIterator it = children.begin(); it != children.end(); ++it)
		updateSubtree(*it);
}
}

void CubeModel::updateTransforms()
{
	if (rootPivot)
		updateSubtree(rootPivot);
}
