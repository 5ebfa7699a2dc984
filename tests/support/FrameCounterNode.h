// A scene node that counts how often the scene is drawn: added to a scene, it registers every
// drawAll and counts its render calls, and with a clock set notes the time of each. Owned by the scene graph like any node.
#ifndef ZARNEL_TEST_FRAME_COUNTER_NODE_H
#define ZARNEL_TEST_FRAME_COUNTER_NODE_H

#include <irrlicht.h>
#include <vector>

class FrameCounterNode : public irr::scene::ISceneNode
{
public:
	//! Adds a counter to the scene root of manager; the scene holds it.
	static FrameCounterNode* addTo(irr::scene::ISceneManager* manager);

	FrameCounterNode(irr::scene::ISceneManager* manager);
	virtual void OnRegisterSceneNode();
	virtual void render();
	virtual const irr::core::aabbox3d<irr::f32>& getBoundingBox() const { return box; }

	irr::u32 frames;
	//! When set, render notes its reading in times.
	irr::u32 (*clock)() = nullptr;
	std::vector<irr::u32> times;

private:
	irr::core::aabbox3df box;
};

#endif
