// Differential test of play: long random event streams go both to the game (null driver, the cube
// built as the game builds it, real picking) and to a model of play written from the game's rules,
// and the two must agree after every event. On a difference the test prints the stream's seed and
// the shortest prefix that shows it, replayed on a fresh game.
#include "CPlayModel.h"
#include "CSubcubeSceneNode.h"
#include "CubeModel.h"
#include "LayerTurn.h"
#include "NullDeviceTest.h"
#include "Picking.h"
#include "Scramble.h"
#include <array>
#include <deque>
#include <random>

using namespace irr;

namespace
{
typedef core::position2d<s32> SPoint;
typedef std::array<s32, 3> STurn; // axis, layer, direction

std::string describe(const SPlayEvent& e)
{
	static const char* const mouse[] = {"left press", "right press", "middle press", "left release", "right release",
		"middle release", "move", "wheel"};
	return e.isKey ? "key " + std::to_string(e.code) + (e.down ? " pressed" : " released") : mouse[e.code] + (" at (" +
		std::to_string(e.x) + ", " + std::to_string(e.y) + ")") + (e.code ? "" : " after srand(" + std::to_string(e.seed) + ")");
}

// Makes a stream's events one at a time from what the model shows: drags on sub-cubes, the buttons
// and their borders, right drags, keys, the wheel, PLAY; only events the model can decide and the
// game does not end on. Streams that undo their scramble turn layers only to undo it.
class CStreamMaker
{
public:
	CStreamMaker(unsigned seed, const CPlayModel& model, bool undoes) : random(seed), m(model), undoes(undoes) {}
	SPlayEvent next()
	{
		for (;;)
		{
			while (queue.empty())
				plan();
			const SPlayEvent e = queue.front();
			CPlayModel trial = m;
			queue.pop_front(), srand(e.seed), trial.handle(e);
			if (trial.unclear == m.unclear && (e.isKey || e.code || m.overPlay || !m.overExit)) // sure, and no EXIT
				return e;
		}
	}

private:
	s32 any(s32 n) { return std::uniform_int_distribution<s32>(0, n - 1)(random); }
	void mouse(s32 code, SPoint p) { queue.push_back({false, code, p.X, p.Y, false, (unsigned)random()}); }
	SPoint anywhere() { return SPoint(any(800), any(600)); }
	SPoint cursor() const { return queue.empty() ? SPoint(400, 300) : SPoint(queue.back().x, queue.back().y); }
	// A point within radius of `around` where the model is sure of the sub-cube (and of the one
	// behind its face, when asked for); returns that sub-cube, or -1 when none was found.
	s32 onCube(SPoint around, s32 radius, SPoint& at, s32* behind = 0)
	{
		for (s32 tries = 0, id; tries < 300; ++tries)
		{
			at = around + SPoint(any(2 * radius + 1) - radius, any(2 * radius + 1) - radius);
			if ((id = m.pick(at.X, at.Y, behind)) >= 0 && (!behind || *behind >= 0))
				return id;
		}
		return -1;
	}
	// Queues a drag that makes the turn t, or with no t one that matches no row, if one can be seen.
	bool planTurn(const STurn* t)
	{
		for (s32 tries = 0; tries < 100; ++tries)
		{
			SPoint pa, pc;
			s32 a[3], b[3], c[3], axis, layer, direction, behind;
			const s32 id = onCube(SPoint(400, 300), 200, pa, &behind), onto = id < 0 ? -1 : onCube(pa, 120, pc);
			if (onto < 0 || onto == id)
				continue;
			CPlayModel::coords(m.cellOf[id], a), CPlayModel::coords(m.cellOf[behind], b), CPlayModel::coords(m.cellOf[onto], c);
			const bool decided = CPlayModel::decide(a, b, c, axis, layer, direction);
			if (t ? decided && STurn{axis, layer, direction} == *t : !decided)
				return mouse(EMIE_MOUSE_MOVED, pa), mouse(EMIE_LMOUSE_PRESSED_DOWN, pa), mouse(EMIE_MOUSE_MOVED, pc),
					mouse(EMIE_LMOUSE_LEFT_UP, pc), true;
		}
		return false;
	}
	void plan()
	{
		if (undoes && m.gameRunning && !running) // the turns that undo the scramble, last first
			for (s32 i = 4; i >= 0; --i)
				todo.push_back({m.scramble[i][0], m.scramble[i][1], -m.scramble[i][2]});
		if (!(running = m.gameRunning))
			todo.clear();
		static const s32 bx[] = {121, 122, 123, 250, 377, 378, 379, 421, 422, 423, 550, 677, 678, 679};
		static const s32 by[] = {509, 510, 511, 540, 573, 574, 575};
		SPoint p = cursor(), q;
		s32 action = any(14);
		if (!todo.empty() && action < 10) // the next undoing turn
			action = planTurn(&todo.front()) ? (todo.pop_front(), -1) : 13;
		else if (m.gameRunning && m.solved() && action < 10) // a scramble left it solved: a drag that turns nothing
			action = planTurn(0) ? -1 : 13;
		else if (undoes && (action < 4 || action == 8 || action == 9)) // nor turns nor tumbles
			action = 12;
		switch (action)
		{
		case 0: case 1: case 2: case 3: // a press on a sub-cube, moves on it, near it or away, mostly released
			if (onCube(SPoint(400, 300), 200, p) < 0)
				break;
			mouse(EMIE_MOUSE_MOVED, p), mouse(EMIE_LMOUSE_PRESSED_DOWN, p);
			for (s32 n = any(3); n >= 0; --n)
				mouse(EMIE_MOUSE_MOVED, !any(4) ? anywhere() : !any(3) || onCube(p, 200, q) < 0 ? p + SPoint(any(7) - 3, any(7) - 3) : q);
			if (any(6))
				mouse(EMIE_LMOUSE_LEFT_UP, cursor());
			break;
		case 4: case 5: for (s32 n = any(3); n >= 0; --n) mouse(EMIE_MOUSE_MOVED, anywhere()); break;
		case 6: case 7: // the buttons, their borders and straight jumps between them
			for (s32 n = any(3); n >= 0; --n)
				mouse(EMIE_MOUSE_MOVED, SPoint(bx[any(14)], by[any(7)]));
			if (any(2))
				mouse(EMIE_LMOUSE_PRESSED_DOWN, cursor()), mouse(EMIE_LMOUSE_LEFT_UP, cursor());
			break;
		case 8: case 9: // a right drag, sometimes while the left button is held
			mouse(EMIE_RMOUSE_PRESSED_DOWN, p);
			for (s32 n = 2 + any(5); n > 0; --n)
				mouse(EMIE_MOUSE_MOVED, p = SPoint(core::clamp(p.X + any(121) - 60, 0, 799), core::clamp(p.Y + any(121) - 60, 0, 599)));
			if (any(8))
				mouse(EMIE_RMOUSE_LEFT_UP, p);
			break;
		case 10: // any key code but Esc, which ends the game, or F1 pressed, repeats too, and released
			queue.push_back({true, any(2) ? 0x70 : (action = any(255)) < 0x1B ? action : action + 1, 0, 0, any(3) > 0, 0});
			break;
		case 11: mouse(EMIE_MMOUSE_PRESSED_DOWN + 3 * any(2), anywhere()), mouse(EMIE_MOUSE_WHEEL, cursor()); break;
		case 12: // PLAY, sometimes straight from EXIT, and at times with a scramble that leaves the cube solved
			if (any(2))
				mouse(EMIE_MOUSE_MOVED, SPoint(423 + any(255), 511 + any(63)));
			mouse(EMIE_MOUSE_MOVED, p = SPoint(123 + any(255), 511 + any(63)));
			mouse(EMIE_LMOUSE_PRESSED_DOWN, p), mouse(EMIE_LMOUSE_LEFT_UP, p);
			if (any(2))
				queue[queue.size() - 2].seed = solvingSeed(queue.size() - 2);
			break;
		case 13: mouse(any(2) ? EMIE_LMOUSE_LEFT_UP : EMIE_RMOUSE_LEFT_UP, p); break;
		}
	}

	// A seed for the queued PLAY press at `press` whose five turns leave the cube solved (they cancel, or
	// add up to a whole-cube turn), when the game is not running and the cube solved before; else its own.
	unsigned solvingSeed(size_t press)
	{
		CPlayModel before = m;
		for (size_t i = 0; i < press; ++i)
			srand(queue[i].seed), before.handle(queue[i]);
		if (before.gameRunning || !before.overPlay || !before.solved())
			return queue[press].seed;
		for (s32 tries = 0; tries < 20000; ++tries)
		{
			CPlayModel trial = before;
			const unsigned seed = random();
			srand(seed), trial.handle({false, EMIE_LMOUSE_PRESSED_DOWN, queue[press].x, queue[press].y, false, seed});
			if (trial.solved())
				return seed;
		}
		return queue[press].seed;
	}

	std::mt19937 random;
	const CPlayModel& m;
	bool undoes, running = false;
	std::deque<SPlayEvent> queue;
	std::deque<STurn> todo;
};

class PlayModel : public NullDeviceTest
{
protected:
	void freshGame()
	{
		NullDeviceTest::TearDown(), receiver = MyEventReceiver(), NullDeviceTest::SetUp(), buildGame(), realOut.clear();
	}
	void step(const SPlayEvent& e, CPlayModel& model) // to the game and to the model, each after srand
	{
		srand(e.seed), testing::internal::CaptureStdout();
		e.isKey ? postKey((EKEY_CODE)e.code, e.down) : postMouse((EMOUSE_INPUT_EVENT)e.code, e.x, e.y);
		realOut += testing::internal::GetCapturedStdout();
		srand(e.seed), model.handle(e);
	}
	static s32 idOf(scene::ISceneNode* n) { return n && n->getType() == (scene::ESCENE_NODE_TYPE)0x65627563 ? n->getID() : -1; }
	template <typename T> static bool turnedLike(const core::matrix4& real, const T* m) // columns: the turned axes
	{
		core::vector3df x(1, 0, 0), y(0, 1, 0), z(0, 0, 1);
		real.rotateVect(x), real.rotateVect(y), real.rotateVect(z);
		return x.equals(core::vector3df(m[0], m[3], m[6]), 0.001f) && y.equals(core::vector3df(m[1], m[4], m[7]), 0.001f) &&
			z.equals(core::vector3df(m[2], m[5], m[8]), 0.001f);
	}
	// Where the game and the model disagree, one line each; empty when they agree.
	std::string differences(const CPlayModel& m) const
	{
		std::string d;
		auto expect = [&d](bool same, const std::string& what) { d += same ? "" : "  " + what + "\n"; };
		expect(receiver.isLeftDragArmed() == m.leftArmed && receiver.isRightButtonDown() == m.rightDown &&
			receiver.isRightDragMoved() == m.rightMoved, "LeftDragArmed, RightButtonDown or RightDragMoved");
		for (s32 k = 0; k < 256; ++k)
			expect(receiver.isKeyDown((EKEY_CODE)k) == (k < 255 && m.keyDown[k]), "KeyIsDown " + std::to_string(k));
		expect(overPlay == m.overPlay && overExit == m.overExit, "overPlay or overExit");
		expect(gameRunning == m.gameRunning && helpVisible == m.helpVisible, "gameRunning or helpVisible");
		const gui::IGUIImage* images[4] = {playImage, playOnImage, exitImage, exitOnImage};
		for (s32 i = 0; i < 4; ++i)
			expect(images[i]->getColor().color == m.colour[i], "colour of button image " + std::to_string(i));
		expect(std::wstring(statusText.c_str()) == m.status, "statusText");
		expect(realOut == m.out, "standard output \"" + realOut + "\", model \"" + m.out + "\"");
		expect(idOf(selectedNode) == m.selected && idOf(innerNode) == m.inner && idOf(dragNode) == m.dragged,
			"selectedNode, innerNode or dragNode");
		for (s32 i = 0, g[3]; i < 27; ++i)
		{
			const CSubcubeSceneNode* node = cube->subcubes[i];
			CPlayModel::coords(m.cellOf[i], g);
			expect(cube->grid[i] == m.grid[i] && node->AngleX == m.angle[i][0] && node->AngleY == m.angle[i][1] &&
				node->AngleZ == m.angle[i][2] && node->VertexColor.color == (i == m.selected ? 0x329B9B9Bu : 0xFFFFFFFFu),
				"grid cell, or angles or highlight of sub-cube, " + std::to_string(i));
			const core::vector3df place = core::vector3df(g[0] - 1.0f, g[1] - 1.0f, g[2] - 1.0f) * (f32)CubeMeasures::CellSpacing;
			expect(node->getParent() == cube->cubePivot && node->getPosition().equals(place, 0.01f) &&
				turnedLike(node->getRelativeTransformation(), m.ori[i]), "place of sub-cube " + std::to_string(i));
		}
		const core::vector3df r = cube->cubePivot->getRotation();
		expect(r.X >= 0 && r.X <= 360 && r.Y >= 0 && r.Y <= 360 && r.Z >= 0 && r.Z <= 360, "cubePivot's Euler angles in 0..360");
		expect(turnedLike(cube->cubePivot->getRelativeTransformation(), m.cubeTurn), "cubePivot's rotation");
		expect(turnedLike(cube->rootPivot->getRelativeTransformation(), m.rootTurn), "rootPivot's rotation");
		return d;
	}
	// Plays a stream on a fresh game and on the model, comparing after every event. On a difference
	// it replays the events on a fresh game and prints the shortest prefix that shows it.
	void play(unsigned seed, s32 length, bool undoes)
	{
		freshGame();
		CPlayModel model, fresh;
		CStreamMaker maker(seed, model, undoes);
		std::vector<SPlayEvent> events;
		while ((s32)events.size() < length && differences(model).empty())
			events.push_back(maker.next()), step(events.back(), model);
		for (const auto& s : model.seen)
			seen[s.first] += s.second;
		if (differences(model).empty())
			return;
		freshGame();
		std::string prefix;
		for (size_t i = 0; i < events.size(); ++i)
		{
			step(events[i], fresh);
			prefix += "  #" + std::to_string(i) + " " + describe(events[i]) + "\n";
			if (!differences(fresh).empty())
				return (void)(ADD_FAILURE() << "stream " << seed << ": game and model differ after these " << i + 1
					<< " events, played on a fresh game:\n" << prefix << "differences:\n" << differences(fresh));
		}
		ADD_FAILURE() << "stream " << seed << ": game and model differ after " << events.size()
			<< " events, but not when these are replayed on a fresh game";
	}

	std::string realOut;
	std::map<std::string, int> seen;
};
}

TEST_F(PlayModel, LongRandomStreamsPlayAsTheRulesSay)
{
	play(1, 2000, false);
	play(2, 2000, false);
	play(3, 1500, true);
	play(4, 1500, true);
	// The streams reach every rule the comparison stands for.
	for (const char* rule : {"scramble", "scramble from over both buttons", "play during a game", "win", "right drag while armed",
			 "ignored mouse event", "no row", "X row, first formula", "X row, second formula", "Y row, first formula",
			 "Y row, second formula", "Z row, first formula", "Z row, second formula", "neither kept", "direction 2",
			 "win at a drag that turned nothing"})
		EXPECT_GT(seen[rule], 0) << rule;
}

// One sub-cube turned otherwise unsolves the cube unless it is the hidden core; a whole-cube turn is solved,
// also one made of mixed layer turns whose stored angles then read -270 against 90.
TEST_F(PlayModel, EveryOuterSubcubeCountsForTheSolvedTestAndAWholeTurnIsSolved)
{
	freshGame();
	for (s32 cell = 0; cell < 27; ++cell)
	{
		CSubcubeSceneNode* node = cube->subcubes[cube->grid[cell]];
		node->Orientation.turn(0, 1);
		EXPECT_EQ(isCubeSolved(), cell == 13) << "cell " << cell;
		node->Orientation.turn(0, -1);
	}
	for (s32 turn = 0; turn < 5; ++turn)
		turnLayer(turn < 3 ? 2 : turn - 3, 2, turn < 3 ? -1 : 1, core::vector3df(0, 0, 0));
	EXPECT_TRUE(isCubeSolved());
	EXPECT_TRUE(cube->subcubes[cube->grid[2]]->AngleZ == -270 && cube->subcubes[cube->grid[0]]->AngleZ == 90);
	for (s32 axis = 0; axis < 3; ++axis)
	{
		for (s32 layer = 0; layer < 3; ++layer)
			turnLayer(layer, axis, 1, core::vector3df(0, 0, 0));
		EXPECT_TRUE(isCubeSolved()) << "axis " << axis;
	}
}

// A drag the streams cannot make surely: across the edge from (0, 1, 0) onto the cell behind it.
TEST(DragDecision, AMiddleFactorGivesNoTurn)
{
	STurnChoice c;
	ASSERT_TRUE(decideTurn(core::vector3d<s32>(0, 1, 0), core::vector3d<s32>(0, 1, 1), core::vector3d<s32>(0, 1, 1), c));
	EXPECT_TRUE(c.axis == 0 && c.layer == 0 && c.direction == 0) << c.axis << " " << c.layer << " " << c.direction;
}

// Esc ends the game at once with status 0, on its release as on its press (the streams never send it).
TEST(Escape, EndsTheGameWithStatusZeroOnItsPressAndOnItsRelease)
{
	for (const bool pressed : {true, false})
	{
		MyEventReceiver receiver;
		SEvent key{};
		key.EventType = EET_KEY_INPUT_EVENT, key.KeyInput.Key = KEY_ESCAPE, key.KeyInput.PressedDown = pressed;
		EXPECT_EXIT(receiver.OnEvent(key), ::testing::ExitedWithCode(0), "") << pressed;
	}
}
