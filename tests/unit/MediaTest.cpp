// The committed media and icons are what the generator writes, and have the properties the game
// relies on: six distinct face colours with a mark that shows a texture's turn, and button
// bitmaps whose key colour (their top-left pixel) appears nowhere in the art.
#include "NullDeviceTest.h"
#include "ScratchFolder.h"
#include <cstdlib>
#include <filesystem>
#include <unistd.h>
#include <vector>

using namespace irr;
namespace fs = std::filesystem;

namespace
{
const char* const GeneratedFiles[] = {
	"fc0.png", "fc1.png", "fc2.png", "fc3.png", "fc4.png", "fc5.png", "particlewhite.bmp",
	"portal6.bmp", "buttons/but_play.bmp", "buttons/but_play_on.bmp", "buttons/but_exit.bmp",
	"buttons/but_exit_on.bmp"};

class Media : public NullDeviceTest
{
protected:
	video::IImage* load(const fs::path& path) { return driver->createImageFromFile(path.string().c_str()); }

	bool samePixels(video::IImage* a, video::IImage* b)
	{
		if (!a || !b || a->getDimension() != b->getDimension())
			return false;
		for (u32 y = 0; y < a->getDimension().Height; ++y)
			for (u32 x = 0; x < a->getDimension().Width; ++x)
				if (a->getPixel(x, y).color != b->getPixel(x, y).color)
					return false;
		return true;
	}
};
}

TEST_F(Media, CommittedFilesAndIconsMatchWhatTheGeneratorWrites)
{
	const ScratchFolder scratch("zarnel-gen");
	const fs::path& folder = scratch.path;
	ASSERT_FALSE(folder.empty());
	std::vector<fs::path> files;
	for (const char* name : GeneratedFiles)
		files.push_back(fs::path("media") / name);
	for (const char* size : {"16", "32", "48", "64", "128", "192", "256", "512"})
		files.push_back(fs::path("data") / "icons" / size / "org.zarnel.Zarnel.png");
	fs::create_directories(folder / "media" / "buttons");
	const std::string command = std::string(ZARNEL_MEDIAGEN_BINARY) + " " + (folder / "media").string() +
		" " + (folder / "data" / "icons").string();
	ASSERT_EQ(std::system(command.c_str()), 0);
	for (const fs::path& name : files)
	{
		video::IImage* committed = load(name);
		video::IImage* fresh = load(folder / name);
		EXPECT_TRUE(samePixels(committed, fresh)) << name;
		for (video::IImage* image : {committed, fresh})
			if (image)
				image->drop();
	}
}

TEST_F(Media, FaceTexturesHaveDistinctCentresAndATurnVisibleMark)
{
	u32 centres[6];
	for (u32 k = 0; k < 6; ++k)
	{
		video::IImage* image = load("media/fc" + std::to_string(k) + ".png");
		ASSERT_NE(image, nullptr);
		const u32 side = image->getDimension().Width;
		centres[k] = image->getPixel(side / 2, side / 2).color;
		// A quarter turn moves the mark: the picture differs from itself turned.
		bool differsWhenTurned = false;
		for (u32 y = 0; y < side && !differsWhenTurned; ++y)
			for (u32 x = 0; x < side; ++x)
				differsWhenTurned |= image->getPixel(x, y) != image->getPixel(side - 1 - y, x);
		EXPECT_TRUE(differsWhenTurned) << k;
		image->drop();
	}
	for (u32 a = 0; a < 6; ++a)
		for (u32 b = a + 1; b < 6; ++b)
			EXPECT_NE(centres[a], centres[b]) << a << " and " << b;
}

TEST_F(Media, ButtonKeyColourIsTheCornerAndAbsentFromTheArt)
{
	for (const char* name : {"but_play.bmp", "but_play_on.bmp", "but_exit.bmp", "but_exit_on.bmp"})
	{
		video::IImage* image = load(fs::path("media/buttons") / name);
		ASSERT_NE(image, nullptr) << name;
		EXPECT_EQ(image->getDimension(), core::dimension2d<u32>(256, 64)) << name;
		// The plate covers the middle band; the key, the top-left pixel, shows only around it.
		u32 keyedInPlate = 0;
		for (u32 y = 12; y < 52; ++y)
			for (u32 x = 12; x < 244; ++x)
				keyedInPlate += image->getPixel(x, y) == image->getPixel(0, 0);
		EXPECT_EQ(keyedInPlate, 0u) << name;
		image->drop();
	}
}
