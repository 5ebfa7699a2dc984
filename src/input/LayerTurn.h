// The animated layer turn and the map from positions to grid cells. turnLayer is the only
// operation that changes which sub-cube sits in which cell; it draws its own frames and returns
// when the turn is complete, with every sub-cube back under cubePivot.
#ifndef ZARNEL_LAYER_TURN_H
#define ZARNEL_LAYER_TURN_H

#include <irrlicht.h>

//! Grid coordinates of a position relative to cubePivot: each component over the spacing,
//! rounded half away from zero, plus 1. Not clamped: far positions give coordinates outside 0..2.
irr::core::vector3d<irr::s32> gridCoordinates(const irr::core::vector3df& position);

//! Turns layer (0..2) about axis (0 X, 1 Y, 2 Z) by direction quarter turns, drawing one frame
//! per step and spinning the whole cube by spin at each. A layer or axis outside 0..2 turns nothing.
void turnLayer(irr::s32 layer, irr::s32 axis, irr::s32 direction, irr::core::vector3df spin);

//! The nine cells of a layer in visiting order.
void layerCells(irr::s32 layer, irr::s32 axis, irr::s32 cells[9]);

#endif
