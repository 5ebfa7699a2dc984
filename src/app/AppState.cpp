// Definitions and initial values of the program-wide state declared in AppState.h.
#include "AppState.h"

using namespace irr;

const wchar_t* const StatusHelpText = L"press F1 for help";
const wchar_t* const StatusWinText = L"congratulations, you win, press play to restart!\n";

IrrlichtDevice* device = 0;
video::IVideoDriver* driver = 0;
scene::ISceneManager* sceneManager = 0;
gui::IGUIEnvironment* guiEnv = 0;
scene::ICameraSceneNode* camera = 0;
scene::ISceneCollisionManager* collisionManager = 0;

gui::CGUITTFont* statusFont = 0;
gui::CGUITTFont* helpFont = 0;
core::stringw statusText = StatusHelpText;
bool helpVisible = false;

CubeModel* cube = 0;

scene::ISceneNode* selectedNode = 0;
scene::ISceneNode* innerNode = 0;
scene::ISceneNode* dragNode = 0;

f32 subcubeGap = 0.4f;

gui::IGUIImage* playOnImage = 0;
gui::IGUIImage* playImage = 0;
gui::IGUIImage* exitOnImage = 0;
gui::IGUIImage* exitImage = 0;
bool overPlay = false;
bool overExit = false;

bool gameRunning = false;

u32 turnFrameInterval = 0;
u32 (*turnClock)() = 0;
void (*turnSleep)(u32) = 0;
u32 turnFrameShownAt = 0;

void resetAppState()
{
	device = 0;
	driver = 0;
	sceneManager = 0;
	guiEnv = 0;
	camera = 0;
	collisionManager = 0;
	statusFont = 0;
	helpFont = 0;
	statusText = StatusHelpText;
	helpVisible = false;
	cube = 0;
	selectedNode = 0;
	innerNode = 0;
	dragNode = 0;
	subcubeGap = 0.4f;
	playOnImage = 0;
	playImage = 0;
	exitOnImage = 0;
	exitImage = 0;
	overPlay = false;
	overExit = false;
	gameRunning = false;
	turnFrameInterval = 0;
	turnClock = 0;
	turnSleep = 0;
	turnFrameShownAt = 0;
}
