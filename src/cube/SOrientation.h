// An exact rotation of the cube lattice: a 3x3 integer matrix whose entries are 0 and +-1.
// Layer turns compose it with quarter-turn matrices, so it never drifts the way floating-point
// transforms or accumulated Euler angles do. Columns are the images of the X, Y and Z axes, with
// the engine's convention: +90 about X maps +Y to +Z, about Y maps +Z to +X, about Z maps +X to +Y.
#ifndef ZARNEL_S_ORIENTATION_H
#define ZARNEL_S_ORIENTATION_H

#include <irrTypes.h>
#include <vector3d.h>

struct SOrientation
{
	//! The identity: an unturned sub-cube.
	SOrientation();

	//! Applies a turn of the given number of quarter turns about axis 0 (X), 1 (Y) or 2 (Z)
	//! after this orientation. Any other axis leaves it unchanged.
	void turn(irr::s32 axis, irr::s32 quarterTurns);

	//! The image of lattice vector v under this rotation.
	irr::core::vector3d<irr::s32> apply(const irr::core::vector3d<irr::s32>& v) const;

	//! Exact equality of the two rotations.
	bool operator==(const SOrientation& other) const;
	bool operator!=(const SOrientation& other) const { return !(*this == other); }

	//! Entry at row r, column c (both 0..2).
	irr::s32 at(irr::s32 r, irr::s32 c) const { return M[3 * r + c]; }

	irr::s32 M[9];
};

#endif
