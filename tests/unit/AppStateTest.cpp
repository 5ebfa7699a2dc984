// The program's globals before main (what the first frame and the first click find), and the
// device the game asks the engine for.
#include "AppState.h"
#include "Application.h"
#include "MyEventReceiver.h"
#include <gtest/gtest.h>

TEST(AppState, HoldsItsInitialValuesBeforeMain)
{
	EXPECT_TRUE(statusText == L"press F1 for help");
	EXPECT_FLOAT_EQ(subcubeGap, 0.4f);
	const void* const pointers[] = {device, driver, sceneManager, guiEnv, camera, collisionManager, statusFont,
		helpFont, cube, selectedNode, innerNode, dragNode, playOnImage, playImage, exitOnImage, exitImage};
	for (size_t i = 0; i < sizeof pointers / sizeof pointers[0]; ++i)
		EXPECT_EQ(pointers[i], nullptr) << "pointer " << i;
	EXPECT_FALSE(gameRunning || helpVisible || overPlay || overExit);
}

TEST(AppState, TheGameAsksForAWindowedSixteenBitOpenGLDeviceOf800By600)
{
	MyEventReceiver receiver;
	const irr::SIrrlichtCreationParameters p = gameDeviceParameters(&receiver);
	EXPECT_EQ(p.DriverType, irr::video::EDT_OPENGL);
	EXPECT_EQ(p.WindowSize, irr::core::dimension2d<irr::u32>(800, 600));
	EXPECT_TRUE(p.Bits == 16 && p.ZBufferBits == 16 && p.AntiAlias == 1);
	EXPECT_FALSE(p.Fullscreen || p.Stencilbuffer || p.Vsync || p.WithAlphaChannel || p.IgnoreInput ||
		p.HighPrecisionFPU);
	EXPECT_EQ(p.EventReceiver, &receiver);
	EXPECT_EQ(p.WindowId, nullptr);
}
