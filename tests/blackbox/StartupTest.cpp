// The built game as a user starts it: its window, its standard output, its exit status, with and
// without a display, with bytes on its standard input.
#include "GameProcess.h"
#include <gtest/gtest.h>

namespace
{
class Startup : public ::testing::Test
{
protected:
	PrivateXServer x;
};
}

TEST_F(Startup, ClosingTheWindowEndsWithStatusZeroAndOnlyThePromptOnStdout)
{
	ASSERT_TRUE(x.ok());
	GameProcess game(&x, ".");
	ASSERT_TRUE(game.start());
	ASSERT_TRUE(game.waitForWindow());
	game.requestClose();
	ASSERT_TRUE(game.waitForExit());
	EXPECT_EQ(game.exitStatus, 0);
	EXPECT_EQ(game.stdoutText(), GameProcess::Prompt);
	// The engine's log went to standard error instead.
	EXPECT_NE(game.stderrText().find("Irrlicht Engine version"), std::string::npos);
}

TEST_F(Startup, TheWindowIsCaptionedZarnelAndIs800By600)
{
	ASSERT_TRUE(x.ok());
	GameProcess game(&x, ".");
	ASSERT_TRUE(game.start());
	ASSERT_TRUE(game.waitForWindow());
	int width = 0, height = 0;
	ASSERT_TRUE(x.windowSize(game.window(), width, height));
	EXPECT_EQ(width, 800);
	EXPECT_EQ(height, 600);
	EXPECT_EQ(x.findWindow("Zarnel"), game.window());
	game.requestClose();
	ASSERT_TRUE(game.waitForExit());
}

TEST_F(Startup, WithoutADisplayTheStatusIsOneAndStdoutHoldsOnlyThePrompt)
{
	GameProcess game(nullptr, ".");
	ASSERT_TRUE(game.start());
	ASSERT_TRUE(game.waitForExit());
	EXPECT_EQ(game.exitStatus, 1);
	EXPECT_EQ(game.stdoutText(), GameProcess::Prompt);
}

TEST_F(Startup, BytesOnStandardInputChangeNothing)
{
	ASSERT_TRUE(x.ok());
	GameProcess game(&x, ".");
	ASSERT_TRUE(game.start());
	game.writeStdin("a\nb\nf\n\x1b\n");
	ASSERT_TRUE(game.waitForWindow());
	game.writeStdin("e\n");
	const XImageCopy before = game.captureSettled();
	EXPECT_EQ(game.capture().differingPixels(before), 0u);
	game.requestClose();
	ASSERT_TRUE(game.waitForExit());
	EXPECT_EQ(game.exitStatus, 0);
	EXPECT_EQ(game.stdoutText(), GameProcess::Prompt);
}
