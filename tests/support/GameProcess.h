// The black-box helper: starts the built game as a child process with a chosen working folder
// and display, finds its window by caption, drives it with real X input (XTest), reads its
// pixels, asks it to close the way a window manager does, and collects stdout, stderr and the
// exit status. The build passes the game binary's path in as ZARNEL_GAME_BINARY; another command
// (the Windows exe under Wine) can stand in for it.
#ifndef ZARNEL_TEST_GAME_PROCESS_H
#define ZARNEL_TEST_GAME_PROCESS_H

#include "PrivateXServer.h"
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
	//! Pause between the steps of a drag, for an X client that merges quick pointer moves.
	std::chrono::milliseconds dragStepPause{0};

	//! Starts the game; true when the child runs.
	bool start();
	//! Waits for the window captioned "Zarnel" and for its first drawn frame.
	bool waitForWindow();
	XWindowId window() const { return gameWindow; }

	//! Real X input at window pixel (x, y), or on buttons and keys.
	void moveTo(int x, int y);
	void button(unsigned int button, bool down);
	void key(const char* keysym);
	//! A drag with button from one pixel to another, in a few steps.
	void drag(unsigned int button, int x0, int y0, int x1, int y1);

	//! The window's pixels now.
	XImageCopy capture() const;
	//! Waits until the picture has stayed the same for a while, and returns it.
	XImageCopy captureSettled();

	//! Sends WM_DELETE_WINDOW to the game's window.
	void requestClose();
	//! Waits for the child to end; true when it did, with its status in exitStatus.
	bool waitForExit(int timeoutSeconds = 60);
	//! Writes bytes to the child's standard input.
	void writeStdin(const std::string& bytes);

	std::string stdoutText() const;
	std::string stderrText() const;
	int exitStatus = -1;

	//! The game's driver prompt, byte for byte.
	static const std::string Prompt;

private:
	PrivateXServer* server;
	std::string folder;
	std::string outPath;
	std::string errPath;
	int stdinFd = -1;
	pid_t pid = -1;
	XWindowId gameWindow = 0;
};

#endif
