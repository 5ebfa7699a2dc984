// Layer turns on the grid, the turn angles, the exact orientations and the scene graph, and the
// map from positions to cells.
#include "CSubcubeSceneNode.h"
#include "CubeModel.h"
#include "FrameCounterNode.h"
#include "LayerTurn.h"
#include "NullDeviceTest.h"
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <vector>

using namespace irr;

namespace
{
// A clock for the turn pace: time passes only by the turn's own waits, or by a fixed step at each
// reading (a machine slower than the pace).
u32 fakeNow = 0;
u32 readingStep = 0;
u32 waits = 0;
u32 fakeClock() { return fakeNow += readingStep; }
void fakeSleep(u32 milliseconds)
{
	fakeNow += milliseconds;
	++waits;
}

class LayerTurn : public NullDeviceTest
{
protected:
	void SetUp() override
	{
		NullDeviceTest::SetUp();
		buildCubeAndCamera();
		counter = FrameCounterNode::addTo(sceneManager);
	}

	bool gridIsIdentity() const
	{
		bool identity = true;
		for (s32 c = 0; c < CellCount; ++c)
			identity &= cube->grid[c] == c;
		return identity;
	}

	u32 framesOf(s32 layer, s32 axis, s32 direction)
	{
		const u32 before = counter->frames;
		turnLayer(layer, axis, direction, core::vector3df(0, 0, 0));
		return counter->frames - before;
	}

	u32 nodeCount(scene::ISceneNode* node) const
	{
		u32 n = 1;
		for (auto it = node->getChildren().begin(); it != node->getChildren().end(); ++it)
			n += nodeCount(*it);
		return n;
	}

	// Paces turns at 8 ms on the fake clock, starting at 1000 ms.
	void paceOnFakeClock(u32 stepPerReading)
	{
		fakeNow = 1000;
		readingStep = stepPerReading;
		waits = 0;
		turnFrameInterval = 8;
		turnClock = fakeClock;
		turnSleep = fakeSleep;
	}

	FrameCounterNode* counter = nullptr;
};

core::vector3d<s32> cell(s32 x, s32 y, s32 z) { return core::vector3d<s32>(x, y, z); }
}

TEST_F(LayerTurn, TurnsLayerZeroAboutXWithinItsNineCellsOnly)
{
	turnLayer(0, 0, 1, core::vector3df(0, 0, 0));
	bool inside = true, outside = true, angles = true;
	for (s32 c = 0; c < CellCount; ++c)
	{
		if (c < 9)
			inside &= cube->grid[c] >= 0 && cube->grid[c] < 9;
		else
			outside &= cube->grid[c] == c;
		const CSubcubeSceneNode* node = cube->subcubes[c];
		angles &= node->AngleX == (c < 9 ? 90 : 0) && node->AngleY == 0 && node->AngleZ == 0;
	}
	EXPECT_TRUE(inside);
	EXPECT_TRUE(outside);
	EXPECT_TRUE(angles);
	EXPECT_FALSE(gridIsIdentity());
}

TEST_F(LayerTurn, FourQuarterTurnsAboutEachAxisRestoreTheGridAndTheAngles)
{
	const s32 expected[4] = {90, 180, 270, 0};
	for (s32 axis = 0; axis < 3; ++axis)
	{
		CSubcubeSceneNode* corner = cube->subcubes[cellIndex(2, 2, 2)];
		for (s32 i = 0; i < 4; ++i)
		{
			turnLayer(2, axis, 1, core::vector3df(0, 0, 0));
			const s32 angles[3] = {corner->AngleX, corner->AngleY, corner->AngleZ};
			EXPECT_EQ(angles[axis], expected[i]) << "axis " << axis;
		}
		EXPECT_TRUE(gridIsIdentity());
		EXPECT_TRUE(corner->Orientation == SOrientation());
	}
}

TEST_F(LayerTurn, EveryFrameTurnsTheLayerFurtherInTheTurnsDirection)
{
	for (s32 direction : {1, -1})
		for (s32 axis = 0; axis < 3; ++axis)
		{
			// The turning sub-cubes hang under the turn's pivot: its angle is what the frame shows.
			CSubcubeSceneNode* corner = cube->subcubes[cellIndex(0, 0, 0)];
			std::vector<f32> angles;
			counter->onFrame = [&] {
				const core::vector3df r = corner->getParent()->getRotation();
				angles.push_back(axis == 0 ? r.X : axis == 1 ? r.Y : r.Z);
			};
			turnLayer(0, axis, direction, core::vector3df(0, 0, 0));
			bool stepped = true;
			for (size_t i = 0; i < angles.size(); ++i)
				stepped &= fabsf(angles[i] - direction * 2.0f * i) < 0.01f;
			EXPECT_TRUE(stepped) << "axis " << axis << " direction " << direction;
			turnLayer(0, axis, -direction, core::vector3df(0, 0, 0));
		}
	counter->onFrame = nullptr;
}

TEST_F(LayerTurn, ANegativeTurnFromZeroReadsMinusNinety)
{
	turnLayer(1, 2, -1, core::vector3df(0, 0, 0));
	const s32 moved = cube->grid[cellIndex(0, 0, 1)];
	EXPECT_EQ(cube->subcubes[moved]->AngleZ, -90);
	turnLayer(1, 2, 1, core::vector3df(0, 0, 0));
	EXPECT_EQ(cube->subcubes[moved]->AngleZ, 0);
	EXPECT_TRUE(gridIsIdentity());
}

TEST_F(LayerTurn, DirectionTwoTurnsHalfWayAndAddsOneEighty)
{
	turnLayer(0, 0, 2, core::vector3df(0, 0, 0));
	EXPECT_EQ(cube->grid[cellIndex(0, 0, 0)], cellIndex(0, 2, 2));
	EXPECT_EQ(cube->grid[cellIndex(0, 2, 2)], cellIndex(0, 0, 0));
	EXPECT_EQ(cube->grid[cellIndex(0, 1, 1)], cellIndex(0, 1, 1));
	EXPECT_EQ(cube->subcubes[0]->AngleX, 180);
}

TEST_F(LayerTurn, DirectionZeroDrawsItsFramesAndChangesNothing)
{
	EXPECT_EQ(framesOf(1, 0, 0), 45u);
	EXPECT_TRUE(gridIsIdentity());
	bool unturned = true;
	for (s32 i = 0; i < CellCount; ++i)
		unturned &= cube->subcubes[i]->AngleX == 0 && cube->subcubes[i]->Orientation == SOrientation();
	EXPECT_TRUE(unturned);
}

TEST_F(LayerTurn, DrawsFortyFiveFramesAboutXAndYAndFortySixAboutZ)
{
	EXPECT_EQ(framesOf(0, 0, 1), 45u);
	EXPECT_EQ(framesOf(0, 1, 1), 45u);
	EXPECT_EQ(framesOf(0, 2, 1), 46u);
}

TEST_F(LayerTurn, GridCoordinatesRoundHalvesAwayFromZeroWithoutClamping)
{
	EXPECT_EQ(gridCoordinates(core::vector3df(-9.4f, 0, 9.4f)), cell(0, 1, 2));
	EXPECT_EQ(gridCoordinates(core::vector3df(5, -5, 20)), cell(2, 0, 3));
	EXPECT_EQ(gridCoordinates(core::vector3df(3, -3, 0)), cell(1, 1, 1));
}

TEST_F(LayerTurn, ALayerOrAxisOutsideTheGridTurnsNothing)
{
	const u32 nodes = nodeCount(sceneManager->getRootSceneNode());
	EXPECT_EQ(framesOf(3, 0, 1), 0u);
	EXPECT_EQ(framesOf(-1, 1, 1), 0u);
	EXPECT_EQ(framesOf(0, 3, 1), 0u);
	EXPECT_TRUE(gridIsIdentity());
	EXPECT_EQ(nodeCount(sceneManager->getRootSceneNode()), nodes);
}

TEST_F(LayerTurn, LeavesNoNodeBehindAndEverySubcubeUnderTheCubePivot)
{
	const u32 nodes = nodeCount(sceneManager->getRootSceneNode());
	for (s32 i = 0; i < 6; ++i)
		turnLayer(i % 3, (i + 1) % 3, 1, core::vector3df(0, 0, 0));
	EXPECT_EQ(nodeCount(sceneManager->getRootSceneNode()), nodes);
	EXPECT_EQ(cube->cubePivot->getChildren().size(), 27u);
}

TEST_F(LayerTurn, ASubcubeOffTheLatticeStillMovesToItsTurnedCell)
{
	// What every layer, axis and direction gives on the lattice...
	s32 expected[3][3][4][CellCount];
	for (s32 layer = 0; layer < 3; ++layer)
		for (s32 axis = 0; axis < 3; ++axis)
			for (s32 direction = -1; direction <= 2; ++direction)
			{
				turnLayer(layer, axis, direction, core::vector3df(0, 0, 0));
				memcpy(expected[layer][axis][direction + 1], cube->grid, sizeof(cube->grid));
				turnLayer(layer, axis, -direction, core::vector3df(0, 0, 0));
			}
	ASSERT_TRUE(gridIsIdentity());
	// ...is what the turn gives with one of the layer's sub-cubes pushed far off its cell.
	bool same = true;
	for (s32 layer = 0; layer < 3; ++layer)
		for (s32 axis = 0; axis < 3; ++axis)
			for (s32 direction = -1; direction <= 2; ++direction)
			{
				s32 cells[9];
				layerCells(layer, axis, cells);
				CSubcubeSceneNode* pushed = cube->subcubes[cube->grid[cells[0]]];
				const core::vector3df home = pushed->getPosition();
				pushed->setPosition(home + core::vector3df(-9.4f, 40.0f, 9.4f));
				turnLayer(layer, axis, direction, core::vector3df(0, 0, 0));
				same &= memcmp(expected[layer][axis][direction + 1], cube->grid, sizeof(cube->grid)) == 0;
				turnLayer(layer, axis, -direction, core::vector3df(0, 0, 0));
				same &= pushed == cube->subcubes[cube->grid[cells[0]]];
				pushed->setPosition(home);
			}
	EXPECT_TRUE(same);
}

TEST_F(LayerTurn, OrientationsFollowTheNodesThroughRandomTurns)
{
	srand(7);
	for (s32 i = 0; i < 40; ++i)
		turnLayer(rand() % 3, rand() % 3, (rand() % 2) ? 1 : -1, core::vector3df(0, 0, 0));
	const f32 s = cube->spacing();
	for (s32 c = 0; c < CellCount; ++c)
	{
		const s32 id = cube->grid[c];
		const CSubcubeSceneNode* node = cube->subcubes[id];
		// The node's rotation equals its exact orientation, axis by axis.
		core::matrix4 rotation;
		rotation.setRotationDegrees(node->getRotation());
		bool sameRotation = true;
		for (s32 axis = 0; axis < 3; ++axis)
		{
			core::vector3df v(axis == 0, axis == 1, axis == 2);
			rotation.rotateVect(v);
			const core::vector3df exact((f32)node->Orientation.at(0, axis),
				(f32)node->Orientation.at(1, axis), (f32)node->Orientation.at(2, axis));
			sameRotation &= v.equals(exact, 0.01f);
		}
		EXPECT_TRUE(sameRotation) << "id " << id;
		// And it stands in the cell the grid says, where its orientation carries its start cell.
		const core::vector3d<s32> startCell(id / 9 - 1, id / 3 % 3 - 1, id % 3 - 1);
		const core::vector3d<s32> cells = node->Orientation.apply(startCell);
		const core::vector3df carried((f32)cells.X * s, (f32)cells.Y * s, (f32)cells.Z * s);
		EXPECT_TRUE(node->getPosition().equals(carried, 0.05f)) << "id " << id;
		EXPECT_EQ(gridCoordinates(node->getPosition()), cell(c / 9, c / 3 % 3, c % 3));
	}
}

TEST_F(LayerTurn, APickRightAfterATurnSeesTheTurnedCube)
{
	// No frame is drawn between the turn and the pick.
	const core::position2d<s32> frontOfCorner = faceCentre(0, 2, 0, core::vector3df(0, 0, -1));
	turnLayer(2, 1, 1, core::vector3df(0, 0, 0));
	const s32 nowThere = cube->grid[cellIndex(0, 2, 0)];
	EXPECT_NE(nowThere, cellIndex(0, 2, 0));
	EXPECT_EQ(collisionManager->getSceneNodeFromScreenCoordinatesBB(frontOfCorner, 0, true), cube->subcubes[nowThere]);
}

TEST_F(LayerTurn, OnAFastMachineTurnFramesAreShownEightMillisecondsApart)
{
	paceOnFakeClock(0);
	std::vector<u32> times;
	counter->onFrame = [&] { times.push_back(fakeNow); };
	EXPECT_EQ(framesOf(0, 0, 1), 45u);
	EXPECT_EQ(framesOf(2, 2, -1), 46u);
	// From the first frame of the first turn to the last of the second, every gap is 8 ms.
	ASSERT_EQ(times.size(), 91u);
	bool paced = true;
	for (size_t i = 1; i < times.size(); ++i)
		paced &= times[i] - times[i - 1] == 8;
	EXPECT_TRUE(paced);
}

TEST_F(LayerTurn, OnASlowMachineTurnsNeverWait)
{
	paceOnFakeClock(9);
	EXPECT_EQ(framesOf(1, 1, 1), 45u);
	EXPECT_EQ(waits, 0u);
}
