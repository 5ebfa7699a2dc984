// Where things are in the game's window: the fixed camera and its projection onto 800 x 600,
// so that the black-box tests can aim at cells of the cube, also when the whole cube has been
// turned; and how near a pixel is to a colour.
#ifndef ZARNEL_TEST_SCREEN_H
#define ZARNEL_TEST_SCREEN_H

#include <cmath>
#include <cstdint>
#include <cstdlib>

struct ScreenPoint
{
	int x, y;
};

//! Points of the window a test aims at (from screen.json, as all the facts below): the background
//! at the top right, away from the cube, the status line and the light sprites; inside the PLAY
//! button (123..377 x 511..573); inside EXIT (423..677 x 511..573).
constexpr ScreenPoint Background{ZARNEL_SCREEN_BACKGROUND}, OnPlay{ZARNEL_SCREEN_PLAY}, OnExit{ZARNEL_SCREEN_EXIT};

//! The cube's measures: the distance between the centres of neighbouring sub-cubes, and from a
//! sub-cube's centre to each of its faces.
namespace CubeMeasures
{
constexpr double CellSpacing = ZARNEL_SCREEN_CELLSPACING, FaceOffset = ZARNEL_SCREEN_FACEOFFSET;
}

//! The game's fixed camera: a left-handed look-at from Eye (in the plane x = 0) to the origin with
//! right along +X, the window's aspect 800:600. Forward and Up are unit.
namespace GameCamera
{
constexpr double Eye[3] = {ZARNEL_SCREEN_EYE};
const double Distance = std::sqrt(Eye[0] * Eye[0] + Eye[1] * Eye[1] + Eye[2] * Eye[2]);
const double Forward[3] = {0, -Eye[1] / Distance, -Eye[2] / Distance}, Up[3] = {0, Forward[2], -Forward[1]};
const double TanHalfFov = std::tan(ZARNEL_SCREEN_FIELDOFVIEWDEGREES * M_PI / 360), Aspect = 4.0 / 3.0;
}

//! The whole cube's orientation: a tumble about the axis (1, 1, 1), then a yaw about Y, in
//! degrees, in the engine's sense (a small angle a about the unit axis k moves p by a·k×p).
struct CubePose
{
	double tumble = 0, yaw = 0;
};

//! True when an X pixel (0xRRGGBB) is within tolerance of (r, g, b) in every channel.
inline bool pixelNear(uint32_t pixel, int r, int g, int b, int tolerance = 16)
{
	return std::abs((int)(pixel >> 16 & 0xFF) - r) <= tolerance &&
		std::abs((int)(pixel >> 8 & 0xFF) - g) <= tolerance && std::abs((int)(pixel & 0xFF) - b) <= tolerance;
}

//! Turns p about the unit axis k by the given degrees (Rodrigues' formula).
inline void turnPoint(double p[3], const double k[3], double degrees)
{
	const double a = degrees * M_PI / 180, c = std::cos(a), s = std::sin(a), kp = k[0] * p[0] + k[1] * p[1] + k[2] * p[2];
	const double kxp[3] = {k[1] * p[2] - k[2] * p[1], k[2] * p[0] - k[0] * p[2], k[0] * p[1] - k[1] * p[0]};
	for (int i = 0; i < 3; ++i)
		p[i] = p[i] * c + kxp[i] * s + k[i] * kp * (1 - c);
}

//! Window pixel of the centre of the face of cell (gx, gy, gz) with outward normal (nx, ny, nz).
inline ScreenPoint faceCentreOnScreen(int gx, int gy, int gz, int nx, int ny, int nz, CubePose pose = {})
{
	const double s = CubeMeasures::CellSpacing, half = CubeMeasures::FaceOffset, d = 1 / std::sqrt(3.0);
	const double diagonal[3] = {d, d, d}, up[3] = {0, 1, 0};
	double p[3] = {(gx - 1) * s + nx * half, (gy - 1) * s + ny * half, (gz - 1) * s + nz * half};
	turnPoint(p, diagonal, pose.tumble);
	turnPoint(p, up, pose.yaw);
	using namespace GameCamera;
	double cy = 0, cz = 0;
	for (int k = 0; k < 3; ++k)
		cy += (p[k] - Eye[k]) * Up[k], cz += (p[k] - Eye[k]) * Forward[k];
	const double cx = p[0] - Eye[0];
	return ScreenPoint{(int)std::lround((cx / (TanHalfFov * Aspect) / cz + 1) * 400),
		(int)std::lround((1 - cy / TanHalfFov / cz) * 300)};
}

#endif
