// The game's only input handler: keys, mouse buttons and moves become the help toggle, leaving
// the game, the PLAY and EXIT buttons with their hover display, the drag-to-turn gesture and the
// whole-cube rotation. It also takes the engine's log text and writes it to standard error, so
// that standard output carries only the game's own lines. It owns nothing.
#ifndef ZARNEL_MY_EVENT_RECEIVER_H
#define ZARNEL_MY_EVENT_RECEIVER_H

#include <irrlicht.h>

//! Number of key states kept: engine key codes 0..254.
const irr::u32 KeyStateCount = 255;

class MyEventReceiver : public irr::IEventReceiver
{
public:
	//! All state cleared: no key or button down, stored mouse coordinates 0.
	MyEventReceiver();
	~MyEventReceiver() override;

	//! Handles one engine event; returns true only for log text, which it has written itself.
	bool OnEvent(const irr::SEvent& event) override;

	//! Pressed state of a key; false for codes outside the table.
	virtual bool isKeyDown(irr::EKEY_CODE key) const;
	//! The mouse has moved while the right button was held.
	virtual bool isRightDragMoved() const;
	//! The right button is held.
	virtual bool isRightButtonDown() const;
	//! A left press armed the drag-to-turn gesture.
	virtual bool isLeftDragArmed() const;

private:
	void onKey(const irr::SEvent::SKeyInput& key);
	void onMouse(const irr::SEvent::SMouseInput& mouse);
	void onLeftPress(irr::s32 x, irr::s32 y);
	void onMouseMove(irr::s32 x, irr::s32 y);

	irr::f32 LastMouseX;
	irr::f32 LastMouseY;
	irr::f32 MouseX;
	irr::f32 MouseY;
	bool KeyIsDown[KeyStateCount];
	bool LeftDragArmed;
	bool RightButtonDown;
	bool RightDragMoved;
};

//! The hover display of the two buttons for a cursor at (x, y).
void updateButtonHover(irr::s32 x, irr::s32 y);

//! Drops the device if there is one and ends the process with status 0; never returns.
void exitGame();

#endif
