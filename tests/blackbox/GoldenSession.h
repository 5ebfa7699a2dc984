// The golden session: one scripted game of the real program, played with real X input, in which
// each step's settled frame is compared with a reference PNG under tests/golden/. The Linux game
// and the Windows game under Wine play the same script against the same references. A mismatch
// writes the actual frame and a diff image to the build folder and names them; in update mode a
// reference is rewritten from the frame instead.
#ifndef ZARNEL_TEST_GOLDEN_SESSION_H
#define ZARNEL_TEST_GOLDEN_SESSION_H

#include "GameProcess.h"
#include "Screen.h"
#include <functional>
#include <set>

//! How far a frame may stray from its reference: a pixel differs when one of its channels is off
//! by more than channel; at most pixels pixels may differ.
struct FrameTolerance { int channel; size_t pixels; };

//! A PNG file's pixels as 0xAARRGGBB (empty when it cannot be read), by the engine's own loader.
XImageCopy readPng(const std::string& path);

//! One layer turn: axis 0 = X, 1 = Y, 2 = Z; layer 0..2; direction +1 or -1.
struct LayerTurnMove { int axis, layer, direction; };

class GoldenSession
{
public:
	//! label names the mismatch files.
	GoldenSession(GameProcess& game, const std::string& label, FrameTolerance tolerance, bool update)
		: game(game), label(label), tolerance(tolerance), update(update) {}

	//! Starts the game: the first frame, F1 shown and hidden, PLAY and EXIT hovered.
	void playUntilPlay();
	//! PLAY and its animated scramble, which must be scramble; its frames are compared only when
	//! compareFrames is set.
	void playScramble(const std::vector<LayerTurnMove>& scramble, bool compareFrames);
	//! A right drag, a layer drag on the turned cube and its reverse, the cube turned back, the
	//! scramble undone by drags, and the win.
	void playToWin();
	//! Esc: the game must end at once with status 0.
	void pressEscape();

private:
	//! Runs action, waits for the picture to change and settle, and compares it with reference.
	void step(const char* reference, const std::function<void()>& action);
	void expectMatches(const std::string& reference);
	//! A drag in five steps, then one more move of lastStepX pixels to the right when not 0.
	void drag(unsigned int button, ScreenPoint from, ScreenPoint to, int lastStepX = 0);

	GameProcess& game;
	std::string label;
	FrameTolerance tolerance;
	bool update, compare = true;
	int checks = 0;
	std::set<std::string> written;
	std::vector<LayerTurnMove> scramble;
	XImageCopy frame;
	CubePose pose;
};

#endif
