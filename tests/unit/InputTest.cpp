// The drag-to-turn gesture end to end in process: a real scene on the null driver, events posted
// through the device at the projected centres of faces, and the invariants under event storms.
#include "CSubcubeSceneNode.h"
#include "CubeModel.h"
#include "CubeRotation.h"
#include "LayerTurn.h"
#include "NullDeviceTest.h"
#include <random>

using namespace irr;

namespace
{
const core::vector3df Front(0, 0, -1);
const core::vector3df Top(0, 1, 0);

class Input : public NullDeviceTest
{
protected:
	void SetUp() override
	{
		NullDeviceTest::SetUp();
		buildGame();
	}

	bool solvedAndHome() const
	{
		bool home = true;
		for (s32 c = 0; c < CellCount; ++c)
			home &= cube->grid[c] == c && cube->subcubes[c]->Orientation == SOrientation();
		return home;
	}

	// The invariants every interaction keeps.
	void expectInvariants() const
	{
		bool seen[CellCount] = {};
		bool permutation = true, underPivot = true, inCell = true;
		for (s32 c = 0; c < CellCount; ++c)
		{
			const s32 id = cube->grid[c];
			permutation &= id >= 0 && id < CellCount && !seen[id];
			if (id >= 0 && id < CellCount)
				seen[id] = true;
			underPivot &= cube->subcubes[c]->getParent() == cube->cubePivot;
			const core::vector3d<s32> g = gridCoordinates(cube->subcubes[id]->getPosition());
			inCell &= cellIndex(g.X, g.Y, g.Z) == c;
		}
		EXPECT_TRUE(permutation);
		EXPECT_TRUE(underPivot);
		EXPECT_TRUE(inCell);
		EXPECT_EQ(cube->metaSelector->getSelectorCount(), 27u);
		EXPECT_EQ(cube->cubePivot->getChildren().size(), 27u);
	}
};
}

TEST_F(Input, DraggingAlongTheTopRowTurnsTheTopLayerBack)
{
	leftDrag(faceCentre(0, 2, 0, Front), faceCentre(1, 2, 0, Front));
	EXPECT_FALSE(solvedAndHome());
	// The turn was layer y=2 about Y by -1: its reverse restores the cube.
	turnLayer(2, 1, 1, core::vector3df(0, 0, 0));
	EXPECT_TRUE(solvedAndHome());
}

TEST_F(Input, DraggingDownTheLeftColumnTurnsTheLeftLayer)
{
	leftDrag(faceCentre(0, 2, 0, Front), faceCentre(0, 1, 0, Front));
	turnLayer(0, 0, 1, core::vector3df(0, 0, 0));
	EXPECT_TRUE(solvedAndHome());
}

TEST_F(Input, DraggingOnTheTopFaceTurnsAboutX)
{
	leftDrag(faceCentre(1, 2, 0, Top), faceCentre(1, 2, 1, Top));
	turnLayer(1, 0, -1, core::vector3df(0, 0, 0));
	EXPECT_TRUE(solvedAndHome());
}

TEST_F(Input, APressSelectsAndHighlightsTheSubcubeAndFindsTheOneBehind)
{
	const core::position2d<s32> p = faceCentre(0, 2, 0, Front);
	postMouse(EMIE_LMOUSE_PRESSED_DOWN, p.X, p.Y);
	EXPECT_EQ(selectedNode, cube->subcubes[cellIndex(0, 2, 0)]);
	EXPECT_EQ(innerNode, cube->subcubes[cellIndex(0, 2, 1)]);
	EXPECT_EQ(cube->subcubes[cellIndex(0, 2, 0)]->VertexColor.color, SubcubeSelectedColor);
	EXPECT_TRUE(receiver.isLeftDragArmed());
}

TEST_F(Input, PressAndReleaseWithoutMovingOntoAnotherTurnsNothing)
{
	const core::position2d<s32> p = faceCentre(1, 1, 0, Front);
	postMouse(EMIE_LMOUSE_PRESSED_DOWN, p.X, p.Y);
	postMouse(EMIE_MOUSE_MOVED, p.X + 3, p.Y + 2); // still on the same sub-cube
	EXPECT_TRUE(receiver.isLeftDragArmed());
	postMouse(EMIE_MOUSE_MOVED, 700, 80); // over the background
	EXPECT_TRUE(receiver.isLeftDragArmed());
	postMouse(EMIE_LMOUSE_LEFT_UP, 700, 80);
	EXPECT_FALSE(receiver.isLeftDragArmed());
	EXPECT_TRUE(solvedAndHome());
	EXPECT_EQ(cube->subcubes[cellIndex(1, 1, 0)]->VertexColor.color, SubcubeSelectedColor);
}

TEST_F(Input, PressingTheBackgroundUnhighlightsAndArmsNothing)
{
	const core::position2d<s32> p = faceCentre(1, 1, 0, Front);
	postMouse(EMIE_LMOUSE_PRESSED_DOWN, p.X, p.Y);
	postMouse(EMIE_LMOUSE_LEFT_UP, p.X, p.Y);
	postMouse(EMIE_LMOUSE_PRESSED_DOWN, 700, 80);
	EXPECT_FALSE(receiver.isLeftDragArmed());
	EXPECT_EQ(cube->subcubes[cellIndex(1, 1, 0)]->VertexColor.color, SubcubeNormalColor);
}

TEST_F(Input, OnePressTurnsAtMostOneLayer)
{
	postMouse(EMIE_LMOUSE_PRESSED_DOWN, faceCentre(0, 2, 0, Front).X, faceCentre(0, 2, 0, Front).Y);
	postMouse(EMIE_MOUSE_MOVED, faceCentre(1, 2, 0, Front).X, faceCentre(1, 2, 0, Front).Y);
	postMouse(EMIE_MOUSE_MOVED, faceCentre(2, 2, 0, Front).X, faceCentre(2, 2, 0, Front).Y);
	postMouse(EMIE_LMOUSE_LEFT_UP, faceCentre(2, 2, 0, Front).X, faceCentre(2, 2, 0, Front).Y);
	turnLayer(2, 1, 1, core::vector3df(0, 0, 0));
	EXPECT_TRUE(solvedAndHome());
}

TEST_F(Input, TheSelectionMovesWithItsSubcube)
{
	leftDrag(faceCentre(0, 2, 0, Front), faceCentre(1, 2, 0, Front));
	CSubcubeSceneNode* selected = asSubcube(selectedNode);
	ASSERT_NE(selected, nullptr);
	EXPECT_EQ(selected->getID(), cellIndex(0, 2, 0));
	EXPECT_EQ(selected->VertexColor.color, SubcubeSelectedColor);
	EXPECT_NE(cube->grid[cellIndex(0, 2, 0)], cellIndex(0, 2, 0));
}

TEST_F(Input, APressQueuedBehindATurnPicksWhatTheScreenShows)
{
	// No frame between the turn and the next press: the press must see the turned layer.
	leftDrag(faceCentre(0, 2, 0, Front), faceCentre(1, 2, 0, Front));
	const core::position2d<s32> p = faceCentre(0, 2, 0, Front);
	postMouse(EMIE_LMOUSE_PRESSED_DOWN, p.X, p.Y);
	EXPECT_EQ(selectedNode, cube->subcubes[cube->grid[cellIndex(0, 2, 0)]]);
}

TEST_F(Input, APressQueuedBehindAWholeCubeTurnPicksWhatTheScreenShows)
{
	const core::position2d<s32> p = faceCentre(1, 1, 0, Front); // where the front centre shows
	postMouse(EMIE_RMOUSE_PRESSED_DOWN, 400, 300);
	for (s32 x = 405; x <= 850; x += 5) // 90 degrees about Y
		postMouse(EMIE_MOUSE_MOVED, x, 300);
	postMouse(EMIE_MOUSE_MOVED, 850, 300);
	postMouse(EMIE_RMOUSE_LEFT_UP, 850, 300);
	postMouse(EMIE_LMOUSE_PRESSED_DOWN, p.X, p.Y);
	// Dragging right brought the left face round to the front.
	EXPECT_EQ(selectedNode, cube->subcubes[cellIndex(0, 1, 1)]);
}

TEST_F(Input, EventStormsKeepTheInvariants)
{
	std::mt19937 random(2026);
	std::uniform_int_distribution<int> x(0, 799), y(0, 599), kind(0, 9);
	for (int i = 0; i < 1500; ++i)
	{
		const int px = x(random), py = y(random);
		switch (kind(random))
		{
		case 0: postMouse(EMIE_LMOUSE_PRESSED_DOWN, px, py); break;
		case 1: postMouse(EMIE_LMOUSE_LEFT_UP, px, py); break;
		case 2: postMouse(EMIE_RMOUSE_PRESSED_DOWN, px, py); break;
		case 3: postMouse(EMIE_RMOUSE_LEFT_UP, px, py); break;
		case 4:
			if (px % 300 != KEY_ESCAPE)
				postKey((EKEY_CODE)(px % 300), py % 2);
			break;
		default: postMouse(EMIE_MOUSE_MOVED, px, py); break;
		}
		if (overExit || overPlay)
			postMouse(EMIE_MOUSE_MOVED, 10, 10); // EXIT would end the test, PLAY would scramble
	}
	expectInvariants();
}
