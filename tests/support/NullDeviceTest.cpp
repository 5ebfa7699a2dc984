// The unit-level fixture; see NullDeviceTest.h.
#include "NullDeviceTest.h"
#include "Application.h"
#include "CGUITTFont.h"
#include "CubeModel.h"
#include "SceneSetup.h"
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

using namespace irr;

namespace
{
bool testRunning = false;
}

void NullDeviceTest::SetUp()
{
	// The game leaves through exit(0): inside a test that would end the process with a passing
	// status. A test still running at exit fails instead.
	static const bool guarded = std::atexit([] {
		if (testRunning)
		{
			fprintf(stderr, "the game exited in the middle of a test\n");
			_exit(1);
		}
	}) == 0;
	ASSERT_TRUE(guarded);
	testRunning = true;
	resetAppState();
	ASSERT_TRUE(openGameDevice(&receiver, driverType()));
}

void NullDeviceTest::TearDown()
{
	teardownGame();
	testRunning = false;
}

void NullDeviceTest::buildGame()
{
	setupAll(statusFace, helpFace);
	sceneManager->drawAll(); // the camera's matrices are made at the first drawAll
}

void NullDeviceTest::buildCubeAndCamera()
{
	video::SMaterial materials[6];
	setupFaceMaterials(materials);
	setupCube(materials);
	setupCamera();
	sceneManager->drawAll();
}

core::position2d<s32> NullDeviceTest::project(const core::vector3df& relative) const
{
	core::vector3df world = relative;
	cube->cubePivot->getAbsoluteTransformation().transformVect(world);
	return collisionManager->getScreenCoordinatesFrom3DPosition(world, camera);
}

core::position2d<s32> NullDeviceTest::faceCentre(s32 gx, s32 gy, s32 gz, const core::vector3df& normal) const
{
	// Cells 9.4 apart, faces 4.5 from their cell's centre.
	const core::vector3df centre((gx - 1) * 9.4f, (gy - 1) * 9.4f, (gz - 1) * 9.4f);
	return project(centre + normal * 4.5f);
}

void NullDeviceTest::postMouse(EMOUSE_INPUT_EVENT what, s32 x, s32 y)
{
	SEvent e = {}; // no wheel, no modifier, no button state
	e.EventType = EET_MOUSE_INPUT_EVENT;
	e.MouseInput.X = x;
	e.MouseInput.Y = y;
	e.MouseInput.Event = what;
	device->postEventFromUser(e);
}

void NullDeviceTest::postKey(EKEY_CODE key, bool pressed)
{
	SEvent e = {}; // no character, no modifier
	e.EventType = EET_KEY_INPUT_EVENT;
	e.KeyInput.Key = key;
	e.KeyInput.PressedDown = pressed;
	device->postEventFromUser(e);
}

void NullDeviceTest::leftDrag(const core::position2d<s32>& from, const core::position2d<s32>& to)
{
	postMouse(EMIE_MOUSE_MOVED, from.X, from.Y);
	postMouse(EMIE_LMOUSE_PRESSED_DOWN, from.X, from.Y);
	postMouse(EMIE_MOUSE_MOVED, to.X, to.Y);
	postMouse(EMIE_LMOUSE_LEFT_UP, to.X, to.Y);
}
