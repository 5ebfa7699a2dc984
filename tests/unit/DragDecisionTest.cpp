// The drag decision: from the clicked cell A, the cell behind its face B and the cell dragged
// onto C to an axis, a layer and a direction.
#include "Picking.h"
#include <gtest/gtest.h>

using namespace irr;

namespace
{
core::vector3d<s32> cell(s32 x, s32 y, s32 z) { return core::vector3d<s32>(x, y, z); }

// "axis layer direction", or "none".
std::string decide(core::vector3d<s32> a, core::vector3d<s32> b, core::vector3d<s32> c)
{
	STurnChoice choice;
	if (!decideTurn(a, b, c, choice))
		return "none";
	return std::to_string(choice.axis) + " " + std::to_string(choice.layer) + " " + std::to_string(choice.direction);
}
}

TEST(DragDecision, DraggingAlongTheTopRowTurnsTheTopLayer)
{
	EXPECT_EQ(decide(cell(0, 2, 0), cell(0, 2, 1), cell(1, 2, 0)), "1 2 -1");
}

TEST(DragDecision, DraggingDownTheLeftColumnTurnsTheLeftLayer)
{
	EXPECT_EQ(decide(cell(0, 2, 0), cell(0, 2, 1), cell(0, 1, 0)), "0 0 -1");
}

TEST(DragDecision, ReversedDragsTurnTheOtherWay)
{
	EXPECT_EQ(decide(cell(1, 2, 0), cell(1, 2, 1), cell(0, 2, 0)), "1 2 1");
	EXPECT_EQ(decide(cell(0, 1, 0), cell(0, 1, 1), cell(0, 2, 0)), "0 0 1");
}

TEST(DragDecision, FacesOfEveryAxisChooseTheirOwnRow)
{
	// Top face (normal +Y) dragged towards the back: layer x=1 about X.
	EXPECT_EQ(decide(cell(1, 2, 0), cell(1, 1, 0), cell(1, 2, 1)), "0 1 1");
	// Left face (normal -X) dragged up: layer z=0 about Z.
	EXPECT_EQ(decide(cell(0, 1, 0), cell(1, 1, 0), cell(0, 2, 0)), "2 0 -1");
}

TEST(DragDecision, ADiagonalDragTurnsNothing)
{
	EXPECT_EQ(decide(cell(0, 2, 0), cell(0, 2, 1), cell(1, 1, 0)), "none");
}

TEST(DragDecision, AJumpOfTwoCellsTurnsTwice)
{
	EXPECT_EQ(decide(cell(0, 2, 0), cell(0, 2, 1), cell(2, 2, 0)), "1 2 -2");
}

TEST(DragDecision, AMiddleFactorGivesNoTurn)
{
	// Across the left edge from the front of (0,1,0) onto the left face of the cell behind it.
	EXPECT_EQ(decide(cell(0, 1, 0), cell(0, 1, 1), cell(0, 1, 1)), "0 0 0");
}

TEST(DragDecision, AMatchWithNeitherCoordinateKeptTurnsForward)
{
	// Row X matches, but C keeps neither A's y nor A's z.
	EXPECT_EQ(decide(cell(0, 2, 0), cell(0, 2, 1), cell(0, 1, 1)), "0 0 1");
}
