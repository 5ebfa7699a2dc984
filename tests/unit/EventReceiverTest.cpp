// The event receiver's keys, hover areas, right drag and the PLAY click, with events posted
// through the device as the window would deliver them.
#include "CubeModel.h"
#include "FrameCounterNode.h"
#include "NullDeviceTest.h"

using namespace irr;

namespace
{
class EventReceiver : public NullDeviceTest
{
protected:
	void SetUp() override
	{
		NullDeviceTest::SetUp();
		buildGame();
	}

	bool playHighlighted() const { return playOnImage->getColor().color == 0xFFFFFFFF && playImage->getColor().color == 0; }
	bool exitHighlighted() const { return exitOnImage->getColor().color == 0xFFFFFFFF && exitImage->getColor().color == 0; }
};
}

TEST_F(EventReceiver, EachF1PressTogglesTheHelpAndReleasesDoNothing)
{
	postKey(KEY_F1, true);
	EXPECT_TRUE(helpVisible);
	postKey(KEY_F1, false);
	EXPECT_TRUE(helpVisible);
	postKey(KEY_F1, true); // a held key repeats its press
	EXPECT_FALSE(helpVisible);
	EXPECT_FALSE(receiver.isKeyDown(KEY_F1));
}

TEST_F(EventReceiver, OtherKeysFollowTheirPressedState)
{
	postKey(KEY_KEY_A, true);
	EXPECT_TRUE(receiver.isKeyDown(KEY_KEY_A));
	postKey(KEY_KEY_A, false);
	EXPECT_FALSE(receiver.isKeyDown(KEY_KEY_A));
}

TEST_F(EventReceiver, KeyCodesOutsideTheTableAreIgnored)
{
	// The X11 device passes raw keycodes up to 255, one past the table. (Larger values cannot
	// even be made: the key enumeration holds nothing beyond 8 bits.)
	for (s32 code : {254, 255})
		postKey((EKEY_CODE)code, true);
	EXPECT_TRUE(receiver.isKeyDown((EKEY_CODE)254));
	EXPECT_FALSE(receiver.isKeyDown((EKEY_CODE)255));
	EXPECT_FALSE(receiver.isLeftDragArmed());
	EXPECT_FALSE(receiver.isRightButtonDown());
}

TEST_F(EventReceiver, ButtonAreasExcludeTheirBorders)
{
	postMouse(EMIE_MOUSE_MOVED, 122, 540);
	EXPECT_FALSE(overPlay);
	postMouse(EMIE_MOUSE_MOVED, 123, 540);
	EXPECT_TRUE(overPlay);
	EXPECT_TRUE(playHighlighted());
	for (core::position2d<s32> p : {core::position2d<s32>(200, 510), core::position2d<s32>(200, 574),
			core::position2d<s32>(378, 540)})
	{
		postMouse(EMIE_MOUSE_MOVED, p.X, p.Y);
		EXPECT_FALSE(overPlay) << p.X << "," << p.Y;
	}
	postMouse(EMIE_MOUSE_MOVED, 677, 573);
	EXPECT_TRUE(overExit);
}

TEST_F(EventReceiver, LeavingBothButtonsClearsBothFlags)
{
	postMouse(EMIE_MOUSE_MOVED, 500, 540);
	postMouse(EMIE_MOUSE_MOVED, 200, 540); // straight from EXIT into PLAY
	EXPECT_TRUE(overExit);
	EXPECT_TRUE(overPlay);
	EXPECT_TRUE(exitHighlighted());
	EXPECT_TRUE(playHighlighted());
	postMouse(EMIE_MOUSE_MOVED, 400, 100);
	EXPECT_FALSE(overExit);
	EXPECT_FALSE(overPlay);
	EXPECT_FALSE(exitHighlighted());
	EXPECT_FALSE(playHighlighted());
}

TEST_F(EventReceiver, APressOnPlayStraightFromExitStartsAGameAndDoesNotQuit)
{
	postMouse(EMIE_MOUSE_MOVED, 500, 540);
	postMouse(EMIE_MOUSE_MOVED, 200, 540);
	ASSERT_TRUE(overExit && overPlay);
	postMouse(EMIE_LMOUSE_PRESSED_DOWN, 200, 540);
	EXPECT_TRUE(gameRunning);
}

TEST_F(EventReceiver, WheelAndMiddleButtonChangeNothing)
{
	const core::vector3df before = cube->cubePivot->getRotation();
	for (EMOUSE_INPUT_EVENT e : {EMIE_MOUSE_WHEEL, EMIE_MMOUSE_PRESSED_DOWN, EMIE_MMOUSE_LEFT_UP})
		postMouse(e, 283, 310);
	EXPECT_EQ(selectedNode, nullptr);
	EXPECT_FALSE(receiver.isLeftDragArmed());
	EXPECT_TRUE(cube->cubePivot->getRotation().equals(before));
}

TEST_F(EventReceiver, ARightDragTurnsTheCubeOneDegreePerFivePixels)
{
	postMouse(EMIE_RMOUSE_PRESSED_DOWN, 100, 100);
	EXPECT_TRUE(receiver.isRightButtonDown());
	postMouse(EMIE_MOUSE_MOVED, 110, 100);
	EXPECT_TRUE(receiver.isRightDragMoved());
	// The delta is (0, -2, 0): +Z turns towards -X.
	core::vector3df forward(0, 0, 1);
	cube->cubePivot->getRelativeTransformation().rotateVect(forward);
	EXPECT_NEAR(atan2f(forward.X, forward.Z) * core::RADTODEG, -2.0f, 0.01f);
	// The next move is measured from the new position: five pixels down, -1 about X.
	postMouse(EMIE_MOUSE_MOVED, 110, 105);
	EXPECT_NEAR(cube->rootPivot->getRotation().X, -1.0f, 0.001f);
	postMouse(EMIE_RMOUSE_LEFT_UP, 110, 105);
	EXPECT_FALSE(receiver.isRightButtonDown());
	EXPECT_FALSE(receiver.isRightDragMoved());
}

TEST_F(EventReceiver, PlayScramblesWithFiveAnimatedTurnsThenStillPicks)
{
	FrameCounterNode* counter = FrameCounterNode::addTo(sceneManager);
	postMouse(EMIE_MOUSE_MOVED, 250, 540);
	postMouse(EMIE_LMOUSE_PRESSED_DOWN, 250, 540);
	EXPECT_TRUE(gameRunning);
	EXPECT_TRUE(statusText == L"press F1 for help");
	EXPECT_GE(counter->frames, 225u);
	EXPECT_LE(counter->frames, 230u);
	EXPECT_NE(selectedNode, nullptr); // the press picking ran at the button's position

	// A second click during the game changes nothing but the picking.
	s32 grid[CellCount];
	for (s32 c = 0; c < CellCount; ++c)
		grid[c] = cube->grid[c];
	const u32 frames = counter->frames;
	postMouse(EMIE_LMOUSE_LEFT_UP, 250, 540);
	postMouse(EMIE_LMOUSE_PRESSED_DOWN, 250, 540);
	EXPECT_EQ(counter->frames, frames);
	bool same = true;
	for (s32 c = 0; c < CellCount; ++c)
		same &= grid[c] == cube->grid[c];
	EXPECT_TRUE(same);
}

TEST_F(EventReceiver, AWinShowsTheWinTextAndPlayRestoresTheHelpText)
{
	gameRunning = true;
	testing::internal::CaptureStdout();
	leftDrag(faceCentre(0, 2, 0, core::vector3df(0, 0, -1)), faceCentre(1, 1, 0, core::vector3df(0, 0, -1)));
	EXPECT_EQ(testing::internal::GetCapturedStdout(), "congratulations,you win!\n");
	EXPECT_FALSE(gameRunning);
	EXPECT_TRUE(statusText == L"congratulations, you win, press play to restart!\n");
	postMouse(EMIE_MOUSE_MOVED, 250, 540);
	postMouse(EMIE_LMOUSE_PRESSED_DOWN, 250, 540);
	EXPECT_TRUE(statusText == L"press F1 for help");
}
