// The game's benchmarks. With a display they measure the real OpenGL device: a full drawFrame
// against a bare frame on the same device, and the text drawing, cached and first time. On the
// null driver: one layer turn, the frames inside it, and memory and scene size after many turns.
// Start-up is measured across processes: this program starts itself as a child that reports its
// first frame, once with the game's whole set-up and once with a bare device, and once more
// reporting the time of each set-up phase. No figure is a difference of two measurements.
// Usage: zarnel_bench [benchmark options]; run from the repository root (media/ is read).
#include "Application.h"
#include "AppState.h"
#include "CGUITTFace.h"
#include "CGUITTFont.h"
#include "CubeModel.h"
#include "Frame.h"
#include "LayerTurn.h"
#include "MyEventReceiver.h"
#include <algorithm>
#include <X11/Xlib.h>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <tuple>
#include <vector>

using namespace irr;

namespace
{
// The globals a game's set-up fills, by reference (the device first), and the type of their values.
auto globals()
{
	return std::tie(device, driver, sceneManager, guiEnv, camera, collisionManager, statusFont, helpFont, cube);
}
template <typename... T> std::tuple<T...> valuesOf(std::tuple<T&...>);

// One game set up on a device of the given driver. The engine's OpenGL device cannot be made twice
// in one process, so the OpenGL game is made once and kept; use() puts a game's objects back into
// the program's globals before a benchmark runs on it.
class Game
{
public:
	explicit Game(video::E_DRIVER_TYPE type)
	{
		resetAppState();
		if (!openGameDevice(&receiver, type))
			return;
		setupAll(statusFace, helpFace);
		drawFrame(cube);
		keep();
	}
	~Game()
	{
		use();
		teardownGame();
	}
	bool ok() const { return std::get<0>(state) != 0; }

	//! Makes this game the one the globals describe.
	Game& use()
	{
		globals() = state;
		return *this;
	}

	//! The OpenGL game of this process, or 0 without a display.
	static Game* openGL()
	{
		static Game* game = new Game(video::EDT_OPENGL); // kept until the process ends
		return game->ok() ? &game->use() : 0;
	}

private:
	void keep() { state = globals(); }

	MyEventReceiver receiver;
	gui::CGUITTFace statusFace;
	gui::CGUITTFace helpFace;
	decltype(valuesOf(globals())) state;
};

// Waits until the X server has shown the frame. Presenting is asynchronous under Xvfb: without
// this a frame would be timed before the server has done its part, and the server's backlog
// would slow down whatever is measured next.
void waitForPresent()
{
	XSync((Display*)driver->getExposedVideoData().OpenGLLinux.X11Display, False);
}

u32 sceneNodeCount(scene::ISceneNode* node)
{
	u32 n = 1;
	for (auto it = node->getChildren().begin(); it != node->getChildren().end(); ++it)
		n += sceneNodeCount(*it);
	return n;
}

double residentMegabytes()
{
	long pages = 0, resident = 0;
	FILE* f = fopen("/proc/self/statm", "r");
	if (f)
	{
		if (fscanf(f, "%ld %ld", &pages, &resident) != 2)
			resident = 0;
		fclose(f);
	}
	return resident * (double)sysconf(_SC_PAGESIZE) / (1024.0 * 1024.0);
}

void BM_BareFrame(benchmark::State& state)
{
	if (!Game::openGL())
		return state.SkipWithError("no OpenGL device (no display?)");
	for (auto _ : state)
	{
		driver->beginScene(true, true, video::SColor(0xFF000000));
		driver->endScene();
		waitForPresent();
	}
}

void BM_DrawFrame(benchmark::State& state)
{
	if (!Game::openGL())
		return state.SkipWithError("no OpenGL device (no display?)");
	helpVisible = state.range(0) != 0;
	for (auto _ : state)
	{
		drawFrame(cube);
		waitForPresent();
	}
	helpVisible = false;
}

void BM_TextCached(benchmark::State& state)
{
	if (!Game::openGL())
		return state.SkipWithError("no OpenGL device (no display?)");
	const bool instructions = state.range(0) != 0;
	gui::CGUITTFont* font = instructions ? helpFont : statusFont;
	const core::stringw text = instructions ? InstructionsText : statusText.c_str();
	const core::rect<s32> area = instructions ? InstructionsArea : StatusArea;
	font->draw(text, area, video::SColor(0xFFFFFFFF));
	const u32 rasterised = gui::CGUITTGlyph::rasterizeCount;
	const u32 textures = gui::CGUITTGlyph::textureCount;
	for (auto _ : state)
	{
		driver->beginScene(true, true, video::SColor(0xFF000000));
		font->draw(text, area, video::SColor(0xFFFFFFFF));
		driver->endScene();
		waitForPresent();
	}
	state.counters["rasterised/frame"] = benchmark::Counter(
		gui::CGUITTGlyph::rasterizeCount - rasterised, benchmark::Counter::kAvgIterations);
	state.counters["textures/frame"] = benchmark::Counter(
		gui::CGUITTGlyph::textureCount - textures, benchmark::Counter::kAvgIterations);
}

void BM_TextFirstDraw(benchmark::State& state)
{
	if (!Game::openGL())
		return state.SkipWithError("no OpenGL device (no display?)");
	const bool instructions = state.range(0) != 0;
	const core::stringw text = instructions ? InstructionsText : statusText.c_str();
	for (auto _ : state)
	{
		state.PauseTiming();
		gui::CGUITTFace face;
		face.loadFile("media/ANTQUAB.TTF");
		gui::CGUITTFont* font = new gui::CGUITTFont(guiEnv);
		font->bindFace(&face, instructions ? 15 : 20);
		state.ResumeTiming();
		font->draw(text, StatusArea, video::SColor(0xFFFFFFFF));
		state.PauseTiming();
		font->drop();
		state.ResumeTiming();
	}
}

void BM_TurnOnNullDriver(benchmark::State& state)
{
	Game game(video::EDT_NULL);
	s32 i = 0;
	for (auto _ : state)
	{
		turnLayer(i % 3, (i / 3) % 3, 1, core::vector3df(0, 0, 0));
		++i;
	}
}

void BM_FrameOnNullDriver(benchmark::State& state)
{
	Game game(video::EDT_NULL);
	for (auto _ : state)
		drawFrame(cube);
}

void BM_ManyTurns(benchmark::State& state)
{
	Game game(video::EDT_NULL);
	const s32 turns = (s32)state.range(0);
	for (auto _ : state)
		for (s32 i = 0; i < turns; ++i)
			turnLayer(i % 3, (i / 3) % 3, (i % 2) ? 1 : -1, core::vector3df(0.01f, 0.01f, 0.01f));
	state.counters["scene nodes"] = sceneNodeCount(sceneManager->getRootSceneNode());
	state.counters["RSS MB"] = residentMegabytes();
}

BENCHMARK(BM_BareFrame)->Repetitions(5)->MinTime(0.5)->MinWarmUpTime(0.2);
BENCHMARK(BM_DrawFrame)->Arg(0)->Arg(1)->Repetitions(5)->MinTime(0.5)->MinWarmUpTime(0.2);
BENCHMARK(BM_TextCached)->Arg(0)->Arg(1)->Repetitions(5);
BENCHMARK(BM_TextFirstDraw)->Arg(0)->Arg(1)->Repetitions(5)->Iterations(20);
BENCHMARK(BM_TurnOnNullDriver)->Repetitions(5);
BENCHMARK(BM_FrameOnNullDriver)->Repetitions(5);
BENCHMARK(BM_ManyTurns)->Arg(10)->Arg(100)->Arg(1000)->Iterations(1);

// Keeps every single run's time per benchmark name, for min / median / max and the ratios.
class RecordingReporter : public benchmark::ConsoleReporter
{
public:
	void ReportRuns(const std::vector<Run>& runs) override
	{
		for (const Run& run : runs)
			if (run.run_type == Run::RT_Iteration && !run.error_occurred)
				times[run.run_name.function_name + (run.run_name.args.empty() ? "" : "/" + run.run_name.args)]
					.push_back(run.GetAdjustedRealTime());
		ConsoleReporter::ReportRuns(runs);
	}
	std::map<std::string, std::vector<double>> times;
};

struct Spread
{
	double min = 0, median = 0, max = 0;
};

// The spread of v, each value times scale (Google Benchmark reports nanoseconds).
Spread spreadOf(std::vector<double> v, double scale = 1.0)
{
	for (double& x : v)
		x *= scale;
	Spread s;
	if (v.empty())
		return s;
	std::sort(v.begin(), v.end());
	s.min = v.front();
	s.median = v[v.size() / 2];
	s.max = v.back();
	return s;
}

// Writes a child's report and closes the pipe at once, so that the parent's clock stops at the
// report and not after the child's shutdown. 0 when the whole report was written.
int sendReport(int reportFd, const std::string& report)
{
	const bool sent = write(reportFd, report.data(), report.size()) == (ssize_t)report.size();
	close(reportFd);
	return sent ? 0 : 1;
}

// Child mode: set up (or not), draw the first frame, report "y" (or "n" without a device) and leave.
int firstFrameChild(bool full, int reportFd)
{
	MyEventReceiver receiver;
	if (full)
		Game::openGL();
	else
	{
		if (openGameDevice(&receiver, video::EDT_OPENGL))
		{
			device->getVideoDriver()->beginScene(true, true, video::SColor(0xFF000000));
			device->getVideoDriver()->endScene();
		}
	}
	return sendReport(reportFd, device ? "y" : "n");
}

std::chrono::steady_clock::time_point phaseStart;
std::string phaseReport;

void notePhase(const char* phase)
{
	const auto now = std::chrono::steady_clock::now();
	phaseReport += std::string(phase) + "\t" +
		std::to_string(std::chrono::duration<double, std::milli>(now - phaseStart).count()) + "\n";
	phaseStart = now;
}

// Child mode: the game's start-up phase by phase, from main to the first frame the X server has
// shown, as lines "phase<TAB>milliseconds" on the pipe.
int startupPhasesChild(int reportFd)
{
	MyEventReceiver receiver;
	gui::CGUITTFace statusFace;
	gui::CGUITTFace helpFace;
	phaseStart = std::chrono::steady_clock::now();
	if (!openGameDevice(&receiver, video::EDT_OPENGL))
		return 1;
	notePhase("device");
	setupAll(statusFace, helpFace, notePhase);
	drawFrame(cube);
	waitForPresent();
	notePhase("first frame");
	return sendReport(reportFd, phaseReport);
}

// Starts this program as a child in the given mode; returns what it wrote on its pipe and the
// milliseconds from the start until the pipe closed.
std::string runChild(const char* self, const char* mode, double& milliseconds)
{
	int fds[2];
	if (pipe(fds) != 0)
		return "";
	const auto start = std::chrono::steady_clock::now();
	const pid_t pid = fork();
	if (pid == 0)
	{
		close(fds[0]);
		const std::string fd = std::to_string(fds[1]);
		execl(self, self, "--child", mode, fd.c_str(), (char*)0);
		_exit(127);
	}
	close(fds[1]);
	std::string report;
	char buffer[256];
	ssize_t n;
	while ((n = read(fds[0], buffer, sizeof(buffer))) > 0)
		report.append(buffer, (size_t)n);
	milliseconds = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
	close(fds[0]);
	waitpid(pid, 0, 0);
	return report;
}

// Milliseconds from starting a child until it reports its first frame.
std::vector<double> firstFrameTimes(const char* self, const char* mode, int runs)
{
	std::vector<double> times;
	for (int i = 0; i < runs; ++i)
	{
		double ms = 0;
		if (runChild(self, mode, ms) == "y")
			times.push_back(ms);
	}
	return times;
}

// Each phase's milliseconds over several starts, in the order the game runs them.
std::vector<std::pair<std::string, std::vector<double>>> startupPhases(const char* self, int runs)
{
	std::vector<std::pair<std::string, std::vector<double>>> phases;
	for (int i = 0; i < runs; ++i)
	{
		double ms = 0;
		const std::string report = runChild(self, "phases", ms);
		size_t line = 0;
		for (size_t begin = 0, end; (end = report.find('\n', begin)) != std::string::npos; begin = end + 1, ++line)
		{
			const std::string text = report.substr(begin, end - begin);
			const size_t tab = text.find('\t');
			if (line == phases.size())
				phases.push_back({text.substr(0, tab), {}});
			phases[line].second.push_back(atof(text.c_str() + tab + 1));
		}
	}
	return phases;
}

void printRatio(const char* what, const Spread& a, const Spread& b, const char* unit, double goal)
{
	printf("%-44s %9.3f %9.3f %9.3f  vs %9.3f %9.3f %9.3f %s   ratio of medians %.2f (goal <= %.1f)\n", what,
		a.min, a.median, a.max, b.min, b.median, b.max, unit, b.median > 0 ? a.median / b.median : 0.0, goal);
}

void printSpread(const char* what, const Spread& s, const char* unit)
{
	printf("%-44s %9.3f %9.3f %9.3f %s\n", what, s.min, s.median, s.max, unit);
}

// Draws frames of every kind once before anything is timed, so that no benchmark pays for the
// first rasterising of the glyphs or the driver's first use of a texture.
void warmUp()
{
	if (!Game::openGL())
		return;
	for (int i = 0; i < 20; ++i)
	{
		helpVisible = i % 2 != 0;
		drawFrame(cube);
		waitForPresent();
	}
	helpVisible = false;
}
}

int main(int argc, char** argv)
{
	if (argc == 4 && strcmp(argv[1], "--child") == 0)
	{
		// The engine logs to our receiver, which writes to stderr: keep the report quiet.
		freopen("/dev/null", "w", stderr);
		if (strcmp(argv[2], "phases") == 0)
			return startupPhasesChild(atoi(argv[3]));
		return firstFrameChild(strcmp(argv[2], "game") == 0, atoi(argv[3]));
	}
	freopen("/dev/null", "w", stderr);
	// Repetitions of different benchmarks interleaved at random: a benchmark that always ran
	// after another would inherit its state (the X server's backlog, the caches, the clock).
	std::vector<char*> args(argv, argv + argc);
	char interleave[] = "--benchmark_enable_random_interleaving=true";
	args.insert(args.begin() + 1, interleave);
	int count = (int)args.size();
	benchmark::Initialize(&count, args.data());
	warmUp();
	RecordingReporter reporter;
	benchmark::RunSpecifiedBenchmarks(&reporter);

	const std::vector<double> gameStart = firstFrameTimes(argv[0], "game", 10);
	const std::vector<double> bareStart = firstFrameTimes(argv[0], "bare", 10);

	printf("\nSummary (min / median / max over repetitions)\n");
	const Spread bare = spreadOf(reporter.times["BM_BareFrame"], 1e-3);
	printRatio("drawFrame vs bare frame", spreadOf(reporter.times["BM_DrawFrame/0"], 1e-3), bare, "us", 2.0);
	printRatio("drawFrame with help vs bare frame", spreadOf(reporter.times["BM_DrawFrame/1"], 1e-3), bare, "us", 2.0);
	printRatio("start to first full frame vs bare", spreadOf(gameStart), spreadOf(bareStart), "ms", 1.3);
	printSpread("a layer turn on the null driver", spreadOf(reporter.times["BM_TurnOnNullDriver"], 1e-3), "us");
	printSpread("one null-driver frame", spreadOf(reporter.times["BM_FrameOnNullDriver"], 1e-3), "us");

	printf("\nStart-up phases of the game, from main to the first shown frame (ms over 5 starts)\n");
	for (const auto& phase : startupPhases(argv[0], 5))
		printSpread(phase.first.c_str(), spreadOf(phase.second), "ms");
	return 0;
}
