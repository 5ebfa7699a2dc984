// The whole-cube rotation through the cube record's two pivots. Only the pivots change: the
// sub-cubes' own transforms, the grid and the turn angles are untouched.
#ifndef ZARNEL_CUBE_ROTATION_H
#define ZARNEL_CUBE_ROTATION_H

#include <irrlicht.h>

//! Composes delta (Euler degrees about the fixed world axes) onto the cube's orientation.
void rotateCube(irr::core::vector3df delta);

#endif
