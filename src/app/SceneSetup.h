// The 3D side of the set-up sequence: the six face materials, the cube, the two lights with their
// sprites, the camera and the collision manager. Everything made here belongs to the engine,
// except the cube record, which lives until the process ends.
#ifndef ZARNEL_SCENE_SETUP_H
#define ZARNEL_SCENE_SETUP_H

#include <irrlicht.h>

//! Fills the six unlit face materials with "media/fc0.png" .. "media/fc5.png".
void setupFaceMaterials(irr::video::SMaterial faceMaterials[6]);

//! Creates the cube record from the materials, stores it in cube and assembles it.
void setupCube(const irr::video::SMaterial faceMaterials[6]);

//! Adds a light at position with an additive sprite textured from spritePath.
void setupLight(const irr::core::vector3df& position, const irr::c8* spritePath);

//! Adds the active camera and stores it and the collision manager.
void setupCamera();

#endif
