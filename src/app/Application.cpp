// Start-up, the set-up sequence, the main loop and shutdown. The receiver and the two font faces
// are locals of runApplication; the device is the only object it releases. Standard output gets
// the prompt and nothing else from here: the receiver sends the engine's log to standard error
// from the very first line, because it is in the creation parameters.
#include "Application.h"
#include "AppState.h"
#include "Frame.h"
#include "GuiSetup.h"
#include "SceneSetup.h"
#include "cube/CubeModel.h"
#include "gui/CGUITTFace.h"
#include "gui/CGUITTFont.h"
#include "input/MyEventReceiver.h"
#include <cstdio>

using namespace irr;

const char* const DriverPrompt =
	"Please select the driver you want for this example:\n (a) Direct3D 9.0c\n (b) Direct3D 8.1\n"
	" (c) OpenGL 1.5\n (d) Software Renderer\n (e) Burning's Software Renderer\n (f) NullDevice\n"
	" (otherKey) exit\n\n";

SIrrlichtCreationParameters gameDeviceParameters(IEventReceiver* receiver)
{
	SIrrlichtCreationParameters p;
	p.DriverType = video::EDT_OPENGL;
	p.WindowSize = core::dimension2d<u32>(800, 600);
	p.Bits = 16;
	p.ZBufferBits = 16;
	p.Fullscreen = false;
	p.Stencilbuffer = false;
	p.Vsync = false;
	p.AntiAlias = 1;
	p.WithAlphaChannel = false;
	p.IgnoreInput = false;
	p.HighPrecisionFPU = false;
	p.EventReceiver = receiver;
	p.WindowId = 0;
	return p;
}

bool openGameDevice(IEventReceiver* receiver, video::E_DRIVER_TYPE driverType)
{
	SIrrlichtCreationParameters p = gameDeviceParameters(receiver);
	p.DriverType = driverType;
	device = createDeviceEx(p);
	if (!device)
		return false;
	device->setWindowCaption(L"Zarnel");
	driver = device->getVideoDriver();
	sceneManager = device->getSceneManager();
	guiEnv = device->getGUIEnvironment();
	return true;
}

namespace
{
void noPhase(const char*)
{
}
}

void setupAll(gui::CGUITTFace& statusFace, gui::CGUITTFace& helpFace, SetupPhaseDone phaseDone)
{
	if (!phaseDone)
		phaseDone = noPhase;
	setupFonts(statusFace, helpFace);
	phaseDone("fonts");
	video::SMaterial faceMaterials[6];
	setupFaceMaterials(faceMaterials);
	phaseDone("face textures");
	setupCube(faceMaterials);
	phaseDone("cube");
	setupLight(core::vector3df(80, 0, 80), "media/particlewhite.bmp");
	setupLight(core::vector3df(-140, -120, 70), "media/portal6.bmp");
	setupCamera();
	phaseDone("lights and camera");
	setupButtons();
	phaseDone("buttons");
}

namespace
{
u32 deviceRealTime() { return device->getTimer()->getRealTime(); }
void deviceSleep(u32 milliseconds) { device->sleep(milliseconds); }

// Eight milliseconds between the frames of a turn: a turn then lasts at least about 0.36 s.
void paceTurns()
{
	turnFrameInterval = 8;
	turnClock = deviceRealTime;
	turnSleep = deviceSleep;
}
}

void teardownGame()
{
	delete cube;
	// The skin holds the fonts too; their last reference goes with the device.
	if (statusFont)
		statusFont->drop();
	if (helpFont)
		helpFont->drop();
	if (device)
		device->drop();
	resetAppState();
}

int runApplication()
{
	printf("%s", DriverPrompt);
	fflush(stdout);

	MyEventReceiver receiver;
	if (!openGameDevice(&receiver, video::EDT_OPENGL))
		return 1;

	gui::CGUITTFace statusFace;
	gui::CGUITTFace helpFace;
	setupAll(statusFace, helpFace);
	paceTurns();

	while (device->run())
		drawFrame(cube);

	device->drop();
	device = 0;
	return 0;
}
