// See GoldenSession.h. PNG files are read and written by the engine's own image loader and
// writer, on a null device.
#include "GoldenSession.h"
#include <algorithm>
#include <cmath>
#include <filesystem>
#include <gtest/gtest.h>
#include <iostream>
#include <irrlicht.h>
#include <thread>

using namespace irr;

namespace
{
video::IVideoDriver* imageDriver()
{
	static IrrlichtDevice* device = createDevice(video::EDT_NULL);
	return device->getVideoDriver();
}

void writePng(const XImageCopy& frame, const std::string& path)
{
	video::IImage* image = imageDriver()->createImage(video::ECF_R8G8B8,
		core::dimension2d<u32>((u32)frame.width, (u32)frame.height));
	for (int y = 0; y < frame.height; ++y)
		for (int x = 0; x < frame.width; ++x)
			image->setPixel(x, y, video::SColor(0xFF000000 | frame.at(x, y)));
	imageDriver()->writeImageToFile(image, path.c_str());
	image->drop();
}

int channelDifference(uint32_t a, uint32_t b)
{
	int most = 0;
	for (int shift = 0; shift < 24; shift += 8)
		most = std::max(most, std::abs((int)(a >> shift & 0xFF) - (int)(b >> shift & 0xFF)));
	return most;
}

// Window pixels of the faces the camera sees on the unturned cube: the front (z = 0) and the top (y = 2).
ScreenPoint front(int gx, int gy, CubePose pose) { return faceCentreOnScreen(gx, gy, 0, 0, 0, -1, pose); }
ScreenPoint top(int gx, int gz, CubePose pose) { return faceCentreOnScreen(gx, 2, gz, 0, 1, 0, pose); }
}

XImageCopy readPng(const std::string& path)
{
	XImageCopy copy;
	video::IImage* image = imageDriver()->createImageFromFile(path.c_str());
	if (!image)
		return copy;
	copy.width = (int)image->getDimension().Width;
	copy.height = (int)image->getDimension().Height;
	for (int y = 0; y < copy.height; ++y)
		for (int x = 0; x < copy.width; ++x)
			copy.pixels.push_back(image->getPixel(x, y).color);
	image->drop();
	return copy;
}

void GoldenSession::playUntilPlay()
{
	ASSERT_TRUE(game.start());
	ASSERT_TRUE(game.waitForWindow());
	// Without a window manager, keys reach the window only under the pointer.
	game.moveTo(Background);
	frame = game.captureSettled();
	EXPECT_EQ(frame.width, 800);
	EXPECT_EQ(frame.height, 600);
	expectMatches("first");
	step("help", [&] { game.key("F1"); });
	step("first", [&] { game.key("F1"); });
	step("play-hovered", [&] { game.moveTo(OnPlay); });
	step("first", [&] { game.moveTo(Background); });
	step("exit-hovered", [&] { game.moveTo(OnExit); });
	step("first", [&] { game.moveTo(Background); });
}

void GoldenSession::playScramble(const std::vector<LayerTurnMove>& turns, bool compareFrames)
{
	step("play-hovered", [&] { game.moveTo(OnPlay); });
	compare = compareFrames;
	scramble = turns;
	game.button(1, true);
	game.button(1, false);
	// The scramble is animated: several different pictures go by before it settles.
	int pictures = 0;
	for (XImageCopy last = frame; pictures < 3 && waitUntil([&] { return game.capture().differingPixels(last) > 1000; },
		std::chrono::seconds(30)); ++pictures)
		last = game.capture();
	EXPECT_EQ(pictures, 3) << label << ": the scramble is not animated";
	frame = game.captureSettled();
	if (compare)
		expectMatches("scrambled");
	step("scrambled-rest", [&] { game.moveTo(Background); });
	// Each scramble frame tumbles the cube by 0.01 degrees about X, Y and Z: 45 frames a turn about
	// X or Y, 46 about Z.
	for (const LayerTurnMove& turn : scramble)
		pose.tumble += (turn.axis == 2 ? 46 : 45) * 0.01 * std::sqrt(3.0);
}

void GoldenSession::playToWin()
{
	// Five pixels to the right turn the cube by -1 degree about Y. The latest move's turn is drawn
	// once more on top of the cube's orientation until the next turn: a last move of 1800 pixels,
	// a full turn, hides that extra turn, so that the picture shows the orientation alone.
	step("turned", [&] { drag(3, {60, 300}, {160, 300}, 1800); });
	pose.yaw = -20;
	// On the turned cube, the front face's top row dragged to the left, and back.
	const ScreenPoint topMiddle = front(1, 2, pose), topLeft = front(0, 2, pose);
	step("turned-layer", [&] { drag(1, topMiddle, topLeft); });
	step(nullptr, [&] { drag(1, topLeft, topMiddle); });
	// A press on the background lifts the highlight: the picture of the turned cube is back.
	const auto pressBackground = [&] {
		game.moveTo(Background);
		game.button(1, true);
		game.button(1, false);
	};
	step("turned", pressBackground);
	step(nullptr, [&] { drag(3, {160, 300}, {60, 300}, 1800); });
	pose.yaw = 0;

	// Each scramble turn is undone by its opposite, the last one first, with a drag from an outer
	// cell onto the middle one: on the front face, up by one cell turns a layer x by +1 about X and
	// left by one cell a layer y by +1 about Y; on the top face, left by one cell turns a layer z
	// by +1 about Z. No press lands on a face centre, whose probe would have to find the core: in
	// some orientations of the core the engine's bounding-box pick along the probe misses it.
	for (auto turn = scramble.rbegin(); turn != scramble.rend(); ++turn)
	{
		const int l = turn->layer, d = -turn->direction;
		const ScreenPoint from[3] = {front(l, 1 - d, pose), front(1 + d, l, pose), top(1 + d, l, pose)};
		const ScreenPoint to[3] = {front(l, 1, pose), front(1, l, pose), top(1, l, pose)};
		step(nullptr, [&] { drag(1, from[turn->axis], to[turn->axis]); });
	}
	step("won", pressBackground);
}

void GoldenSession::pressEscape()
{
	game.key("Escape");
	ASSERT_TRUE(game.waitForExit(30));
	EXPECT_EQ(game.exitStatus, 0);
}

void GoldenSession::step(const char* reference, const std::function<void()>& action)
{
	const XImageCopy before = frame;
	action();
	EXPECT_TRUE(waitUntil([&] { return game.capture().differingPixels(before) > 0; }, std::chrono::seconds(30)))
		<< label << ": the picture did not change on the way to " << (reference ? reference : "an unchecked step");
	frame = game.captureSettled();
	if (reference && compare)
		expectMatches(reference);
}

void GoldenSession::expectMatches(const std::string& reference)
{
	const std::string path = "tests/golden/" + reference + ".png";
	++checks;
	// A reference met twice in one run is written the first time and compared the second.
	if (update && written.insert(reference).second)
		return writePng(frame, path);
	const XImageCopy expected = readPng(path);
	ASSERT_TRUE(expected.width == frame.width && expected.height == frame.height)
		<< path << " is " << expected.width << "x" << expected.height << ", the frame " << frame.width << "x" << frame.height;
	// The diff image: the frame darkened, with the pixels beyond tolerance in red.
	XImageCopy diff = frame;
	size_t differing = 0, beyond = 0;
	int most = 0;
	for (size_t i = 0; i < frame.pixels.size(); ++i)
	{
		const int d = channelDifference(frame.pixels[i], expected.pixels[i]);
		most = std::max(most, d);
		differing += d > 0;
		beyond += d > tolerance.channel;
		diff.pixels[i] = d > tolerance.channel ? 0xFF0000 : frame.pixels[i] >> 2 & 0x3F3F3F;
	}
	std::cout << label << " " << reference << ": largest channel difference " << most << ", " << differing
		<< " pixels differ, " << beyond << " beyond " << tolerance.channel << "\n";
	if (beyond <= tolerance.pixels)
		return;
	const std::string base = std::string(ZARNEL_GOLDEN_OUTPUT) + "/" + label + "-" + std::to_string(checks) + "-" + reference;
	std::filesystem::create_directories(ZARNEL_GOLDEN_OUTPUT);
	writePng(frame, base + "-actual.png");
	writePng(diff, base + "-diff.png");
	ADD_FAILURE() << beyond << " pixels differ from " << path << " by more than " << tolerance.channel << " (at most "
		<< tolerance.pixels << " may): see " << base << "-actual.png and -diff.png";
}

void GoldenSession::drag(unsigned int button, ScreenPoint from, ScreenPoint to, int lastStepX)
{
	game.moveTo(from.x, from.y);
	game.button(button, true);
	for (int i = 1; i <= (lastStepX ? 6 : 5); ++i)
	{
		std::this_thread::sleep_for(game.dragStepPause);
		const int j = std::min(i, 5);
		game.moveTo(from.x + (to.x - from.x) * j / 5 + (i > 5 ? lastStepX : 0), from.y + (to.y - from.y) * j / 5);
	}
	std::this_thread::sleep_for(game.dragStepPause);
	game.button(button, false);
}
