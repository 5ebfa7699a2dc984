// The installed game under Wine, started the way a player starts it: through the Start-menu
// shortcut the setup program made, from an unrelated folder. The shortcut's working directory
// must bring the textures (the golden frames until PLAY), and the window must show the game's
// own icon, not Wine's. Runs in the prefix that tests/windows/setup.sh installed into
// (ZARNEL_WIN32_SETUP_SCRATCH, see scripts/test-windows).
#include "GoldenSession.h"
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <irrlicht.h>
#include <pwd.h>
#include <unistd.h>
// Last: Xlib's macros (None, Bool, Status) would break the headers above.
#include <X11/Xatom.h>
#include <X11/Xlib.h>

using namespace irr;

namespace
{
struct Icon
{
	unsigned long width = 0, height = 0;
	std::vector<uint32_t> argb;
};

//! The images of the window's _NET_WM_ICON, as the window manager reads them.
std::vector<Icon> windowIcons(Display* display, XWindowId window)
{
	std::vector<Icon> icons;
	Atom type = 0;
	int format = 0;
	unsigned long count = 0, after = 0;
	unsigned char* data = nullptr;
	if (XGetWindowProperty(display, window, XInternAtom(display, "_NET_WM_ICON", False), 0, 1 << 20, False,
		XA_CARDINAL, &type, &format, &count, &after, &data) != Success || !data)
		return icons;
	// Format 32 arrives as longs.
	const unsigned long* values = reinterpret_cast<const unsigned long*>(data);
	for (unsigned long i = 0; i + 2 <= count;)
	{
		Icon icon;
		icon.width = values[i];
		icon.height = values[i + 1];
		i += 2;
		if (icon.width * icon.height > count - i)
			break;
		for (unsigned long k = 0; k < icon.width * icon.height; ++k)
			icon.argb.push_back((uint32_t)values[i + k]);
		i += icon.width * icon.height;
		icons.push_back(icon);
	}
	XFree(data);
	return icons;
}

//! A PNG's pixels as ARGB, read by the engine on a null device.
Icon readPng(const char* path)
{
	Icon icon;
	IrrlichtDevice* device = createDevice(video::EDT_NULL);
	video::IImage* image = device->getVideoDriver()->createImageFromFile(path);
	if (image)
	{
		icon.width = image->getDimension().Width;
		icon.height = image->getDimension().Height;
		for (u32 y = 0; y < icon.height; ++y)
			for (u32 x = 0; x < icon.width; ++x)
				icon.argb.push_back(image->getPixel(x, y).color);
		image->drop();
	}
	device->drop();
	return icon;
}

class InstalledGame : public ::testing::Test
{
protected:
	void SetUp() override
	{
		ASSERT_FALSE(scratch.empty()) << "run through scripts/test-windows";
		ASSERT_TRUE(x.ok());
		std::filesystem::create_directories(elsewhere);
		const std::string user = getpwuid(getuid())->pw_name;
		const std::string shortcut = scratch + "/prefix/drive_c/users/" + user +
			"/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Zarnel.lnk";
		ASSERT_TRUE(std::filesystem::exists(shortcut)) << shortcut;
		// start opens the shortcut as Explorer does, and returns as soon as the game runs.
		game.command = {"wine", "start", "/unix", shortcut};
		game.environment = {"WINEPREFIX=" + scratch + "/prefix", "HOME=" + scratch + "/home"};
		game.dragStepPause = std::chrono::milliseconds(40);
	}

	const std::string scratch = std::getenv("ZARNEL_WIN32_SETUP_SCRATCH") ? std::getenv("ZARNEL_WIN32_SETUP_SCRATCH") : "";
	const std::string elsewhere = scratch + "/elsewhere";
	PrivateXServer x;
	GameProcess game{&x, elsewhere};
};
}

TEST_F(InstalledGame, StartedByItsShortcutFromAnotherFolderShowsTheTexturedCubeAndItsOwnWindowIcon)
{
	GoldenSession session(game, "wine-shortcut", {4, 20}, false);
	ASSERT_NO_FATAL_FAILURE(session.playUntilPlay());

	const XWindowId window = x.findWindow("Zarnel");
	ASSERT_NE(window, 0u);
	const Icon ours = readPng("data/icons/32/org.zarnel.Zarnel.png");
	ASSERT_EQ(ours.width, 32u);
	const std::vector<Icon> icons = windowIcons(x.display, window);
	bool shown = false;
	std::string sizes;
	for (const Icon& icon : icons)
	{
		sizes += " " + std::to_string(icon.width) + "x" + std::to_string(icon.height);
		shown |= icon.width == ours.width && icon.height == ours.height && icon.argb == ours.argb;
	}
	EXPECT_TRUE(shown) << "no image of the window's icon is the game's 32 pixel icon; it has" << sizes;

	// The game is not start's child: it has ended when its window is gone and the prefix is idle.
	game.key("Escape");
	EXPECT_TRUE(waitUntil([&] { return x.findWindow("Zarnel") == 0; }, std::chrono::seconds(30)));
	const std::string settle = "WINEPREFIX='" + scratch + "/prefix' timeout 60 wineserver -w";
	EXPECT_EQ(std::system(settle.c_str()), 0);
}
