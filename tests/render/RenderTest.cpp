// Rendering in a private Xvfb with the real OpenGL device, pixels read at the X level: what the
// golden frames of the built game cannot show (a frame without the status font, the two fonts each
// in its own place, colour alpha and clipping of text). The font tests check text and glyph
// textures against FreeType.
#include "CGUITTFont.h"
#include "CubeModel.h"
#include "Frame.h"
#include "NullDeviceTest.h"
#include "Screen.h"
#include "XServerTest.h"

using namespace irr;

namespace
{
class OpenGLFrame : public XServerTest<NullDeviceTest>
{
protected:
	video::E_DRIVER_TYPE driverType() const override { return video::EDT_OPENGL; }

	void SetUp() override
	{
		ASSERT_NO_FATAL_FAILURE(XServerTest::SetUp());
		buildGame();
		window = driver->getExposedVideoData().OpenGLLinux.X11Window;
	}

	// Draws frames until the window shows one, and returns the picture.
	XImageCopy firstFrame()
	{
		XImageCopy image;
		EXPECT_TRUE(waitUntil([&] {
			drawFrame(cube);
			image = x.capture(window);
			return image.showsAnything();
		}));
		return image;
	}

	XWindowId window = 0;
};

const core::vector3df Front(0, 0, -1);
}

TEST_F(OpenGLFrame, AFrameWithoutTheStatusFontDrawsNoTextButTheSceneAndTheButtons)
{
	helpVisible = true;
	gui::CGUITTFont* font = statusFont;
	statusFont = nullptr;
	const XImageCopy image = firstFrame();
	statusFont = font;
	EXPECT_EQ(image.brightPixels(10, 30, 300, 285, 250), 0u);
	const core::position2d<s32> front = faceCentre(1, 1, 0, Front);
	EXPECT_TRUE(pixelNear(image.at(front.X, front.Y), 200, 30, 30));
	EXPECT_GT(image.brightPixels(140, 566, 360, 568, 100), 0u);
}

TEST_F(OpenGLFrame, TheStatusLineAndTheInstructionsAreEachDrawnInTheirOwnFontAndPlace)
{
	// The two texts alone, as each font draws them in its area...
	XImageCopy alone;
	ASSERT_TRUE(waitUntil([&] {
		driver->beginScene(true, true, video::SColor(0xFF000000));
		statusFont->draw(statusText, core::rect<s32>(30, 30, 300, 90), video::SColor(0xFFFFFFFF));
		helpFont->draw(InstructionsText, core::rect<s32>(10, 80, 100, 380), video::SColor(0xFFFFFFFF));
		driver->endScene();
		alone = x.capture(window);
		return alone.brightPixels(10, 30, 300, 380, 250) > 500;
	}));
	// ...are exactly what the frame shows wherever they put ink left of the cube.
	helpVisible = true;
	const XImageCopy frame = firstFrame();
	size_t ink = 0, same = 0;
	for (int y = 25; y < 385; ++y)
		for (int x0 = 0; x0 < 200; ++x0)
			if (alone.at(x0, y) != 0)
			{
				++ink;
				same += frame.at(x0, y) == alone.at(x0, y);
			}
	EXPECT_EQ(same, ink);
}

TEST_F(OpenGLFrame, WithoutColourAlphaTextIsDrawnOpaque)
{
	// Brightest red of a big "H" drawn alone on black with the given colour.
	auto brightest = [&](video::SColor colour) {
		int best = 0;
		EXPECT_TRUE(waitUntil([&] {
			driver->beginScene(true, true, video::SColor(0xFF000000));
			statusFont->draw(L"H", core::rect<s32>(100, 100, 300, 200), colour);
			driver->endScene();
			const XImageCopy image = x.capture(window);
			best = 0;
			for (uint32_t p : image.pixels)
				best = std::max(best, (int)(p >> 16 & 0xFF));
			return best > 0;
		}));
		return best;
	};
	const int opaque = brightest(video::SColor(0xFFFFFFFF));
	const int faint = brightest(video::SColor(0x40FFFFFF));
	statusFont->useColorAlpha = false;
	const int forced = brightest(video::SColor(0x40FFFFFF));
	EXPECT_GT(opaque, 240);
	EXPECT_LT(faint, 100);
	EXPECT_EQ(forced, opaque);
}

TEST_F(OpenGLFrame, AClipRectangleCutsTheTextAtItsEdge)
{
	const core::rect<s32> clip(0, 0, 140, 599);
	XImageCopy image;
	ASSERT_TRUE(waitUntil([&] {
		driver->beginScene(true, true, video::SColor(0xFF000000));
		statusFont->draw(L"HHHH", core::rect<s32>(100, 100, 400, 200), video::SColor(0xFFFFFFFF), false, false, &clip);
		driver->endScene();
		image = x.capture(window);
		return image.brightPixels(100, 100, 140, 140, 200) > 0;
	}));
	EXPECT_EQ(image.brightPixels(142, 90, 400, 160, 1), 0u);
}
