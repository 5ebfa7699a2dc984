// A scene node that counts how often the scene is drawn: added to a scene, it registers every
// drawAll, counts its render calls and runs onFrame at each (to look at a turn mid-way). Owned by
// the scene graph like any node.
#ifndef ZARNEL_TEST_FRAME_COUNTER_NODE_H
#define ZARNEL_TEST_FRAME_COUNTER_NODE_H

#include <irrlicht.h>
#include <functional>

class FrameCounterNode : public irr::scene::ISceneNode
{
public:
	//! Adds a counter to the scene root of manager; the scene holds it.
	static FrameCounterNode* addTo(irr::scene::ISceneManager* manager);

	FrameCounterNode(irr::scene::ISceneManager* manager);
	void OnRegisterSceneNode() override;
	void render() override;
	const irr::core::aabbox3d<irr::f32>& getBoundingBox() const override { return box; }

	irr::u32 frames;
	//! When set, called at every render.
	std::function<void()> onFrame;

private:
	irr::core::aabbox3df box;
};

#endif
