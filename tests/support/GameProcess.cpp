// See GameProcess.h.
#include "GameProcess.h"
#include <X11/Xlib.h>
#include <X11/Xatom.h>
#include <X11/extensions/XTest.h>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

const std::string GameProcess::Prompt =
	"Please select the driver you want for this example:\n (a) Direct3D 9.0c\n (b) Direct3D 8.1\n"
	" (c) OpenGL 1.5\n (d) Software Renderer\n (e) Burning's Software Renderer\n (f) NullDevice\n"
	" (otherKey) exit\n\n";

namespace
{
std::string readFile(const std::string& path)
{
	std::ifstream in(path, std::ios::binary);
	std::ostringstream s;
	s << in.rdbuf();
	return s.str();
}
}

GameProcess::GameProcess(PrivateXServer* server, const std::string& workingFolder)
	: server(server), folder(workingFolder)
{
	char out[] = "/tmp/zarnel-stdout-XXXXXX";
	char err[] = "/tmp/zarnel-stderr-XXXXXX";
	close(mkstemp(out));
	close(mkstemp(err));
	outPath = out;
	errPath = err;
}

GameProcess::~GameProcess()
{
	if (pid > 0 && exitStatus < 0)
	{
		kill(pid, SIGKILL);
		waitpid(pid, nullptr, 0);
	}
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
	if (!server)
		return false;
	if (!waitUntil([&] { return (gameWindow = server->findWindow("Zarnel")) != 0; }))
		return false;
	// The window exists before its first frame: wait until something other than black shows.
	return waitUntil([&] { return capture().showsAnything(); });
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

void GameProcess::drag(unsigned int which, int x0, int y0, int x1, int y1)
{
	moveTo(x0, y0);
	button(which, true);
	const int steps = 5;
	for (int i = 1; i <= steps; ++i)
	{
		std::this_thread::sleep_for(dragStepPause);
		moveTo(x0 + (x1 - x0) * i / steps, y0 + (y1 - y0) * i / steps);
	}
	std::this_thread::sleep_for(dragStepPause);
	button(which, false);
}

XImageCopy GameProcess::capture() const
{
	return server->capture(gameWindow);
}

XImageCopy GameProcess::captureSettled()
{
	// Settled means unchanged for a while, longer than a slow frame takes.
	const auto quietFor = std::chrono::milliseconds(300);
	XImageCopy last = capture();
	auto since = std::chrono::steady_clock::now();
	waitUntil([&] {
		const XImageCopy now = capture();
		if (now.differingPixels(last) != 0)
		{
			last = now;
			since = std::chrono::steady_clock::now();
		}
		return std::chrono::steady_clock::now() - since >= quietFor;
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

void GameProcess::writeStdin(const std::string& bytes)
{
	if (write(stdinFd, bytes.data(), bytes.size()) < 0)
		return;
}

std::string GameProcess::stdoutText() const
{
	return readFile(outPath);
}

std::string GameProcess::stderrText() const
{
	return readFile(errPath);
}
