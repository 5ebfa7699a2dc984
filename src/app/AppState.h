// The program-wide state: engine interfaces, fonts, the cube record, the picking pointers, the
// button images and the game flags. They are plain globals by design; each names who sets it and
// who reads it. None of the pointers owns its object: the engine's objects die with the device,
// the fonts and the cube record live until the process ends.
#ifndef ZARNEL_APP_STATE_H
#define ZARNEL_APP_STATE_H

#include <irrlicht.h>

namespace irr { namespace gui { class CGUITTFont; } }
class CubeModel;

// Engine interfaces. Start-up sets the first four; scene set-up sets camera and collisionManager.
// Read by set-up, the frame, picking and exitGame.
extern irr::IrrlichtDevice* device;
extern irr::video::IVideoDriver* driver;
extern irr::scene::ISceneManager* sceneManager;
extern irr::gui::IGUIEnvironment* guiEnv;
extern irr::scene::ICameraSceneNode* camera;
extern irr::scene::ISceneCollisionManager* collisionManager;

// Text. The fonts are made by the GUI set-up and read by the frame; statusText is written by the
// PLAY click and the win check; helpVisible is flipped by F1. The frame reads both.
extern irr::gui::CGUITTFont* statusFont;
extern irr::gui::CGUITTFont* helpFont;
extern irr::core::stringw statusText;
extern bool helpVisible;

// The one cube record, made by scene set-up and used by the frame and all interaction.
extern CubeModel* cube;

// Picking: set by the press picking (selectedNode, innerNode) and the drag step (dragNode).
extern irr::scene::ISceneNode* selectedNode;
extern irr::scene::ISceneNode* innerNode;
extern irr::scene::ISceneNode* dragNode;

// The gap between neighbouring sub-cubes, handed to the cube record; never changed.
extern irr::f32 subcubeGap;

// Buttons: the images are made by the GUI set-up; the hover display switches their colours and
// sets overPlay/overExit, which the left press reads.
extern irr::gui::IGUIImage* playOnImage;
extern irr::gui::IGUIImage* playImage;
extern irr::gui::IGUIImage* exitOnImage;
extern irr::gui::IGUIImage* exitImage;
extern bool overPlay;
extern bool overExit;

// The game: set by a PLAY click, cleared by the win check.
extern bool gameRunning;

// Turn pace: the least time in milliseconds between two frames of a layer turn, the clock it is
// measured on and the wait. Start-up sets them (8 ms on the device's real-time clock); before that
// the interval is 0 and turns draw at full speed, as the null-driver tests want. The layer turn
// reads them and keeps turnFrameShownAt, the clock's time at the last turn frame (0: none yet).
extern irr::u32 turnFrameInterval;
extern irr::u32 (*turnClock)();
extern void (*turnSleep)(irr::u32 milliseconds);
extern irr::u32 turnFrameShownAt;

//! The texts the status line shows.
extern const wchar_t* const StatusHelpText;
extern const wchar_t* const StatusWinText;

//! Puts every global back to its value before main (for tests; owns and frees nothing).
void resetAppState();

#endif
