// The two steps of the drag-to-turn gesture: the press picking (select the sub-cube under the
// cursor and find the one behind the clicked face) and the drag step (on reaching another
// sub-cube, choose axis, layer and direction from the three grid cells and turn).
#ifndef ZARNEL_PICKING_H
#define ZARNEL_PICKING_H

#include <irrlicht.h>

//! A layer turn chosen by the drag decision.
struct STurnChoice
{
	irr::s32 axis;
	irr::s32 layer;
	irr::s32 direction;
};

//! Distance from the clicked face to the probe's start, and the probe's length (world units).
const irr::f32 probeOffset = 9.3f;
const irr::f32 probeLength = 10.0f;

//! The press picking at window pixel (x, y); returns whether the gesture is armed.
bool pickAtPress(irr::s32 x, irr::s32 y);

//! The drag step at (x, y) while armed; returns whether the gesture stays armed.
bool dragStep(irr::s32 x, irr::s32 y);

//! The decision table: clicked cell a, the cell behind its face b, the cell dragged onto c.
//! Returns false when no row matches (no turn).
bool decideTurn(const irr::core::vector3d<irr::s32>& a, const irr::core::vector3d<irr::s32>& b,
	const irr::core::vector3d<irr::s32>& c, STurnChoice& choice);

#endif
