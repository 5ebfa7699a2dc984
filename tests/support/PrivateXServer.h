// A private Xvfb for one test process, so that windows, pointer and keyboard of parallel tests
// never meet. It keeps its own connection open for the whole test (a bare Xvfb forgets its atoms
// whenever the last client leaves) and is killed when the object is destroyed. Its screen is
// 3400 pixels wide: a pointer can move 1800 pixels right of a window centred on it. Also: window
// pixels read at the X level, since the engine's own screenshot reads black under llvmpipe.
// A window that vanishes under a request reads as gone (empty name, no pixels).
#ifndef ZARNEL_TEST_PRIVATE_X_SERVER_H
#define ZARNEL_TEST_PRIVATE_X_SERVER_H

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <string>
#include <sys/types.h>
#include <vector>

// The X types the tests pass around, declared here so that Xlib's macros stay out of the tests.
struct _XDisplay;
typedef unsigned long XWindowId;

//! A picture read from a window: width x height pixels as 0xRRGGBB.
struct XImageCopy
{
	int width = 0, height = 0;
	std::vector<uint32_t> pixels;

	uint32_t at(int x, int y) const { return pixels[(size_t)y * width + x]; }
	//! Something other than black shows: a frame has been presented.
	bool showsAnything() const;
	//! Number of pixels that differ from other's (both must have the same size).
	size_t differingPixels(const XImageCopy& other) const;
	//! Number of pixels in the rectangle [x0,x1) x [y0,y1) whose every channel is at least minimum.
	size_t brightPixels(int x0, int y0, int x1, int y1, int minimum) const;
};

class PrivateXServer
{
public:
	PrivateXServer();
	~PrivateXServer();

	//! True when the server is up and connected.
	bool ok() const { return display != nullptr; }
	//! The DISPLAY value, e.g. ":5".
	const std::string& name() const { return displayName; }
	//! Makes this server the process's DISPLAY.
	void makeCurrent() const { setenv("DISPLAY", displayName.c_str(), 1); }

	//! The first top-level window whose WM_NAME is caption, or 0.
	XWindowId findWindow(const std::string& caption) const;
	//! The window's WM_NAME; empty when it has none or no longer exists.
	std::string windowName(XWindowId window) const;
	//! The window's pixels.
	XImageCopy capture(XWindowId window) const;

	_XDisplay* display = nullptr;

private:
	pid_t pid = -1;
	std::string displayName;
};

//! Polls condition until it holds or timeout passes; true when it held. No fixed sleeps: the
//! poll interval is short and the timeout generous.
bool waitUntil(const std::function<bool()>& condition,
	std::chrono::milliseconds timeout = std::chrono::seconds(60));

#endif
