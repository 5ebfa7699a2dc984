// Where things are in the game's window: the projection of the fixed camera (a left-handed
// look-at from (0, 30, -40) to the origin, field of view pi/2.5, aspect 4/3) onto 800 x 600,
// so that the black-box tests can aim at cells of the unturned cube; and how near a pixel is to
// a colour.
#ifndef ZARNEL_TEST_SCREEN_H
#define ZARNEL_TEST_SCREEN_H

#include <cmath>
#include <cstdint>
#include <cstdlib>

struct ScreenPoint
{
	int x;
	int y;
};

//! True when an X pixel (0xRRGGBB) is within tolerance of (r, g, b) in every channel.
inline bool pixelNear(uint32_t pixel, int r, int g, int b, int tolerance = 16)
{
	return std::abs((int)(pixel >> 16 & 0xFF) - r) <= tolerance &&
		std::abs((int)(pixel >> 8 & 0xFF) - g) <= tolerance && std::abs((int)(pixel & 0xFF) - b) <= tolerance;
}

//! Window pixel of the centre of the face of cell (gx, gy, gz) with outward normal (nx, ny, nz).
inline ScreenPoint faceCentreOnScreen(int gx, int gy, int gz, int nx, int ny, int nz)
{
	const double s = 9.4, half = 4.5;
	const double p[3] = {(gx - 1) * s + nx * half, (gy - 1) * s + ny * half, (gz - 1) * s + nz * half};
	const double eye[3] = {0, 30, -40};
	// Camera axes: forward towards the origin, right = up x forward, up' = forward x right.
	const double len = std::sqrt(30.0 * 30 + 40 * 40);
	const double f[3] = {0, -30 / len, 40 / len};
	const double r[3] = {1, 0, 0};
	const double u[3] = {f[1] * r[2] - f[2] * r[1], f[2] * r[0] - f[0] * r[2], f[0] * r[1] - f[1] * r[0]};
	const double d[3] = {p[0] - eye[0], p[1] - eye[1], p[2] - eye[2]};
	const double cx = d[0] * r[0] + d[1] * r[1] + d[2] * r[2];
	const double cy = d[0] * u[0] + d[1] * u[1] + d[2] * u[2];
	const double cz = d[0] * f[0] + d[1] * f[1] + d[2] * f[2];
	const double focal = 1.0 / std::tan(M_PI / 2.5 / 2);
	return ScreenPoint{(int)std::lround((cx * focal / (4.0 / 3.0) / cz + 1) * 400),
		(int)std::lround((1 - cy * focal / cz) * 300)};
}

#endif
