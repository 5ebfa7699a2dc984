// Playing the built game with real X input: layer drags, whole-cube drags, the PLAY hover and
// scramble, and the two ways out.
#include "GameProcess.h"
#include "Screen.h"
#include <gtest/gtest.h>

namespace
{
class Play : public ::testing::Test
{
protected:
	void SetUp() override
	{
		ASSERT_TRUE(x.ok());
		ASSERT_TRUE(game.start());
		ASSERT_TRUE(game.waitForWindow());
		initial = game.captureSettled();
	}

	void closeAndExpectCleanExit()
	{
		game.requestClose();
		ASSERT_TRUE(game.waitForExit());
		EXPECT_EQ(game.exitStatus, 0);
		EXPECT_EQ(game.stdoutText(), GameProcess::Prompt);
	}

	// Bright pixels in a horizontal band of the PLAY button's picture.
	size_t playBand(const XImageCopy& image, int y) const { return image.brightPixels(140, y, 360, y + 2, 100); }

	// Waits for the picture to differ from before by more than a few pixels, then to settle.
	XImageCopy changedFrom(const XImageCopy& before)
	{
		EXPECT_TRUE(waitUntil([&] { return game.capture().differingPixels(before) > 500; }));
		return game.captureSettled();
	}

	PrivateXServer x;
	GameProcess game{&x, "."};
	XImageCopy initial;
};

const ScreenPoint TopLeftFront = faceCentreOnScreen(0, 2, 0, 0, 0, -1);
const ScreenPoint TopMiddleFront = faceCentreOnScreen(1, 2, 0, 0, 0, -1);
}

TEST_F(Play, ADragTurnsALayerAndTheReverseDragRestoresThePicture)
{
	game.drag(1, TopLeftFront.x, TopLeftFront.y, TopMiddleFront.x, TopMiddleFront.y);
	const XImageCopy turned = changedFrom(initial);
	EXPECT_GT(turned.differingPixels(initial), 5000u);

	game.drag(1, TopMiddleFront.x, TopMiddleFront.y, TopLeftFront.x, TopLeftFront.y);
	changedFrom(turned);
	game.moveTo(760, 20); // a press on the background lifts the highlight
	game.button(1, true);
	game.button(1, false);
	ASSERT_TRUE(waitUntil([&] { return game.capture().differingPixels(initial) < 50; }));
	closeAndExpectCleanExit();
}

TEST_F(Play, ARightDragTurnsTheWholeCube)
{
	game.drag(3, 400, 300, 480, 330);
	const XImageCopy turned = changedFrom(initial);
	EXPECT_GT(turned.differingPixels(initial), 5000u);
	closeAndExpectCleanExit();
}

TEST_F(Play, HoveringPlayLiftsItsButton)
{
	// The normal image spans rows 510..573 and the highlighted one 500..563.
	EXPECT_EQ(playBand(initial, 505), 0u);
	EXPECT_GT(playBand(initial, 567), 0u);
	game.moveTo(250, 540);
	ASSERT_TRUE(waitUntil([&] { return playBand(game.capture(), 505) > 0; }));
	const XImageCopy lifted = game.captureSettled();
	EXPECT_EQ(playBand(lifted, 567), 0u);
	game.moveTo(250, 300);
	ASSERT_TRUE(waitUntil([&] { return playBand(game.capture(), 505) == 0; }));
	closeAndExpectCleanExit();
}

TEST_F(Play, PlayScramblesWhileThePictureKeepsChanging)
{
	game.moveTo(250, 540);
	game.button(1, true);
	game.button(1, false);
	// The scramble draws over two hundred frames; several different pictures go by.
	int changes = 0;
	XImageCopy last = game.capture();
	waitUntil([&] {
		const XImageCopy now = game.capture();
		changes += now.differingPixels(last) > 1000;
		last = now;
		return changes >= 3;
	});
	EXPECT_GE(changes, 3);
	const XImageCopy settled = game.captureSettled();
	EXPECT_GT(settled.differingPixels(initial), 1000u);
	closeAndExpectCleanExit();
}

TEST_F(Play, EscapeEndsTheGameAtOnceWithStatusZero)
{
	game.moveTo(400, 100);
	game.key("Escape");
	ASSERT_TRUE(game.waitForExit(30));
	EXPECT_EQ(game.exitStatus, 0);
	EXPECT_EQ(game.stdoutText(), GameProcess::Prompt);
}

TEST_F(Play, AClickOnExitEndsTheGameAtOnceWithStatusZero)
{
	game.moveTo(550, 540);
	game.button(1, true);
	ASSERT_TRUE(game.waitForExit(30));
	EXPECT_EQ(game.exitStatus, 0);
	EXPECT_EQ(game.stdoutText(), GameProcess::Prompt);
}
