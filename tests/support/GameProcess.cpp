// See GameProcess.h.
#include "GameProcess.h"
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

// The tests run from the source root.
const std::string GameProcess::Prompt = [] {
	std::ostringstream text;
	text << std::ifstream("tests/golden/prompt.txt").rdbuf();
	return text.str();
}();

namespace
{
std::string scratchFile(const char* name)
{
	std::string path = (std::filesystem::temp_directory_path() / name).string() + "-XXXXXX";
	close(mkstemp(&path[0]));
	return path;
}
}

GameProcess::GameProcess(PrivateXServer* server, const std::string& workingFolder)
	: server(server), folder(workingFolder), outPath(scratchFile("zarnel-stdout")), errPath(scratchFile("zarnel-stderr"))
{
}

GameProcess::~GameProcess()
{
	if (pid > 0 && exitStatus < 0 && kill(pid, SIGKILL) == 0)
		waitpid(pid, nullptr, 0);
	if (stdinFd >= 0)
		close(stdinFd);
	unlink(outPath.c_str());
	unlink(errPath.c_str());
}

bool GameProcess::start()
{
	std::vector<char*> argv;
	for (std::string& word : command)
		argv.push_back(&word[0]);
	argv.push_back(nullptr);
	int in[2];
	if (pipe(in) != 0)
		return false;
	pid = fork();
	if (pid == 0)
	{
		dup2(in[0], 0);
		close(in[1]);
		dup2(open(outPath.c_str(), O_WRONLY | O_TRUNC), 1);
		dup2(open(errPath.c_str(), O_WRONLY | O_TRUNC), 2);
		for (std::string& variable : environment)
			putenv(&variable[0]);
		if (server)
			setenv("DISPLAY", server->name().c_str(), 1);
		else
			unsetenv("DISPLAY");
		if (chdir(folder.c_str()) != 0)
			_exit(126);
		execvp(argv[0], argv.data());
		_exit(127);
	}
	close(in[0]);
	stdinFd = in[1];
	return pid > 0;
}

bool GameProcess::waitForWindow()
{
	// The window exists before its first frame: wait until something other than black shows.
	return server && waitUntil([&] { return (gameWindow = server->findWindow("Zarnel")) != 0; }) &&
		waitUntil([&] { return capture().showsAnything(); });
}

void GameProcess::moveTo(int x, int y)
{
	int rootX = 0, rootY = 0;
	Window child;
	XTranslateCoordinates(server->display, gameWindow, DefaultRootWindow(server->display), x, y, &rootX, &rootY, &child);
	XTestFakeMotionEvent(server->display, -1, rootX, rootY, CurrentTime);
	XSync(server->display, False);
}

void GameProcess::button(unsigned int which, bool down)
{
	XTestFakeButtonEvent(server->display, which, down, CurrentTime);
	XSync(server->display, False);
}

void GameProcess::key(const char* keysym)
{
	const KeyCode code = XKeysymToKeycode(server->display, XStringToKeysym(keysym));
	XTestFakeKeyEvent(server->display, code, True, CurrentTime);
	XTestFakeKeyEvent(server->display, code, False, CurrentTime);
	XSync(server->display, False);
}

XImageCopy GameProcess::captureSettled()
{
	// Settled means unchanged for a while, longer than a slow frame takes: at least 300 ms, and four
	// times the longest wait between two changes seen here, since a loaded machine draws slowly.
	std::chrono::steady_clock::duration quietFor = std::chrono::milliseconds(300);
	XImageCopy last = capture();
	auto since = std::chrono::steady_clock::now();
	waitUntil([&] {
		const XImageCopy now = capture();
		const auto at = std::chrono::steady_clock::now();
		if (now.differingPixels(last) != 0)
		{
			last = now;
			quietFor = std::max(quietFor, 4 * (at - since));
			since = at;
		}
		return at - since >= quietFor;
	});
	return last;
}

void GameProcess::requestClose()
{
	Display* d = server->display;
	XEvent ev = {};
	ev.xclient.type = ClientMessage;
	ev.xclient.window = gameWindow;
	ev.xclient.message_type = XInternAtom(d, "WM_PROTOCOLS", False);
	ev.xclient.format = 32;
	ev.xclient.data.l[0] = (long)XInternAtom(d, "WM_DELETE_WINDOW", False);
	ev.xclient.data.l[1] = CurrentTime;
	XSendEvent(d, gameWindow, False, NoEventMask, &ev);
	XSync(d, False);
}

bool GameProcess::waitForExit(int timeoutSeconds)
{
	int status = 0;
	const bool ended = waitUntil([&] { return waitpid(pid, &status, WNOHANG) == pid; },
		std::chrono::seconds(timeoutSeconds));
	if (ended)
		exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
	return ended;
}

bool GameProcess::writeStdin(const std::string& bytes)
{
	return write(stdinFd, bytes.data(), bytes.size()) == (ssize_t)bytes.size();
}

std::string GameProcess::readFile(const std::string& path)
{
	std::ifstream in(path, std::ios::binary);
	std::ostringstream s;
	s << in.rdbuf();
	return s.str();
}
