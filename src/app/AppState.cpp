// Definitions of the program-wide state declared in AppState.h. Their initial values stand in one
// place, resetAppState(), which gives them before main (initialState, last in this file: a file's
// globals are initialised in the order of their definitions) and again whenever a test wants a
// fresh program.
#include "AppState.h"

using namespace irr;

const wchar_t* const StatusHelpText = L"press F1 for help";
const wchar_t* const StatusWinText = L"congratulations, you win, press play to restart!\n";

IrrlichtDevice* device;
video::IVideoDriver* driver;
scene::ISceneManager* sceneManager;
gui::IGUIEnvironment* guiEnv;
scene::ICameraSceneNode* camera;
scene::ISceneCollisionManager* collisionManager;

gui::CGUITTFont* statusFont;
gui::CGUITTFont* helpFont;
core::stringw statusText;
bool helpVisible;

CubeModel* cube;

scene::ISceneNode* selectedNode;
scene::ISceneNode* innerNode;
scene::ISceneNode* dragNode;

f32 subcubeGap;

gui::IGUIImage* playOnImage;
gui::IGUIImage* playImage;
gui::IGUIImage* exitOnImage;
gui::IGUIImage* exitImage;
bool overPlay;
bool overExit;

bool gameRunning;

u32 turnFrameInterval;
u32 (*turnClock)();
void (*turnSleep)(u32);
u32 turnFrameShownAt;

void resetAppState()
{
	// In the groups of AppState.h.
	device = 0, driver = 0, sceneManager = 0, guiEnv = 0, camera = 0, collisionManager = 0;
	statusFont = helpFont = 0, statusText = StatusHelpText, helpVisible = false;
	cube = 0;
	selectedNode = innerNode = dragNode = 0;
	subcubeGap = 0.4f;
	playOnImage = playImage = exitOnImage = exitImage = 0, overPlay = overExit = false;
	gameRunning = false;
	turnFrameInterval = 0, turnClock = 0, turnSleep = 0, turnFrameShownAt = 0;
}

namespace
{
const struct SInitialState
{
	SInitialState() { resetAppState(); }
} initialState;
}
