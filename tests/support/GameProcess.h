// The black-box helper: starts the built game (ZARNEL_GAME_BINARY, or another command such as
// the Windows exe under Wine) in a chosen folder, display and environment, finds its window,
// drives it with real X input (XTest), reads its pixels, closes it the way a window manager does,
// and collects stdout, stderr and the exit status.
#ifndef ZARNEL_TEST_GAME_PROCESS_H
#define ZARNEL_TEST_GAME_PROCESS_H

#include "PrivateXServer.h"
#include "Screen.h"
#include <chrono>
#include <string>
#include <vector>

class GameProcess
{
public:
	//! Nothing started yet; server may be null for a run without any display.
	GameProcess(PrivateXServer* server, const std::string& workingFolder);
	~GameProcess();

	//! The program and its arguments to start instead of the built game, e.g. {"wine", exe}.
	std::vector<std::string> command{ZARNEL_GAME_BINARY};
	//! Variables added to the child's environment, each "NAME=value".
	std::vector<std::string> environment;
	//! Pause between the steps of a drag, for an X client that merges quick pointer moves.
	std::chrono::milliseconds dragStepPause{0};

	//! Starts the game; true when the child runs.
	bool start();
	//! Waits for the window captioned "Zarnel" and for its first drawn frame.
	bool waitForWindow();

	//! Real X input at window pixel (x, y), or on buttons and keys.
	void moveTo(int x, int y);
	void moveTo(ScreenPoint p) { moveTo(p.x, p.y); }
	void button(unsigned int button, bool down);
	void key(const char* keysym);

	//! The window's pixels now.
	XImageCopy capture() const { return server->capture(gameWindow); }
	//! Waits until the picture has stayed the same for a while, and returns it.
	XImageCopy captureSettled();

	//! Sends WM_DELETE_WINDOW to the game's window.
	void requestClose();
	//! Waits for the child to end; true when it did, with its status in exitStatus.
	bool waitForExit(int timeoutSeconds = 60);
	//! Writes bytes to the child's standard input; true when all were written.
	bool writeStdin(const std::string& bytes);

	std::string stdoutText() const { return readFile(outPath); }
	std::string stderrText() const { return readFile(errPath); }
	int exitStatus = -1;

	//! The game's driver prompt, byte for byte (tests/golden/prompt.txt, shared with the browser tests).
	static const std::string Prompt;

private:
	static std::string readFile(const std::string& path);

	PrivateXServer* server;
	std::string folder;
	std::string outPath;
	std::string errPath;
	int stdinFd = -1;
	pid_t pid = -1;
	XWindowId gameWindow = 0;
};

#endif
