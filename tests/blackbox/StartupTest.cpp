// The built game's ways in and out that the golden session does not take: without a display,
// started with another kind of file at the font path and bytes on its standard input, closed by
// the window manager, and left through EXIT. Also the test X server's reads of windows that
// vanish: under Wine, helper windows come and go while a test walks the window list.
#include "GameProcess.h"
#include "ScratchFolder.h"
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <unistd.h>
// After gtest: Xlib's macros (None, Bool) would break gtest's own names.
#include <X11/Xlib.h>

namespace fs = std::filesystem;

TEST(Startup, WithoutADisplayTheStatusIsOneAndStdoutHoldsOnlyThePrompt)
{
	GameProcess game(nullptr, ".");
	ASSERT_TRUE(game.start());
	ASSERT_TRUE(game.waitForExit());
	EXPECT_EQ(game.exitStatus, 1);
	EXPECT_EQ(game.stdoutText(), GameProcess::Prompt);
}

TEST(Startup, WhateverTheFontFileAndStdinTheStatusLineShowsAndClosingTheWindowEndsWithStatusZero)
{
	// A copy of media/ whose font file is in turn a TrueType, an OpenType and a bitmap font, an
	// empty file and random bytes.
	const ScratchFolder scratch("zarnel-font");
	const fs::path& folder = scratch.path;
	ASSERT_FALSE(folder.empty());
	fs::copy("media", folder / "media", fs::copy_options::recursive);
	const fs::path font = folder / "media" / "ANTQUAB.TTF";
	for (const std::string source : {"media/ANTQUAB.TTF", ZARNEL_OTF_FONT, ZARNEL_PCF_FONT, "empty", "random"})
	{
		SCOPED_TRACE(source);
		std::ofstream out(font, std::ios::binary | std::ios::trunc);
		for (int i = 0; source == "random" && i < 5000; ++i)
			out.put((char)(i * 7919 % 251));
		out.close();
		if (source != "empty" && source != "random")
			fs::copy_file(source, font, fs::copy_options::overwrite_existing);
		PrivateXServer x;
		ASSERT_TRUE(x.ok());
		GameProcess game(&x, folder.string());
		ASSERT_TRUE(game.start());
		EXPECT_TRUE(game.writeStdin("a\nb\nf\n\x1b\n"));
		ASSERT_TRUE(game.waitForWindow());
		game.moveTo(Background);
		game.key("F1"); // the instructions too are drawn with that face
		EXPECT_TRUE(waitUntil([&] { return game.capture().brightPixels(30, 30, 300, 90, 250) > 30; }));
		game.requestClose();
		ASSERT_TRUE(game.waitForExit());
		EXPECT_EQ(game.exitStatus, 0);
		EXPECT_EQ(game.stdoutText(), GameProcess::Prompt);
		// The engine's log went to standard error instead.
		EXPECT_NE(game.stderrText().find("Irrlicht Engine version"), std::string::npos);
	}
}

TEST(Startup, AClickOnExitEndsTheGameAtOnceWithStatusZero)
{
	PrivateXServer x;
	ASSERT_TRUE(x.ok());
	GameProcess game(&x, ".");
	ASSERT_TRUE(game.start());
	ASSERT_TRUE(game.waitForWindow());
	game.moveTo(OnExit);
	game.button(1, true);
	ASSERT_TRUE(game.waitForExit(30));
	EXPECT_EQ(game.exitStatus, 0);
	EXPECT_EQ(game.stdoutText(), GameProcess::Prompt);
}

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
	EXPECT_EQ(x.windowName(window), "");
	EXPECT_TRUE(x.capture(window).pixels.empty());
}
