// See FrameCounterNode.h.
#include "FrameCounterNode.h"

using namespace irr;

FrameCounterNode* FrameCounterNode::addTo(scene::ISceneManager* manager)
{
	FrameCounterNode* node = new FrameCounterNode(manager);
	node->drop(); // the scene root holds it
	return node;
}

FrameCounterNode::FrameCounterNode(scene::ISceneManager* manager)
	: scene::ISceneNode(manager->getRootSceneNode(), manager, 0), frames(0), box(-1, -1, -1, 1, 1, 1)
{
	setAutomaticCulling(scene::EAC_OFF);
	// Far below the cube, where no picking ray of the game goes.
	setPosition(core::vector3df(0, -1000, 0));
	setIsDebugObject(true);
}

void FrameCounterNode::OnRegisterSceneNode()
{
	if (IsVisible)
		SceneManager->registerNodeForRendering(this, scene::ESNRP_SOLID);
	ISceneNode::OnRegisterSceneNode();
}

void FrameCounterNode::render()
{
	++frames;
	if (onFrame)
		onFrame();
}
