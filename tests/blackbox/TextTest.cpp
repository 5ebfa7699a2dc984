// The texts and buttons of the built game's window: the status line, the instructions behind F1,
// and the two normal buttons.
#include "GameProcess.h"
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <unistd.h>

namespace fs = std::filesystem;

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

namespace
{
// The game started in a copy of media/ whose font file is replaced by another kind of file.
class FontAtTheFontPath : public ::testing::TestWithParam<const char*>
{
protected:
	void SetUp() override
	{
		folder = fs::temp_directory_path() / ("zarnel-font-" + std::to_string(getpid()));
		fs::create_directories(folder);
		fs::copy("media", folder / "media", fs::copy_options::recursive);
		const fs::path font = folder / "media" / "ANTQUAB.TTF";
		fs::remove(font);
		const std::string source = GetParam();
		if (source == "empty")
			std::ofstream(font.string()).close();
		else if (source == "random")
		{
			std::ofstream out(font.string(), std::ios::binary);
			for (int i = 0; i < 5000; ++i)
				out.put((char)(i * 7919 % 251));
		}
		else
			fs::copy_file(source, font);
	}
	void TearDown() override { fs::remove_all(folder); }

	fs::path folder;
};

std::string kindName(const ::testing::TestParamInfo<const char*>& info)
{
	static const char* const names[] = {"TrueType", "OpenType", "BitmapFont", "EmptyFile", "RandomFile"};
	return names[info.index];
}
}

TEST_P(FontAtTheFontPath, TheStatusLineIsStillDrawnAndTheGameEndsCleanly)
{
	PrivateXServer x;
	ASSERT_TRUE(x.ok());
	GameProcess game(&x, folder.string());
	ASSERT_TRUE(game.start());
	ASSERT_TRUE(game.waitForWindow());
	game.moveTo(760, 20);
	game.key("F1");
	EXPECT_TRUE(waitUntil([&] { return game.capture().brightPixels(30, 30, 300, 90, 250) > 30; }));
	game.requestClose();
	ASSERT_TRUE(game.waitForExit());
	EXPECT_EQ(game.exitStatus, 0);
}

INSTANTIATE_TEST_SUITE_P(FourKinds, FontAtTheFontPath,
	::testing::Values("media/ANTQUAB.TTF", ZARNEL_OTF_FONT, ZARNEL_PCF_FONT, "empty", "random"), kindName);
