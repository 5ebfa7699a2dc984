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

TEST(DragDecision, EveryRowAndBranchTurnsAsTheTableSaysOnFacesOfBothSides)
{
	struct Case
	{
		core::vector3d<s32> a, b, c;
		const char* expected;
	};
	const Case cases[] = {
		// X row, C keeps A's y: top and bottom faces dragged along z.
		{cell(0, 2, 1), cell(0, 1, 1), cell(0, 2, 2), "0 0 1"},
		{cell(2, 0, 1), cell(2, 1, 1), cell(2, 0, 0), "0 2 1"},
		// X row, C keeps A's z: front and back faces dragged along y.
		{cell(0, 2, 0), cell(0, 2, 1), cell(0, 1, 0), "0 0 -1"},
		{cell(1, 1, 2), cell(1, 1, 1), cell(1, 2, 2), "0 1 -1"},
		{cell(0, 1, 0), cell(0, 1, 1), cell(0, 2, 0), "0 0 1"},
		// Y row, C keeps A's z: front and back faces dragged along x.
		{cell(0, 2, 0), cell(0, 2, 1), cell(1, 2, 0), "1 2 -1"},
		{cell(1, 2, 0), cell(1, 2, 1), cell(0, 2, 0), "1 2 1"},
		{cell(1, 0, 2), cell(1, 0, 1), cell(2, 0, 2), "1 0 1"},
		// Y row, C keeps A's x: left and right faces dragged along z.
		{cell(0, 1, 1), cell(1, 1, 1), cell(0, 1, 2), "1 1 1"},
		{cell(2, 2, 0), cell(1, 2, 0), cell(2, 2, 1), "1 2 -1"},
		// Z row, C keeps A's y: the ordinary drag along the top face, and the bottom face.
		{cell(0, 2, 0), cell(0, 1, 0), cell(1, 2, 0), "2 0 -1"},
		{cell(1, 0, 2), cell(1, 1, 2), cell(0, 0, 2), "2 2 -1"},
		// Z row, C keeps A's x: left and right faces dragged along y.
		{cell(0, 1, 0), cell(1, 1, 0), cell(0, 2, 0), "2 0 -1"},
		{cell(2, 1, 1), cell(1, 1, 1), cell(2, 0, 1), "2 1 -1"},
	};
	for (const Case& k : cases)
		EXPECT_EQ(decide(k.a, k.b, k.c), k.expected)
			<< "A (" << k.a.X << "," << k.a.Y << "," << k.a.Z << ") C (" << k.c.X << "," << k.c.Y << "," << k.c.Z << ")";
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
