// The installed game under Wine, started the way a player starts it: through the Start-menu
// shortcut the setup program made, from an unrelated folder. The shortcut's working directory
// must bring the textures (the golden frames until PLAY), and the window must show the game's
// own icon, not Wine's. Runs in the prefix that tests/windows/setup-program.sh installed into
// (ZARNEL_WIN32_SETUP_SCRATCH, see scripts/test-windows).
#include "GoldenSession.h"
#include "WineGame.h"
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <pwd.h>
#include <unistd.h>
// Last: Xlib's macros (None, Bool, Status) would break the headers above.
#include <X11/Xatom.h>
#include <X11/Xlib.h>

namespace
{
//! The images of the window's _NET_WM_ICON, as the window manager reads them.
std::vector<XImageCopy> windowIcons(Display* display, XWindowId window)
{
	std::vector<XImageCopy> icons;
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
		XImageCopy icon;
		icon.width = (int)values[i];
		icon.height = (int)values[i + 1];
		const unsigned long size = values[i] * values[i + 1];
		i += 2;
		if (size > count - i)
			break;
		icon.pixels.assign(values + i, values + i + size);
		i += size;
		icons.push_back(icon);
	}
	XFree(data);
	return icons;
}

class InstalledGame : public WineGame
{
protected:
	InstalledGame() : WineGame("ZARNEL_WIN32_SETUP_SCRATCH", "/elsewhere") {}

	void SetUp() override
	{
		ASSERT_NO_FATAL_FAILURE(WineGame::SetUp());
		std::filesystem::create_directories(root + "/elsewhere");
		const std::string user = getpwuid(getuid())->pw_name;
		const std::string shortcut = root + "/prefix/drive_c/users/" + user +
			"/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Zarnel.lnk";
		ASSERT_TRUE(std::filesystem::exists(shortcut)) << shortcut;
		// start opens the shortcut as Explorer does, and returns as soon as the game runs.
		game.command = {"wine", "start", "/unix", shortcut};
		game.environment = {"WINEPREFIX=" + root + "/prefix", "HOME=" + root + "/home"};
	}
};
}

TEST_F(InstalledGame, StartedByItsShortcutFromAnotherFolderShowsTheTexturedCubeAndItsOwnWindowIcon)
{
	GoldenSession session(game, "wine-shortcut", {4, 20}, false);
	ASSERT_NO_FATAL_FAILURE(session.playUntilPlay());

	const XWindowId window = x.findWindow("Zarnel");
	ASSERT_NE(window, 0u);
	const XImageCopy ours = readPng("data/icons/32/org.zarnel.Zarnel.png");
	ASSERT_EQ(ours.width, 32);
	bool shown = false;
	std::string sizes;
	for (const XImageCopy& icon : windowIcons(x.display, window))
	{
		sizes += " " + std::to_string(icon.width) + "x" + std::to_string(icon.height);
		shown |= icon.width == ours.width && icon.height == ours.height && icon.pixels == ours.pixels;
	}
	EXPECT_TRUE(shown) << "no image of the window's icon is the game's 32 pixel icon; it has" << sizes;

	// The game is not start's child: it has ended when its window is gone and the prefix is idle.
	game.key("Escape");
	EXPECT_TRUE(waitUntil([&] { return x.findWindow("Zarnel") == 0; }, std::chrono::seconds(30)));
	const std::string settle = "WINEPREFIX='" + root + "/prefix' timeout 60 wineserver -w";
	EXPECT_EQ(std::system(settle.c_str()), 0);
}
