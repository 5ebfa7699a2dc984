// zarnel.exe from the player's zip under Wine, in a private Xvfb with real X input: the golden
// session up to its scramble, whose frames before PLAY must match the Linux references (Windows'
// rand() scrambles differently), its standard output, and the window manager's close.
// scripts/test-windows unpacks the zip and names its folder in ZARNEL_WIN32_FOLDER.
#include "GoldenSession.h"
#include "WineGame.h"
#include <gtest/gtest.h>

namespace
{
class WindowsGame : public WineGame
{
protected:
	WindowsGame() : WineGame("ZARNEL_WIN32_FOLDER", "") { game.command = {"wine", root + "/zarnel.exe"}; }
};
}

TEST_F(WindowsGame, TheScriptedSessionShowsTheLinuxGamesFramesUntilPlay)
{
	// Measured under Wine 8 with llvmpipe: one pixel off by one in each frame.
	GoldenSession session(game, "wine", {4, 20}, false);
	ASSERT_NO_FATAL_FAILURE(session.playUntilPlay());
	ASSERT_NO_FATAL_FAILURE(session.playScramble({}, false));
	ASSERT_NO_FATAL_FAILURE(session.pressEscape());
	// The C runtime writes standard output in text mode on Windows: every line ends in CR LF.
	std::string prompt;
	for (const char c : GameProcess::Prompt)
		prompt += c == '\n' ? "\r\n" : std::string(1, c);
	EXPECT_EQ(game.stdoutText(), prompt);
}

TEST_F(WindowsGame, ClosingTheWindowEndsWithStatusZero)
{
	ASSERT_TRUE(game.start());
	ASSERT_TRUE(game.waitForWindow());
	game.requestClose();
	ASSERT_TRUE(game.waitForExit());
	EXPECT_EQ(game.exitStatus, 0);
}
