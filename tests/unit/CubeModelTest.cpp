// The cube record after assembly: grid, ids, positions, parents, constants and picking selectors.
#include "CSubcubeSceneNode.h"
#include "CubeModel.h"
#include "NullDeviceTest.h"

using namespace irr;

namespace
{
class CubeAssembly : public NullDeviceTest
{
protected:
	void SetUp() override
	{
		NullDeviceTest::SetUp();
		buildCubeAndCamera();
	}
};

bool near(const core::vector3df& a, const core::vector3df& b) { return a.equals(b, 0.001f); }
}

TEST_F(CubeAssembly, StandsEverySubcubeAtItsCellUnderTwoUnturnedPivotsWithItsOwnSelectorInIdOrder)
{
	// Id 9(x + 1) + 3(y + 1) + (z + 1) stands at (9.4x, 9.4y, 9.4z), x, y and z from -1 to 1.
	ASSERT_EQ(cube->metaSelector->getSelectorCount(), 27u);
	for (s32 id = 0; id < 27; ++id)
	{
		const core::vector3df cell((f32)(id / 9 - 1), (f32)(id / 3 % 3 - 1), (f32)(id % 3 - 1));
		EXPECT_TRUE(near(cube->subcubes[id]->getPosition(), cell * 9.4f)) << "id " << id;
		EXPECT_TRUE(cube->subcubes[id]->getID() == id && cube->grid[id] == id) << "id " << id;
		EXPECT_EQ(cube->subcubes[id]->getParent(), cube->cubePivot) << "id " << id;
		EXPECT_EQ(cube->metaSelector->getSelector(id), cube->subcubes[id]->getTriangleSelector()) << "id " << id;
	}
	EXPECT_EQ(cube->cubePivot->getParent(), cube->rootPivot);
	EXPECT_EQ(cube->rootPivot->getParent(), sceneManager->getRootSceneNode());
	for (scene::ISceneNode* pivot : {cube->rootPivot, cube->cubePivot})
		EXPECT_TRUE(near(pivot->getPosition(), core::vector3df(0, 0, 0)) &&
			near(pivot->getRotation(), core::vector3df(0, 0, 0)) && pivot->getID() == -1);
}

TEST_F(CubeAssembly, KeepsItsConstantsWhateverTheGap)
{
	EXPECT_FLOAT_EQ(cube->turnStep, 2.0f);
	EXPECT_EQ(cube->subcubeSize, 9);
	EXPECT_FLOAT_EQ(cube->gap, 0.4f);
	EXPECT_FLOAT_EQ(cube->spacing(), 9.4f);
	EXPECT_EQ(cube->sceneManager, sceneManager);
	video::SMaterial materials[6];
	materials[5].Shininess = 5.0f;
	CubeModel other(materials, 1.5f);
	EXPECT_EQ(other.subcubeSize, 9);
	EXPECT_FLOAT_EQ(other.turnStep, 2.0f);
	EXPECT_FLOAT_EQ(other.spacing(), 10.5f);
	EXPECT_FLOAT_EQ(other.faceMaterials[5].Shininess, 5.0f);
	EXPECT_EQ(other.metaSelector, nullptr);
}

TEST_F(CubeAssembly, SelectorsFollowTheirNodesThroughMovesAndPivotTurns)
{
	// Sub-cube 0 moved off the lattice, then the whole cube turned a quarter about Y: its faces
	// must be found where it now stands, (40, 0, 0) turned to (0, 0, -40), and nowhere else.
	cube->subcubes[0]->setPosition(core::vector3df(40, 0, 0));
	cube->cubePivot->setRotation(core::vector3df(0, 90, 0));
	cube->updateTransforms();
	core::vector3df contact;
	core::triangle3df triangle;
	scene::ISceneNode* hit = nullptr;
	const core::line3df ray(core::vector3df(0, 0, -60), core::vector3df(0, 0, -40));
	ASSERT_TRUE(collisionManager->getCollisionPoint(ray, cube->metaSelector, contact, triangle, hit));
	EXPECT_TRUE(contact.equals(core::vector3df(0, 0, -44.5f), 0.01f));
	// Its own corner, turned to (-9.4, -9.4, 9.4), is empty now: a ray from behind meets nothing.
	const core::line3df old(core::vector3df(-9.4f, -9.4f, 30), core::vector3df(-9.4f, -9.4f, 9.4f));
	EXPECT_FALSE(collisionManager->getCollisionPoint(old, cube->metaSelector, contact, triangle, hit));
}
