// Layer turns against the model of play's quarter turns (cells, positions, rotations, angle
// triples), the animation frame by frame, the scramble's spin, and the map from positions to cells.
#include "CPlayModel.h"
#include "CSubcubeSceneNode.h"
#include "CubeModel.h"
#include "FrameCounterNode.h"
#include "LayerTurn.h"
#include "NullDeviceTest.h"
#include "Scramble.h"
#include <algorithm>
#include <cmath>
#include <vector>

using namespace irr;

namespace
{
typedef core::vector3d<s32> V3i;
const core::vector3df NoSpin(0, 0, 0);

// A clock for the turn pace: time passes only by the turn's own waits, or by a fixed step at each
// reading (a machine slower than the pace).
u32 fakeNow = 0, readingStep = 0, waits = 0;

// The game's cube against the model's: every sub-cube in its cell, exactly on its lattice point
// (the cell spacing apart), turned as the model says (also in the orientation the solved test
// reads), with the model's angle triple.
core::vector3df latticePoint(const CPlayModel& model, s32 id)
{
	s32 g[3];
	CPlayModel::coords(model.cellOf[id], g);
	return core::vector3df(g[0] - 1.0f, g[1] - 1.0f, g[2] - 1.0f) * (f32)CubeMeasures::CellSpacing;
}

bool gridMatches(const CPlayModel& model)
{
	return std::equal(model.grid, model.grid + 27, cube->grid);
}

bool subcubeMatches(const CPlayModel& model, s32 id)
{
	const CSubcubeSceneNode* node = cube->subcubes[id];
	bool same = node->getPosition().equals(latticePoint(model, id), 0.001f);
	same &= V3i(node->AngleX, node->AngleY, node->AngleZ) == V3i(model.angle[id][0], model.angle[id][1], model.angle[id][2]);
	core::matrix4 rotation;
	rotation.setRotationDegrees(node->getRotation());
	for (s32 i = 0; i < 3; ++i)
	{
		core::vector3df v(i == 0, i == 1, i == 2);
		rotation.rotateVect(v);
		const V3i a(model.ori[id][i], model.ori[id][3 + i], model.ori[id][6 + i]); // the image of axis i
		same &= v.equals(core::vector3df((f32)a.X, (f32)a.Y, (f32)a.Z), 0.01f);
		same &= node->Orientation.apply(V3i(i == 0, i == 1, i == 2)) == a;
	}
	return same;
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

	bool gridIsIdentity() const { return gridMatches(CPlayModel()); }

	u32 framesOf(s32 layer, s32 axis, s32 direction)
	{
		const u32 before = counter->frames;
		turnLayer(layer, axis, direction, NoSpin);
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
		turnClock = [] { return fakeNow += readingStep; };
		turnSleep = [](u32 milliseconds) { fakeNow += milliseconds, ++waits; };
	}

	FrameCounterNode* counter = nullptr;
};
}

TEST_F(LayerTurn, EveryTurnShowsTwoDegreesAFrameThenPutsItsLayerWhereTheEnginesQuarterTurnsDo)
{
	// Four quarter turns of each layer one way, four the other way, a half turn and none at all:
	// axes mix and angles wrap both ways.
	const s32 directions[10] = {1, 1, 1, 1, -1, -1, -1, -1, 2, 0};
	const u32 nodes = nodeCount(sceneManager->getRootSceneNode());
	CPlayModel model;
	for (s32 axis = 0; axis < 3; ++axis)
		for (s32 layer = 0; layer < 3; ++layer)
			for (s32 step = 0; step < 10; ++step)
			{
				const s32 direction = directions[step], id = cube->grid[layer * (axis == 0 ? 9 : axis == 1 ? 3 : 1)];
				// The layer hangs under the turn's pivot: its angle is what each frame shows. That pivot hangs
				// under the cube's, so a layer turning on a turned cube stays where the cube shows it.
				std::vector<f32> shown;
				bool onTheCube = true;
				counter->onFrame = [&] {
					const scene::ISceneNode* pivot = cube->subcubes[id]->getParent();
					const core::vector3df r = pivot->getRotation();
					shown.push_back(axis == 0 ? r.X : axis == 1 ? r.Y : r.Z);
					onTheCube &= pivot->getParent() == cube->cubePivot;
				};
				// Once per layer, one of its sub-cubes is pushed far off its cell first and put back after.
				if (step == 4)
					cube->subcubes[id]->setPosition(latticePoint(model, id) + core::vector3df(-9.4f, 40, 9.4f));
				turnLayer(layer, axis, direction, NoSpin);
				model.turn(layer, axis, direction, 0);
				if (step == 4)
					cube->subcubes[id]->setPosition(latticePoint(model, id));
				bool frames = shown.size() == (axis == 2 ? 46u : 45u) && onTheCube, subcubes = true;
				for (size_t i = 0; i < shown.size(); ++i)
					frames &= fabsf(shown[i] - 2.0f * i * direction) < 0.001f;
				for (s32 i = 0; i < 27; ++i)
					subcubes &= subcubeMatches(model, i);
				ASSERT_TRUE(frames && gridMatches(model) && subcubes) << "layer " << layer << " axis " << axis << " step "
					<< step << ": frames " << frames << " grid " << gridMatches(model) << " sub-cubes " << subcubes;
			}
	counter->onFrame = nullptr;
	EXPECT_EQ(nodeCount(sceneManager->getRootSceneNode()), nodes);
	EXPECT_EQ(cube->cubePivot->getChildren().size(), 27u);
}

TEST_F(LayerTurn, AnglesOffTheTurnAxisAreKeptAsRemaindersToo)
{
	CSubcubeSceneNode* node = cube->subcubes[0];
	node->AngleY = 450;
	node->AngleZ = -450;
	turnLayer(0, 0, 1, NoSpin);
	EXPECT_EQ(V3i(node->AngleX, node->AngleY, node->AngleZ), V3i(90, 90, -90));
}

TEST_F(LayerTurn, OnlyTheScrambleSpinsTheCubeAHundredthOfADegreeAboutEachAxisPerFrame)
{
	std::vector<core::vector3df> spins;
	counter->onFrame = [&] { spins.push_back(cube->rootPivot->getRotation()); };
	auto everyFrameSpins = [&](const core::vector3df& spin) {
		bool all = true;
		for (const core::vector3df& shown : spins)
			all &= shown.equals(spin, 1e-6f);
		return all;
	};
	const core::vector3df front(0, 0, -1);
	leftDrag(faceCentre(0, 2, 0, front), faceCentre(1, 2, 0, front)); // the player turns the top layer
	EXPECT_EQ(spins.size(), 45u);
	EXPECT_TRUE(everyFrameSpins(core::vector3df(0, 0, 0)));
	spins.clear();
	scrambleCube();
	EXPECT_TRUE(spins.size() >= 225u && spins.size() <= 230u) << spins.size();
	EXPECT_TRUE(everyFrameSpins(core::vector3df(0.01f, 0.01f, 0.01f)));
}

TEST_F(LayerTurn, GridCoordinatesRoundHalvesAwayFromZeroWithoutClamping)
{
	EXPECT_EQ(gridCoordinates(core::vector3df(-9.4f, 0, 9.4f)), V3i(0, 1, 2));
	EXPECT_EQ(gridCoordinates(core::vector3df(5, -5, 20)), V3i(2, 0, 3));
	EXPECT_EQ(gridCoordinates(core::vector3df(3, -3, 0)), V3i(1, 1, 1));
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

TEST_F(LayerTurn, APickRightAfterATurnSeesTheTurnedCube)
{
	// No frame is drawn between the turn and the pick.
	const core::position2d<s32> frontOfCorner = faceCentre(0, 2, 0, core::vector3df(0, 0, -1));
	turnLayer(2, 1, 1, NoSpin);
	const s32 nowThere = cube->grid[6]; // cell (0, 2, 0), where the quarter turn brings (2, 2, 0)
	EXPECT_EQ(nowThere, 24);
	EXPECT_EQ(collisionManager->getSceneNodeFromScreenCoordinatesBB(frontOfCorner, 0, true), cube->subcubes[nowThere]);
}

TEST_F(LayerTurn, TurnFramesAreShownEightMillisecondsApartButASlowMachineNeverWaits)
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

	paceOnFakeClock(9);
	EXPECT_EQ(framesOf(1, 1, 1), 45u);
	EXPECT_EQ(waits, 0u);
}
