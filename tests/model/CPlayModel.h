// A model of play from the game's rules, sharing no code with the game: the receiver's flags and keys,
// the buttons, the game and its texts, each sub-cube's cell, exact lattice orientation and turn angles,
// the whole cube's orientation, the selection, and picks cast from the camera against its own boxes.
// Rotations are the engine's: left-handed (+90 about X takes +Y to +Z, about Y +Z to +X, about Z +X to +Y).
#ifndef ZARNEL_TEST_C_PLAY_MODEL_H
#define ZARNEL_TEST_C_PLAY_MODEL_H

#include "Screen.h"
#include <irrlicht.h>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <map>
#include <string>

//! One input event: a mouse event (EMOUSE_INPUT_EVENT) at (x, y), or a key; srand(seed) comes first.
struct SPlayEvent { bool isKey; irr::s32 code, x, y; bool down; unsigned seed; };

class CPlayModel
{
public:
	typedef irr::s32 s32;
	enum { Nothing = -1, Unclear = -2 };
	s32 grid[27] = {}, cellOf[27] = {}; //!< cell -> sub-cube id, and back
	s32 ori[27][9] = {};                //!< per sub-cube: its rotation; column k is the image of axis k
	s32 angle[27][3] = {};              //!< per sub-cube: AngleX, AngleY, AngleZ
	double cubeTurn[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1}, rootTurn[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1}; //!< the pivots
	bool keyDown[255] = {}, leftArmed = false, rightDown = false, rightMoved = false;
	bool overPlay = false, overExit = false, gameRunning = false, helpVisible = false;
	double lastX = 0, lastY = 0;
	irr::u32 colour[4] = {0xFFFFFFFF, 0, 0xFFFFFFFF, 0}; //!< playImage, playOnImage, exitImage, exitOnImage
	std::wstring status = L"press F1 for help";
	std::string out;                    //!< standard output
	s32 selected = Nothing, inner = Nothing, dragged = Nothing; //!< sub-cube ids, or Nothing
	s32 scramble[5][3] = {};            //!< axis, layer, direction of the latest scramble's turns
	s32 unclear = 0;                    //!< picks the model could not decide
	std::map<std::string, int> seen;    //!< how often each rule was exercised
	//! The game right after start-up: solved cube, nothing pressed, no game running.
	CPlayModel() { for (s32 i = 0; i < 27; ++i) grid[i] = cellOf[i] = i, ori[i][0] = ori[i][4] = ori[i][8] = 1; }
	static void coords(s32 cell, s32 g[3]) { g[0] = cell / 9, g[1] = cell / 3 % 3, g[2] = cell % 3; }
	//! Handles one event as the game's rules say (srand(seed) is the caller's).
	void handle(const SPlayEvent& e)
	{
		s32 behind = Nothing, id, x = e.x, y = e.y;
		if (e.isKey && e.code == 0x70) // F1 toggles on each press; other keys follow their state
			helpVisible ^= e.down, keyDown[0x70] ^= e.down;
		else if (e.isKey && e.code >= 0 && e.code < 255)
			keyDown[e.code] = e.down;
		if (e.isKey)
			return;
		switch (e.code)
		{
		case irr::EMIE_LMOUSE_PRESSED_DOWN:
			seen["play during a game"] += overPlay && gameRunning;
			if (overPlay && !gameRunning)
			{
				gameRunning = true, status = L"press F1 for help";
				for (auto& t : scramble) // axis, layer, then odd: +1, even: -1
					t[0] = rand() % 3, t[1] = rand() % 3, t[2] = (rand() & 1) ? 1 : -1, turn(t[1], t[0], t[2], 0.01);
				++seen[overExit ? "scramble from over both buttons" : "scramble"];
			}
			id = pick(x, y, &behind); // the press picking: the sub-cube and the one behind its face
			unclear += id == Unclear || behind == Unclear;
			selected = id >= 0 ? id : Nothing, inner = id >= 0 ? behind : inner;
			leftArmed = id >= 0 && behind >= 0;
			break;
		case irr::EMIE_LMOUSE_LEFT_UP: leftArmed = false; break;
		case irr::EMIE_RMOUSE_PRESSED_DOWN: lastX = x, lastY = y, rightDown = true; break;
		case irr::EMIE_RMOUSE_LEFT_UP: rightDown = rightMoved = false; break;
		case irr::EMIE_MOUSE_MOVED: // the buttons' areas exclude their borders
			if (x > 122 && x < 378 && y > 510 && y < 574)
				colour[0] = 0, colour[1] = 0xFFFFFFFF, overPlay = true;
			else if (x > 422 && x < 678 && y > 510 && y < 574)
				colour[2] = 0, colour[3] = 0xFFFFFFFF, overExit = true;
			else
				colour[0] = colour[2] = 0xFFFFFFFF, colour[1] = colour[3] = 0, overPlay = overExit = false;
			seen["right drag while armed"] += leftArmed && rightDown;
			if (leftArmed)
				dragTo(x, y);
			if (rightDown)
				rightMoved = true, rotate((y - lastY) / -5.0, (x - lastX) / -5.0, 0), lastX = x, lastY = y;
			break;
		default: ++seen["ignored mouse event"]; break;
		}
	}
	//! The drag decision on the cells of the clicked sub-cube a, the one behind it b and the one
	//! dragged onto c; false when no row matches.
	static bool decide(const s32 a[3], const s32 b[3], const s32 c[3], s32& axis, s32& layer, s32& direction,
		std::string* branch = 0)
	{
		// Per row: the turn axis, the axes p and q of its formulas and their signs: when C keeps A's p,
		// first * (C.q - A.q) * (C.p - 1); else when C keeps A's q, second * (C.p - A.p) * (C.q - 1); else +1.
		static const s32 rows[3][5] = {{0, 1, 2, 1, -1}, {1, 2, 0, 1, -1}, {2, 1, 0, -1, 1}};
		for (const auto& r : rows)
		{
			const s32 k = r[0], p = r[1], q = r[2];
			if (a[k] != b[k] || b[k] != c[k])
				continue;
			const char* how = c[p] == a[p] ? "first formula" : c[q] == a[q] ? "second formula" : "neither kept";
			axis = k, layer = a[k];
			direction = c[p] == a[p] ? r[3] * (c[q] - a[q]) * (c[p] - 1) : c[q] == a[q] ? r[4] * (c[p] - a[p]) * (c[q] - 1) : 1;
			if (branch)
				*branch = direction == 0 ? "direction 0" : *how == 'n' ? how : std::string(1, "XYZ"[k]) + " row, " + how;
			return true;
		}
		return false;
	}
	//! The sub-cube id at window pixel (x, y), Nothing, or Unclear where the model cannot be sure
	//! (near an edge or a silhouette, or where the engine's box pick may choose another box);
	//! behind receives what the probe behind the clicked face finds.
	s32 pick(s32 x, s32 y, s32* behind = 0) const
	{
		// The ray from the camera's eye through the pixel.
		using namespace GameCamera;
		using namespace CubeMeasures;
		static const double origin[3] = {0, 0, 0};
		const double sx = (2.0 * x / 800 - 1) * TanHalfFov * Aspect, sy = (1 - 2.0 * y / 600) * TanHalfFov;
		double shown[9], d[3], o[3], v[3], n[3], t;
		for (s32 k = 0; k < 3; ++k)
			d[k] = Forward[k] + sy * Up[k] + (k == 0 ? sx : 0);
		const double length = sqrt(d[0] * d[0] + d[1] * d[1] + d[2] * d[2]);
		for (double& k : d)
			k /= length;
		multiply(rootTurn, cubeTurn, shown), toFrame(shown, Eye, o), toFrame(shown, d, v);
		s32 axis, g[3];
		if (!enter(o, v, origin, CellSpacing + FaceOffset + Margin, t, axis)) // beside the block by a margin
			return Nothing;
		const s32 cell = boxPick(shown, rootTurn, Eye, d, 3000, t, axis), side = v[axis] < 0 ? 1 : -1;
		if (cell < 0 || cell == 27)
			return Unclear;
		coords(cell, g);
		for (s32 k = 0; k < 3; ++k) // a face, away from its edges
			if (k != axis && fabs(o[k] + t * v[k] - (g[k] - 1) * CellSpacing) > FaceOffset - Margin)
				return Unclear;
		if (g[axis] + side >= 0 && g[axis] + side <= 2)
			return Unclear; // an inner face, seen through a gap
		if (behind) // the probe: from 9.3 inside the clicked face, 10 further along its inward normal
		{
			for (s32 k = 0; k < 3; ++k)
				n[k] = -side * shown[3 * k + axis], o[k] = Eye[k] + t * d[k] + 9.3 * n[k];
			const s32 probed = boxPick(shown, rootTurn, o, n, 10, t, axis);
			*behind = probed == -2 ? Unclear : probed >= 0 && probed < 27 ? grid[probed] : Nothing;
		}
		return grid[cell];
	}

	// Solved: every sub-cube but the hidden core has one and the same orientation. (Comparing the stored
	// angle triples instead would miss a whole-cube turn made of mixed layer turns, where they read -270
	// against 90, and could take two differently turned sub-cubes for alike: turns do not commute.)
	bool solved() const
	{
		for (s32 cell = 0; cell < 27; ++cell)
			if (cell != 13 && !std::equal(ori[grid[cell]], ori[grid[cell]] + 9, ori[grid[0]]))
				return false;
		return true;
	}

	static void quarter(s32 axis, s32 turns, s32 v[3]) // quarter turns of a lattice vector
	{
		for (s32 i = 0; i < (turns % 4 + 4) % 4; ++i)
		{
			const s32 x = v[0], y = v[1], z = v[2], r[3][3] = {{x, -z, y}, {z, y, -x}, {-y, x, z}};
			std::copy(r[axis], r[axis] + 3, v);
		}
	}
	//! A layer turn of direction quarter turns about axis: the sub-cubes of the layer move to their new
	//! cells, turned, with their angle triples; the whole cube spins by spin degrees each of its frames.
	void turn(s32 layer, s32 axis, s32 direction, double spin)
	{
		for (irr::f32 a = 0; axis == 2 ? a <= 90 : a < 90; a += 2.0f) // one whole-cube spin per frame
			rotate(spin, spin, spin);
		s32 next[27], g[3];
		std::copy(grid, grid + 27, next);
		for (s32 cell = 0, id; cell < 27; ++cell)
		{
			coords(cell, g);
			if (g[axis] != layer)
				continue;
			s32 v[3] = {g[0] - 1, g[1] - 1, g[2] - 1};
			quarter(axis, direction, v), id = grid[cell];
			next[cellOf[id] = 9 * v[0] + 3 * v[1] + v[2] + 13] = id;
			for (s32 k = 0; k < 3; ++k)
			{
				s32 column[3] = {ori[id][k], ori[id][3 + k], ori[id][6 + k]};
				quarter(axis, direction, column);
				ori[id][k] = column[0], ori[id][3 + k] = column[1], ori[id][6 + k] = column[2];
				angle[id][k] = (angle[id][k] + (k == axis ? direction * 90 : 0)) % 360;
			}
		}
		std::copy(next, next + 27, grid);
	}
private:
	static constexpr double Margin = 1.0; // a sure pick lies this far inside a face
	void dragTo(s32 x, s32 y)
	{
		const s32 id = pick(x, y);
		unclear += id == Unclear, dragged = id >= 0 ? id : Nothing;
		if (id < 0 || id == selected)
			return;
		s32 a[3], b[3], c[3], axis, layer, direction;
		coords(cellOf[selected], a), coords(cellOf[inner], b), coords(cellOf[id], c);
		std::string branch = "no row";
		if (decide(a, b, c, axis, layer, direction, &branch))
			turn(layer, axis, direction, 0), seen["direction 2"] += abs(direction) == 2;
		++seen[branch];
		if (gameRunning && solved()) // the win check, whether or not the drag turned a layer
			out += "congratulations,you win!\n", status = L"congratulations, you win, press play to restart!\n",
				gameRunning = false, ++seen["win"], seen["win at a drag that turned nothing"] += branch == "no row";
		leftArmed = false;
	}
	void rotate(double x, double y, double z) // the root pivot takes Rz * Ry * Rx (degrees), the cube's composes it
	{
		const double k = M_PI / 180, cx = cos(x * k), sx = sin(x * k), cy = cos(y * k), sy = sin(y * k);
		const double cz = cos(z * k), sz = sin(z * k), r[9] = {cz * cy, cz * sy * sx - sz * cx, cz * sy * cx + sz * sx,
			sz * cy, sz * sy * sx + cz * cx, sz * sy * cx - cz * sx, -sy, cy * sx, cy * cx};
		double turned[9];
		std::copy(r, r + 9, rootTurn), multiply(rootTurn, cubeTurn, turned), std::copy(turned, turned + 9, cubeTurn);
	}
	static void multiply(const double a[9], const double b[9], double out[9]) // row-major 3x3
	{
		for (s32 i = 0, r, c; i < 9; ++i)
			r = i / 3 * 3, c = i % 3, out[i] = a[r] * b[c] + a[r + 1] * b[3 + c] + a[r + 2] * b[6 + c];
	}
	static void toFrame(const double frame[9], const double w[3], double out[3]) // by the transpose
	{
		for (s32 k = 0; k < 3; ++k)
			out[k] = frame[k] * w[0] + frame[3 + k] * w[1] + frame[6 + k] * w[2];
	}
	// Where a ray (o, d) enters the box of centre c and half size h: parameter and axis of entry.
	static bool enter(const double o[3], const double d[3], const double c[3], double h, double& t, s32& axis)
	{
		double near = -1e30, far = 1e30;
		for (s32 k = 0; k < 3; ++k)
		{
			const double t1 = (c[k] - h - o[k]) / d[k], t2 = (c[k] + h - o[k]) / d[k];
			if (std::min(t1, t2) > near)
				near = std::min(t1, t2), axis = k;
			far = std::min(far, std::max(t1, t2));
		}
		return t = near, near <= far && far > 0;
	}
	// What the engine's box pick along a world segment (from o, unit direction d) surely returns: a cell,
	// 27 for an empty pivot (-1..1 about the centre, in the cube's or root pivot's frame), -1 for none,
	// -2 when unsure; and where it enters. The engine measures each box crossed by the distance to the
	// front plane of its world-aligned (so, when turned, inflated) box crossed nearest the box's border:
	// the first box crossed is sure when all others' front planes lie beyond its entry and its measure.
	static s32 boxPick(const double shown[9], const double root[9], const double o[3], const double d[3],
		double length, double& entry, s32& entryAxis)
	{
		double firstNear = 0, firstMeasure = 0, othersNear = 1e30;
		s32 first = -1;
		entry = 1e30;
		for (s32 box = 0, g[3], axis = 0; box < 29; ++box)
		{
			const double *frame = box < 28 ? shown : root, half = box < 27 ? CubeMeasures::FaceOffset : 1;
			coords(box < 27 ? box : 13, g); // the pivots stand at the centre
			const double spacing = CubeMeasures::CellSpacing;
			double lo[3], ld[3], c[3] = {(g[0] - 1) * spacing, (g[1] - 1) * spacing, (g[2] - 1) * spacing};
			double t, near = 1e30, measure = 0, border = 1e30;
			toFrame(frame, o, lo), toFrame(frame, d, ld);
			if (!enter(lo, ld, c, half, t, axis) || t > length)
				continue;
			for (s32 k = 0; k < 3; ++k)
			{
				const double *row = frame + 3 * k, w = row[0] * c[0] + row[1] * c[1] + row[2] * c[2];
				const double gap = fabs(o[k] - w) - half * (fabs(row[0]) + fabs(row[1]) + fabs(row[2]));
				if (t < 0 || fabs(gap) < 0.05)
					return -2;
				if (gap <= 0 || fabs(d[k]) < 1e-9)
					continue;
				double s = (o[k] > w ? -gap : gap) / d[k], at[3] = {o[0] + s * d[0], o[1] + s * d[1], o[2] + s * d[2]}, local[3], off = 0;
				toFrame(frame, at, local);
				for (s32 j = 0; j < 3; ++j)
					off = std::max(off, fabs(fabs(local[j] - c[j]) - half));
				near = std::min(near, fabs(s));
				if (off < border)
					border = off, measure = fabs(s);
			}
			if (border < 1e30 && t < entry)
			{
				othersNear = std::min(othersNear, first >= 0 ? firstNear : 1e30);
				first = std::min(box, 27), entry = t, entryAxis = axis, firstNear = near, firstMeasure = measure;
			}
			else if (border < 1e30)
				othersNear = std::min(othersNear, near);
		}
		return first >= 0 && othersNear <= std::max(entry, firstMeasure) + 0.5 ? -2 : first;
	}
};

#endif
