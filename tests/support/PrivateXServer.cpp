// See PrivateXServer.h.
#include "PrivateXServer.h"
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <algorithm>
#include <csignal>
#include <fcntl.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

bool XImageCopy::showsAnything() const
{
	return std::any_of(pixels.begin(), pixels.end(), [](uint32_t p) { return p != 0; });
}

size_t XImageCopy::differingPixels(const XImageCopy& other) const
{
	size_t n = 0;
	for (size_t i = 0; i < pixels.size() && i < other.pixels.size(); ++i)
		n += pixels[i] != other.pixels[i];
	return n;
}

size_t XImageCopy::brightPixels(int x0, int y0, int x1, int y1, int minimum) const
{
	size_t n = 0;
	for (int y = y0; y < y1; ++y)
		for (int x = x0; x < x1; ++x)
			n += (int)std::min({at(x, y) >> 16 & 0xFF, at(x, y) >> 8 & 0xFF, at(x, y) & 0xFF}) >= minimum;
	return n;
}

namespace
{
int (*defaultErrorHandler)(Display*, XErrorEvent*) = nullptr;

// The windows a test looks at belong to other clients (the game, Wine's helper windows), and any
// of them may be destroyed between two requests. Such a request then fails with BadWindow,
// BadDrawable or BadMatch, which Xlib's default handler answers by ending the whole test process;
// here the request's own call reports the failure instead. Any other error is still fatal.
int toleratingVanishedWindows(Display* display, XErrorEvent* error)
{
	if (error->error_code == BadWindow || error->error_code == BadDrawable || error->error_code == BadMatch)
		return 0;
	return defaultErrorHandler(display, error);
}
}

PrivateXServer::PrivateXServer()
{
	if (!defaultErrorHandler)
		defaultErrorHandler = XSetErrorHandler(toleratingVanishedWindows);
	int fds[2];
	if (pipe(fds) != 0)
		return;
	pid = fork();
	if (pid == 0)
	{
		close(fds[0]);
		const int devnull = open("/dev/null", O_RDWR);
		dup2(devnull, 1);
		dup2(devnull, 2);
		const std::string fd = std::to_string(fds[1]);
		execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "3400x768x24",
			"-nolisten", "tcp", "-noreset", (char*)nullptr);
		_exit(127);
	}
	close(fds[1]);
	std::string number;
	char c;
	while (read(fds[0], &c, 1) == 1 && c != '\n')
		number += c;
	close(fds[0]);
	if (number.empty())
		return;
	displayName = ":" + number;
	display = XOpenDisplay(displayName.c_str());
}

PrivateXServer::~PrivateXServer()
{
	if (display)
		XCloseDisplay(display);
	if (pid > 0)
	{
		kill(pid, SIGTERM);
		waitpid(pid, nullptr, 0);
	}
}

XWindowId PrivateXServer::findWindow(const std::string& caption) const
{
	Window root = DefaultRootWindow(display), parent, *children = nullptr;
	unsigned int count = 0;
	Window found = 0;
	if (!XQueryTree(display, root, &root, &parent, &children, &count))
		return 0;
	for (unsigned int i = 0; i < count && !found; ++i)
		if (windowName(children[i]) == caption)
			found = children[i];
	if (children)
		XFree(children);
	return found;
}

std::string PrivateXServer::windowName(XWindowId window) const
{
	char* name = nullptr;
	const std::string result = XFetchName(display, window, &name) && name ? name : "";
	if (name)
		XFree(name);
	return result;
}

XImageCopy PrivateXServer::capture(XWindowId window) const
{
	XImageCopy copy;
	XWindowAttributes attributes;
	if (!XGetWindowAttributes(display, window, &attributes))
		return copy;
	XImage* image = XGetImage(display, window, 0, 0, attributes.width, attributes.height, AllPlanes, ZPixmap);
	if (!image)
		return copy;
	copy.width = attributes.width;
	copy.height = attributes.height;
	for (int y = 0; y < copy.height; ++y)
		for (int x = 0; x < copy.width; ++x)
			copy.pixels.push_back((uint32_t)(XGetPixel(image, x, y) & 0xFFFFFF));
	XDestroyImage(image);
	return copy;
}

bool waitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout)
{
	const auto end = std::chrono::steady_clock::now() + timeout;
	while (!condition())
	{
		if (std::chrono::steady_clock::now() > end)
			return false;
		std::this_thread::sleep_for(std::chrono::milliseconds(20));
	}
	return true;
}
