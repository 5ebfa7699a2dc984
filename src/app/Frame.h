// One complete frame: the 3D scene, the status line, the instructions when shown, and the GUI.
// Called by the main loop and by the layer-turn animation; it loads and creates nothing itself.
#ifndef ZARNEL_FRAME_H
#define ZARNEL_FRAME_H

class CubeModel;

#include <irrlicht.h>

//! The instructions text the help font draws while help is shown.
extern const irr::core::stringw InstructionsText;
//! Where the status font draws the status line.
extern const irr::core::rect<irr::s32> StatusArea;
//! Where the help font draws the instructions.
extern const irr::core::rect<irr::s32> InstructionsArea;

//! Draws one frame through the cube record's scene manager; returns the driver's endScene result.
bool drawFrame(CubeModel* cube);

#endif
