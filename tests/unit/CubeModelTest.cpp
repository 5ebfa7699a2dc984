// The cube record after assembly: grid, ids, positions, parents and picking selectors.
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

TEST_F(CubeAssembly, StartsWithTheIdentityGridAndIdsEqualToIndices)
{
	bool identity = true;
	for (s32 i = 0; i < CellCount; ++i)
		identity &= cube->grid[i] == i && cube->subcubes[i]->getID() == i;
	EXPECT_TRUE(identity);
}

TEST_F(CubeAssembly, StandsEachSubcubeAtItsCell)
{
	EXPECT_TRUE(near(cube->subcubes[0]->getPosition(), core::vector3df(-9.4f, -9.4f, -9.4f)));
	EXPECT_TRUE(near(cube->subcubes[1]->getPosition(), core::vector3df(-9.4f, -9.4f, 0)));
	EXPECT_TRUE(near(cube->subcubes[3]->getPosition(), core::vector3df(-9.4f, 0, -9.4f)));
	EXPECT_TRUE(near(cube->subcubes[9]->getPosition(), core::vector3df(0, -9.4f, -9.4f)));
	EXPECT_TRUE(near(cube->subcubes[13]->getPosition(), core::vector3df(0, 0, 0)));
	EXPECT_TRUE(near(cube->subcubes[26]->getPosition(), core::vector3df(9.4f, 9.4f, 9.4f)));
}

TEST_F(CubeAssembly, HangsTheSubcubesUnderTwoPivotsAtTheOrigin)
{
	bool underCubePivot = true;
	for (s32 i = 0; i < CellCount; ++i)
		underCubePivot &= cube->subcubes[i]->getParent() == cube->cubePivot;
	EXPECT_TRUE(underCubePivot);
	EXPECT_EQ(cube->cubePivot->getParent(), cube->rootPivot);
	EXPECT_EQ(cube->rootPivot->getParent(), sceneManager->getRootSceneNode());
	EXPECT_TRUE(near(cube->cubePivot->getAbsolutePosition(), core::vector3df(0, 0, 0)));
	EXPECT_TRUE(near(cube->rootPivot->getRotation(), core::vector3df(0, 0, 0)));
}

TEST_F(CubeAssembly, GathersEachSubcubesOwnSelectorInIdOrder)
{
	ASSERT_EQ(cube->metaSelector->getSelectorCount(), 27u);
	bool own = true;
	for (u32 i = 0; i < 27; ++i)
		own &= cube->metaSelector->getSelector(i) == cube->subcubes[i]->getTriangleSelector();
	EXPECT_TRUE(own);
}

TEST_F(CubeAssembly, KeepsItsConstantsWhateverTheGap)
{
	EXPECT_FLOAT_EQ(cube->turnStep, 2.0f);
	EXPECT_EQ(cube->subcubeSize, 9);
	EXPECT_FLOAT_EQ(cube->spacing(), 9.4f);
	video::SMaterial materials[6];
	CubeModel other(materials, 1.5f);
	EXPECT_EQ(other.subcubeSize, 9);
	EXPECT_FLOAT_EQ(other.turnStep, 2.0f);
	EXPECT_FLOAT_EQ(other.spacing(), 10.5f);
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
