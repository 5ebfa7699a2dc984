// The golden session of the built game. libfaketime holds the game's wall clock at a fixed time
// until the first frame shows, so that srand(time) seeds the same scramble however long the start
// takes. Then the clock runs on ("@"): the game paces the frames of a layer turn on the wall clock,
// which a stopped clock stalls (a real monotonic clock does not help).
#include "GoldenSession.h"
#include "ScratchFolder.h"
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <unistd.h>

namespace
{
// 2024-03-01 12:00:00 UTC.
const unsigned StartTime = 1709294400;

// The five turns of the scramble after srand(seed): three numbers each from the C library's
// rand(), drawn in the order axis, layer, direction (odd +1, even -1).
std::vector<LayerTurnMove> scrambleAfter(unsigned seed)
{
	srand(seed);
	std::vector<LayerTurnMove> turns(5);
	for (LayerTurnMove& turn : turns)
	{
		turn.axis = rand() % 3;
		turn.layer = rand() % 3;
		turn.direction = rand() % 2 ? 1 : -1;
	}
	return turns;
}
}

TEST(GoldenSession, AScriptedGameFromTheFirstFrameToAWinShowsTheReferenceFrames)
{
	PrivateXServer x;
	ASSERT_TRUE(x.ok());
	GameProcess game(&x, ".");
	// libfaketime reads the clock from this file, again a second after it last did.
	const ScratchFolder scratch("zarnel-clock");
	ASSERT_FALSE(scratch.path.empty());
	const std::string clock = (scratch.path / "clock").string();
	std::ofstream(clock) << StartTime << "\n";
	game.environment = {"LD_PRELOAD=" ZARNEL_FAKETIME_LIBRARY, "FAKETIME_TIMESTAMP_FILE=" + clock,
		"FAKETIME_CACHE_DURATION=1", "FAKETIME_FMT=%s", "FAKETIME_DONT_FAKE_MONOTONIC=1",
		// A sanitized game would refuse to start with libfaketime loaded ahead of its runtime.
		std::string("ASAN_OPTIONS=verify_asan_link_order=0:") + (std::getenv("ASAN_OPTIONS") ? std::getenv("ASAN_OPTIONS") : "")};
	const char* update = std::getenv("ZARNEL_UPDATE_GOLDEN");
	GoldenSession session(game, "linux", {16, 20}, update && std::string(update) == "1");
	ASSERT_NO_FATAL_FAILURE(session.playUntilPlay());
	std::ofstream(clock) << "@" << StartTime << "\n";
	ASSERT_NO_FATAL_FAILURE(session.playScramble(scrambleAfter(StartTime), true));
	ASSERT_NO_FATAL_FAILURE(session.playToWin());
	// The win line is out as soon as the cube is solved, not only when the game ends.
	const std::string output = GameProcess::Prompt + "congratulations,you win!\n";
	EXPECT_EQ(game.stdoutText(), output);
	ASSERT_NO_FATAL_FAILURE(session.pressEscape());
	EXPECT_EQ(game.stdoutText(), output);
}
