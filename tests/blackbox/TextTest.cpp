// The texts and buttons of the built game's window: the status line, the instructions behind F1,
// and the two normal buttons.
#include "GameProcess.h"
#include <gtest/gtest.h>

namespace
{
class Text : public ::testing::Test
{
protected:
	void SetUp() override
	{
		ASSERT_TRUE(x.ok());
		ASSERT_TRUE(game.start());
		ASSERT_TRUE(game.waitForWindow());
		game.moveTo(760, 20);
	}

	void TearDown() override
	{
		game.requestClose();
		game.waitForExit();
	}

	// White text: pure white pixels (the cube's brightest face is darker).
	static size_t statusInk(const XImageCopy& image) { return image.brightPixels(30, 30, 300, 90, 250); }
	static size_t instructionsInk(const XImageCopy& image) { return image.brightPixels(10, 85, 200, 285, 250); }

	PrivateXServer x;
	GameProcess game{&x, "."};
};
}

TEST_F(Text, TheFirstFrameShowsTheStatusLineAndNoInstructions)
{
	const XImageCopy image = game.captureSettled();
	EXPECT_GT(statusInk(image), 100u);
	EXPECT_EQ(instructionsInk(image), 0u);
	// Nothing of the text strays above or left of its area.
	EXPECT_EQ(image.brightPixels(0, 0, 800, 28, 250), 0u);
}

TEST_F(Text, F1ShowsTheInstructionsAndASecondF1HidesThem)
{
	game.key("F1");
	ASSERT_TRUE(waitUntil([&] { return instructionsInk(game.capture()) > 200; }));
	EXPECT_GT(statusInk(game.capture()), 100u);
	game.key("F1");
	ASSERT_TRUE(waitUntil([&] { return instructionsInk(game.capture()) == 0; }));
}

TEST_F(Text, OnlyTheTwoNormalButtonsShowAtStart)
{
	const XImageCopy image = game.captureSettled();
	// Normal images span rows 510..573, highlighted ones 500..563: row 505 is empty.
	EXPECT_GT(image.brightPixels(140, 566, 360, 568, 100), 0u);
	EXPECT_GT(image.brightPixels(440, 566, 660, 568, 100), 0u);
	EXPECT_EQ(image.brightPixels(122, 500, 678, 509, 1), 0u);
}
