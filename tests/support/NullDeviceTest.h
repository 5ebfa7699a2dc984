// The unit-level fixture: a null-driver device (another driver for rendering tests) created as the
// game creates its own (same parameters and receiver), with the program's globals reset before
// and after. buildGame() runs the game's whole set-up sequence on it. The fixture owns the
// device, the faces and, once built, the cube record; the engine owns the scene.
#ifndef ZARNEL_TEST_NULL_DEVICE_TEST_H
#define ZARNEL_TEST_NULL_DEVICE_TEST_H

#include <gtest/gtest.h>
#include <irrlicht.h>
#include "AppState.h"
#include "CGUITTFace.h"
#include "MyEventReceiver.h"

class NullDeviceTest : public ::testing::Test
{
protected:
	void SetUp() override;
	void TearDown() override;

	//! The driver of the device; rendering tests choose a real one.
	virtual irr::video::E_DRIVER_TYPE driverType() const { return irr::video::EDT_NULL; }

	//! The game's set-up sequence: fonts, materials, cube, lights, camera, buttons.
	void buildGame();
	//! Only the cube record and the camera, for tests that need no GUI.
	void buildCubeAndCamera();

	//! Screen pixel of a point given relative to cubePivot, as the engine projects it.
	irr::core::position2d<irr::s32> project(const irr::core::vector3df& relativeToCubePivot) const;
	//! Screen pixel of the centre of the face of cell (gx, gy, gz) whose outward normal is normal.
	irr::core::position2d<irr::s32> faceCentre(irr::s32 gx, irr::s32 gy, irr::s32 gz,
		const irr::core::vector3df& normal) const;

	//! Posts one mouse event through the device, as the window would deliver it.
	void postMouse(irr::EMOUSE_INPUT_EVENT what, irr::s32 x, irr::s32 y);
	//! Posts one key event through the device.
	void postKey(irr::EKEY_CODE key, bool pressed);
	//! Press on one point, move to another, release: one left drag.
	void leftDrag(const irr::core::position2d<irr::s32>& from, const irr::core::position2d<irr::s32>& to);

	MyEventReceiver receiver;
	irr::gui::CGUITTFace statusFace;
	irr::gui::CGUITTFace helpFace;
};

#endif
