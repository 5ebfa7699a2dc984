// The test X server's reads of other clients' windows. Under Wine, helper windows come and go
// while a test walks the window list; a window destroyed between two requests must read as gone
// rather than end the test process.
// gtest before Xlib, whose macros (None, Bool) would break gtest's own names.
#include "PrivateXServer.h"
#include <gtest/gtest.h>
#include <X11/Xlib.h>

TEST(PrivateXServerReads, AWindowDestroyedByItsClientReadsAsGoneAndTheTestGoesOn)
{
	PrivateXServer x;
	ASSERT_TRUE(x.ok());
	Display* other = XOpenDisplay(x.name().c_str());
	ASSERT_NE(other, nullptr);
	const Window window = XCreateSimpleWindow(other, DefaultRootWindow(other), 0, 0, 64, 48, 0, 0, 0);
	XStoreName(other, window, "Vanishing");
	XMapWindow(other, window);
	XSync(other, False);
	ASSERT_EQ(x.findWindow("Vanishing"), window);

	// Closing the connection destroys the window; the id the test holds is now stale.
	XCloseDisplay(other);
	ASSERT_TRUE(waitUntil([&] { return x.findWindow("Vanishing") == 0; }));
	int width = -1, height = -1;
	EXPECT_EQ(x.windowName(window), "");
	EXPECT_FALSE(x.windowSize(window, width, height));
	EXPECT_TRUE(x.capture(window).pixels.empty());
}
