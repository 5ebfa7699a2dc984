// The fixture of the Windows tests: the game under Wine in a private X server, below a folder that
// scripts/test-windows names in an environment variable. Each test's fixture says which variable
// and which folder below it the game starts in, then sets the command.
#ifndef ZARNEL_TEST_WINE_GAME_H
#define ZARNEL_TEST_WINE_GAME_H

#include "GameProcess.h"
#include <chrono>
#include <cstdlib>
#include <gtest/gtest.h>
#include <string>

class WineGame : public ::testing::Test
{
protected:
	//! root: the value of the variable (empty when it is not set); the game starts in root + below.
	WineGame(const char* variable, const std::string& below)
		: root(std::getenv(variable) ? std::getenv(variable) : ""), game{&x, root + below}
	{
		// Wine merges pointer moves that come too quickly into one.
		game.dragStepPause = std::chrono::milliseconds(40);
	}

	void SetUp() override
	{
		ASSERT_FALSE(root.empty()) << "run through scripts/test-windows";
		ASSERT_TRUE(x.ok());
	}

	const std::string root;
	PrivateXServer x;
	GameProcess game;
};

#endif
