// The cube record: the 27 sub-cubes by id, the grid map from cells to sub-cube ids, the two pivots
// that carry the whole-cube rotation, the meta triangle selector used for picking, and the layout
// constants. Invariants after buildCube: subcubes[i]->getID() == i, grid is a permutation of
// 0..26, and outside a layer turn every sub-cube is a child of cubePivot. The scene graph owns the
// pivots and sub-cubes; the record owns metaSelector (dropped with the record).
#ifndef ZARNEL_CUBE_MODEL_H
#define ZARNEL_CUBE_MODEL_H

#include <irrlicht.h>

class CSubcubeSceneNode;

//! Number of sub-cubes and of grid cells.
const irr::s32 CellCount = 27;

//! The cell index of grid coordinates, each 0..2.
inline irr::s32 cellIndex(irr::s32 gx, irr::s32 gy, irr::s32 gz) { return 9 * gx + 3 * gy + gz; }

class CubeModel
{
public:
	//! Copies the six face materials; the sub-cubes, grid and pivots come from buildCube.
	CubeModel(const irr::video::SMaterial* materials, irr::f32 gap);
	~CubeModel();
	// The record owns metaSelector: a copy would drop it twice.
	CubeModel(const CubeModel&) = delete;
	CubeModel& operator=(const CubeModel&) = delete;

	//! Seeds rand and stands the 27 sub-cubes as a 3x3x3 block under the two pivots.
	void buildCube();

	//! Makes the absolute transformations of the pivots and sub-cubes current, so that picking
	//! sees what the next frame will show (the engine updates them lazily, at drawAll).
	void updateTransforms();

	//! Distance between neighbouring cell centres: subcubeSize + gap.
	irr::f32 spacing() const { return (irr::f32)subcubeSize + gap; }

	CSubcubeSceneNode* subcubes[CellCount];
	irr::s32 grid[CellCount];
	irr::scene::ISceneNode* cubePivot;
	irr::scene::ISceneNode* rootPivot;
	irr::scene::ISceneManager* sceneManager;
	irr::scene::IMetaTriangleSelector* metaSelector;
	irr::f32 turnStep;
	irr::video::SMaterial faceMaterials[6];
	irr::s32 subcubeSize;
	irr::f32 gap;

private:
	void addSubcube(irr::s32 id, irr::s32 x, irr::s32 y, irr::s32 z);
};

#endif
