// The program's globals before main: what the first frame and the first click find.
#include "AppState.h"
#include <gtest/gtest.h>

TEST(AppState, HoldsItsInitialValuesBeforeMain)
{
	EXPECT_TRUE(statusText == L"press F1 for help");
	EXPECT_FLOAT_EQ(subcubeGap, 0.4f);
	EXPECT_EQ(device, nullptr);
	EXPECT_EQ(cube, nullptr);
	EXPECT_EQ(statusFont, nullptr);
	EXPECT_EQ(selectedNode, nullptr);
	EXPECT_FALSE(gameRunning);
	EXPECT_FALSE(helpVisible);
	EXPECT_FALSE(overPlay);
	EXPECT_FALSE(overExit);
}
