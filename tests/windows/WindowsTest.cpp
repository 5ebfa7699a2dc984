// The Windows game, zarnel.exe from the player's zip, played under Wine in a private Xvfb with
// real X input: its standard output, window, first frame, F1, a layer drag and its reverse, the
// PLAY hover, and the two ways out. scripts/test-windows unpacks the zip, makes the Wine prefix
// and names the unpacked folder in ZARNEL_WIN32_FOLDER.
#include "GameProcess.h"
#include "Screen.h"
#include <cstdlib>
#include <gtest/gtest.h>

namespace
{
std::string unpackedFolder()
{
	const char* folder = std::getenv("ZARNEL_WIN32_FOLDER");
	return folder ? folder : "";
}

// The C runtime writes standard output in text mode on Windows: every line ends in CR LF.
std::string windowsPrompt()
{
	std::string text;
	for (char c : std::string(GameProcess::Prompt))
		text += c == '\n' ? std::string("\r\n") : std::string(1, c);
	return text;
}

class WindowsGame : public ::testing::Test
{
protected:
	void SetUp() override
	{
		ASSERT_FALSE(unpackedFolder().empty()) << "run through scripts/test-windows";
		ASSERT_TRUE(x.ok());
		game.command = {"wine", unpackedFolder() + "/zarnel.exe"};
		// Wine merges pointer moves that come too quickly into one.
		game.dragStepPause = std::chrono::milliseconds(40);
		ASSERT_TRUE(game.start());
		ASSERT_TRUE(game.waitForWindow());
		// Without a window manager, keys reach a Wine window only under the pointer.
		game.moveTo(760, 20);
		initial = game.captureSettled();
	}

	void closeAndExpectCleanExit()
	{
		game.requestClose();
		ASSERT_TRUE(game.waitForExit());
		EXPECT_EQ(game.exitStatus, 0);
		EXPECT_EQ(game.stdoutText(), windowsPrompt());
	}

	static size_t instructionsInk(const XImageCopy& image) { return image.brightPixels(10, 85, 200, 285, 250); }
	static size_t playBand(const XImageCopy& image, int y) { return image.brightPixels(140, y, 360, y + 2, 100); }

	PrivateXServer x;
	GameProcess game{&x, unpackedFolder()};
	XImageCopy initial;
};

const ScreenPoint FrontCentre = faceCentreOnScreen(1, 1, 0, 0, 0, -1);
const ScreenPoint TopLeftFront = faceCentreOnScreen(0, 2, 0, 0, 0, -1);
const ScreenPoint TopMiddleFront = faceCentreOnScreen(1, 2, 0, 0, 0, -1);
}

TEST_F(WindowsGame, TheWindowIsZarnel800By600AndShowsTheFrontFaceTexture)
{
	int width = 0, height = 0;
	ASSERT_TRUE(x.windowSize(game.window(), width, height));
	EXPECT_EQ(width, 800);
	EXPECT_EQ(height, 600);
	const uint32_t front = initial.at(FrontCentre.x, FrontCentre.y);
	EXPECT_TRUE(pixelNear(front, 200, 30, 30)) << std::hex << front;
	// The status line in white, and no instructions yet.
	EXPECT_GT(initial.brightPixels(30, 30, 300, 90, 250), 100u);
	EXPECT_EQ(instructionsInk(initial), 0u);
	closeAndExpectCleanExit();
}

TEST_F(WindowsGame, F1ShowsAndHidesTheInstructions)
{
	game.key("F1");
	ASSERT_TRUE(waitUntil([&] { return instructionsInk(game.capture()) > 200; }));
	game.key("F1");
	ASSERT_TRUE(waitUntil([&] { return instructionsInk(game.capture()) == 0; }));
	closeAndExpectCleanExit();
}

TEST_F(WindowsGame, ADragTurnsALayerAndTheReverseDragRestoresThePicture)
{
	game.drag(1, TopLeftFront.x, TopLeftFront.y, TopMiddleFront.x, TopMiddleFront.y);
	ASSERT_TRUE(waitUntil([&] { return game.capture().differingPixels(initial) > 5000; }));
	const XImageCopy turned = game.captureSettled();
	game.drag(1, TopMiddleFront.x, TopMiddleFront.y, TopLeftFront.x, TopLeftFront.y);
	ASSERT_TRUE(waitUntil([&] { return game.capture().differingPixels(turned) > 5000; }));
	// A press on the background lifts the highlight; then the first picture is back.
	game.moveTo(760, 20);
	game.button(1, true);
	game.button(1, false);
	EXPECT_TRUE(waitUntil([&] { return game.capture().differingPixels(initial) < 50; }));
	closeAndExpectCleanExit();
}

TEST_F(WindowsGame, HoveringPlayShowsItsHighlightedImage)
{
	// The normal image spans rows 510..573 and the highlighted one 500..563.
	EXPECT_EQ(playBand(initial, 505), 0u);
	game.moveTo(250, 540);
	ASSERT_TRUE(waitUntil([&] { return playBand(game.capture(), 505) > 0; }));
	EXPECT_EQ(playBand(game.captureSettled(), 567), 0u);
	closeAndExpectCleanExit();
}

TEST_F(WindowsGame, EscapeEndsWithStatusZero)
{
	game.key("Escape");
	ASSERT_TRUE(game.waitForExit());
	EXPECT_EQ(game.exitStatus, 0);
	EXPECT_EQ(game.stdoutText(), windowsPrompt());
}

TEST_F(WindowsGame, ClosingTheWindowEndsWithStatusZero)
{
	closeAndExpectCleanExit();
}
