// The installed game as a player starts it: the launcher of a scratch install prefix, run from a
// folder that has nothing to do with the game, finds its data and shows the textured cube.
// ctest installs the prefix first (the fixture "installed") and names it in ZARNEL_INSTALL_PREFIX.
#include "GameProcess.h"
#include "Screen.h"
#include "ScratchFolder.h"
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <unistd.h>

namespace fs = std::filesystem;

TEST(InstalledGame, TheLauncherStartedFromAnUnrelatedFolderShowsTheCubeAndQuitsOnEscape)
{
	const char* prefix = std::getenv("ZARNEL_INSTALL_PREFIX");
	ASSERT_NE(prefix, nullptr) << "run through ctest";
	const ScratchFolder elsewhere("zarnel-elsewhere");
	ASSERT_FALSE(elsewhere.path.empty());
	PrivateXServer x;
	ASSERT_TRUE(x.ok());
	GameProcess game(&x, elsewhere.path.string());
	game.command = {(fs::path(prefix) / "games" / "zarnel").string()};
	ASSERT_TRUE(game.start());
	ASSERT_TRUE(game.waitForWindow());
	game.moveTo(Background);
	const XImageCopy image = game.captureSettled();
	const ScreenPoint front = faceCentreOnScreen(1, 1, 0, 0, 0, -1);
	EXPECT_TRUE(pixelNear(image.at(front.x, front.y), 200, 30, 30)) << std::hex << image.at(front.x, front.y);
	// The status line, drawn by the game's own font from the installed media.
	EXPECT_GT(image.brightPixels(30, 30, 300, 60, 250), 100u);
	game.key("Escape");
	ASSERT_TRUE(game.waitForExit());
	EXPECT_EQ(game.exitStatus, 0);
	EXPECT_EQ(game.stdoutText(), GameProcess::Prompt);
}
