// The event receiver; see MyEventReceiver.h. Everything that changes the game happens here,
// between two frames, on the one thread; turns started here draw their own frames and return
// when done, so OnEvent is never re-entered.
#include "MyEventReceiver.h"
#include "CubeRotation.h"
#include "Picking.h"
#include "Scramble.h"
#include "app/AppState.h"
#include "cube/CubeModel.h"
#include <cstdio>
#include <cstdlib>

using namespace irr;

namespace
{
const video::SColor Hidden(0x00000000);
const video::SColor Shown(0xFFFFFFFF);

// Button areas: the interiors of the two normal button images, borders excluded.
bool insidePlay(s32 x, s32 y) { return x > 122 && x < 378 && y > 510 && y < 574; }
bool insideExit(s32 x, s32 y) { return x > 422 && x < 678 && y > 510 && y < 574; }

void showPair(gui::IGUIImage* normal, gui::IGUIImage* highlighted, bool highlight)
{
	if (normal)
		normal->setColor(highlight ? Hidden : Shown);
	if (highlighted)
		highlighted->setColor(highlight ? Shown : Hidden);
}
}

MyEventReceiver::MyEventReceiver()
	: LastMouseX(0), LastMouseY(0), MouseX(0), MouseY(0),
	  LeftDragArmed(false), RightButtonDown(false), RightDragMoved(false)
{
	for (u32 i = 0; i < KeyStateCount; ++i)
		KeyIsDown[i] = false;
}

MyEventReceiver::~MyEventReceiver()
{
}

bool MyEventReceiver::OnEvent(const SEvent& event)
{
	switch (event.EventType)
	{
	case EET_LOG_TEXT_EVENT:
		fprintf(stderr, "%s\n", event.LogEvent.Text);
		return true;
	case EET_KEY_INPUT_EVENT:
		onKey(event.KeyInput);
		break;
	case EET_MOUSE_INPUT_EVENT:
		onMouse(event.MouseInput);
		break;
	default:
		break;
	}
	return false;
}

void MyEventReceiver::onKey(const SEvent::SKeyInput& key)
{
	if (key.Key == KEY_F1)
	{
		if (key.PressedDown)
		{
			helpVisible = !helpVisible;
			KeyIsDown[KEY_F1] = !KeyIsDown[KEY_F1];
		}
	}
	else if (key.Key == KEY_ESCAPE)
		exitGame();
	else if ((u32)key.Key < KeyStateCount)
		KeyIsDown[key.Key] = key.PressedDown;
}

void MyEventReceiver::onMouse(const SEvent::SMouseInput& mouse)
{
	switch (mouse.Event)
	{
	case EMIE_LMOUSE_PRESSED_DOWN:
		onLeftPress(mouse.X, mouse.Y);
		break;
	case EMIE_LMOUSE_LEFT_UP:
		LeftDragArmed = false;
		break;
	case EMIE_RMOUSE_PRESSED_DOWN:
		LastMouseX = (f32)mouse.X;
		LastMouseY = (f32)mouse.Y;
		RightButtonDown = true;
		break;
	case EMIE_RMOUSE_LEFT_UP:
		RightButtonDown = false;
		RightDragMoved = false;
		break;
	case EMIE_MOUSE_MOVED:
		onMouseMove(mouse.X, mouse.Y);
		break;
	default:
		break;
	}
}

void MyEventReceiver::onLeftPress(s32 x, s32 y)
{
	LeftDragArmed = true;
	if (overPlay)
	{
		if (!gameRunning)
		{
			gameRunning = true;
			statusText = StatusHelpText;
			scrambleCube();
		}
	}
	else if (overExit)
		exitGame();
	LeftDragArmed = pickAtPress(x, y);
}

void MyEventReceiver::onMouseMove(s32 x, s32 y)
{
	updateButtonHover(x, y);
	if (LeftDragArmed)
		LeftDragArmed = dragStep(x, y);
	if (RightButtonDown)
	{
		MouseX = (f32)x;
		MouseY = (f32)y;
		RightDragMoved = true;
		rotateCube(core::vector3df((MouseY - LastMouseY) / -5.0f, (MouseX - LastMouseX) / -5.0f, 0));
		// A press queued behind this move in the same run() must pick what the screen will show.
		cube->updateTransforms();
		LastMouseX = MouseX;
		LastMouseY = MouseY;
	}
}

bool MyEventReceiver::isKeyDown(EKEY_CODE key) const
{
	return (u32)key < KeyStateCount && KeyIsDown[key];
}

bool MyEventReceiver::isRightDragMoved() const
{
	return RightDragMoved;
}

bool MyEventReceiver::isRightButtonDown() const
{
	return RightButtonDown;
}

bool MyEventReceiver::isLeftDragArmed() const
{
	return LeftDragArmed;
}

void updateButtonHover(s32 x, s32 y)
{
	if (insidePlay(x, y))
	{
		if (playImage)
		{
			showPair(playImage, playOnImage, true);
			overPlay = true;
		}
	}
	else if (insideExit(x, y))
	{
		if (exitImage)
		{
			showPair(exitImage, exitOnImage, true);
			overExit = true;
		}
	}
	else
	{
		showPair(playImage, playOnImage, false);
		showPair(exitImage, exitOnImage, false);
		overPlay = false;
		overExit = false;
	}
}

void exitGame()
{
	if (device)
		device->drop();
	exit(0);
}
