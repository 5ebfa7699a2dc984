// The solved test, the win check and the scramble's use of the random numbers.
#include "CSubcubeSceneNode.h"
#include "CubeModel.h"
#include "LayerTurn.h"
#include "NullDeviceTest.h"
#include "Scramble.h"
#include <cstdlib>

using namespace irr;

namespace
{
class Solved : public NullDeviceTest
{
protected:
	void SetUp() override
	{
		NullDeviceTest::SetUp();
		buildCubeAndCamera();
	}
	void turn(s32 layer, s32 axis, s32 direction) { turnLayer(layer, axis, direction, core::vector3df(0, 0, 0)); }
};
}

TEST_F(Solved, AFreshCubeIsSolved)
{
	EXPECT_TRUE(isCubeSolved());
}

TEST_F(Solved, EveryCellButTheHiddenCoreCounts)
{
	for (s32 cell = 0; cell < CellCount; ++cell)
	{
		SOrientation& orientation = cube->subcubes[cube->grid[cell]]->Orientation;
		orientation.turn(0, 1);
		EXPECT_EQ(isCubeSolved(), cell == cellIndex(1, 1, 1)) << "cell " << cell;
		orientation.turn(0, -1);
	}
}

TEST_F(Solved, AnySingleQuarterTurnUnsolvesAndItsReverseSolves)
{
	for (s32 axis = 0; axis < 3; ++axis)
		for (s32 layer = 0; layer < 3; ++layer)
			for (s32 direction : {1, -1})
			{
				turn(layer, axis, direction);
				EXPECT_FALSE(isCubeSolved()) << axis << layer << direction;
				turn(layer, axis, -direction);
				EXPECT_TRUE(isCubeSolved()) << axis << layer << direction;
			}
}

TEST_F(Solved, ThreeMoreTurnsTheSameWaySolve)
{
	turn(0, 1, 1);
	turn(0, 1, 1);
	turn(0, 1, 1);
	EXPECT_FALSE(isCubeSolved());
	turn(0, 1, 1);
	EXPECT_TRUE(isCubeSolved());
}

TEST_F(Solved, TurningAWholeAxisIsSolved)
{
	for (s32 axis = 0; axis < 3; ++axis)
	{
		for (s32 layer = 0; layer < 3; ++layer)
			turn(layer, axis, 1);
		EXPECT_TRUE(isCubeSolved()) << axis;
	}
}

TEST_F(Solved, AWholeTurnMadeOfMixedLayerTurnsIsSolved)
{
	// Layer z=2 three times back and the others once forward: the whole cube has turned a
	// quarter about Z, although the stored angles read -270 and 90.
	turn(2, 2, -1);
	turn(2, 2, -1);
	turn(2, 2, -1);
	turn(0, 2, 1);
	turn(1, 2, 1);
	EXPECT_EQ(cube->subcubes[cube->grid[cellIndex(0, 0, 2)]]->AngleZ, -270);
	EXPECT_EQ(cube->subcubes[cube->grid[cellIndex(0, 0, 0)]]->AngleZ, 90);
	EXPECT_TRUE(isCubeSolved());
}

TEST_F(Solved, TheWinIsReportedOnceAndEndsTheGame)
{
	gameRunning = true;
	testing::internal::CaptureStdout();
	checkWin();
	checkWin();
	const std::string printed = testing::internal::GetCapturedStdout();
	EXPECT_EQ(printed, "congratulations,you win!\n");
	EXPECT_TRUE(statusText == L"congratulations, you win, press play to restart!\n");
	EXPECT_FALSE(gameRunning);
}

TEST_F(Solved, NoWinIsReportedWhileNoGameRuns)
{
	testing::internal::CaptureStdout();
	checkWin();
	EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
	EXPECT_TRUE(statusText == L"press F1 for help");
}

TEST_F(Solved, AnUnsolvedCubeIsNoWin)
{
	gameRunning = true;
	turn(1, 1, 1);
	testing::internal::CaptureStdout();
	checkWin();
	EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
	EXPECT_TRUE(gameRunning);
}

TEST_F(Solved, TheScrambleDrawsAxisThenLayerThenDirection)
{
	const unsigned seed = 12345;
	srand(seed);
	scrambleCube();
	EXPECT_NE(cube->cubePivot->getRotation(), core::vector3df(0, 0, 0)); // it tumbled while mixed

	// Undo the five turns in reverse, from the same random numbers read in that order.
	srand(seed);
	s32 turns[5][3];
	for (auto& t : turns)
	{
		t[0] = rand() % 3;
		t[1] = rand() % 3;
		t[2] = (rand() % 2) ? 1 : -1;
	}
	for (s32 i = 4; i >= 0; --i)
		turn(turns[i][1], turns[i][0], -turns[i][2]);
	bool identity = true;
	for (s32 c = 0; c < CellCount; ++c)
		identity &= cube->grid[c] == c && cube->subcubes[c]->Orientation == SOrientation();
	EXPECT_TRUE(identity);
}
