// The program's run from the driver prompt to shutdown: device creation, the set-up sequence, the
// main loop. main only calls runApplication.
#ifndef ZARNEL_APPLICATION_H
#define ZARNEL_APPLICATION_H

#include <irrlicht.h>

namespace irr { namespace gui { class CGUITTFace; } }

//! The text written to standard output at start; no answer is read.
extern const char* const DriverPrompt;

//! The device creation parameters of the game, with receiver as the event receiver.
irr::SIrrlichtCreationParameters gameDeviceParameters(irr::IEventReceiver* receiver);

//! Creates the game's device on the given driver, captions its window and stores the engine
//! interfaces in the globals; false (and nothing stored) when the device cannot be created.
bool openGameDevice(irr::IEventReceiver* receiver, irr::video::E_DRIVER_TYPE driverType);

//! Called after each phase of the set-up with the phase's name (for the start-up benchmark).
typedef void (*SetupPhaseDone)(const char* phase);

//! Builds fonts, scene, cube and GUI in their fixed order (the faces are the caller's); calls
//! phaseDone, when given, after each phase.
void setupAll(irr::gui::CGUITTFace& statusFace, irr::gui::CGUITTFace& helpFace,
	SetupPhaseDone phaseDone = 0);

//! Releases the cube record, the fonts and the device and resets the globals. For programs that
//! build the game more than once (tests, benchmarks); the game itself ends with its process.
void teardownGame();

//! Runs the game; returns the process status: 0 after the window closed, 1 without a device.
int runApplication();

#endif
