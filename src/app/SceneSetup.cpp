// Scene set-up; see SceneSetup.h. A texture that cannot be loaded leaves its material or sprite
// untextured and the set-up goes on.
#include "SceneSetup.h"
#include "AppState.h"
#include "cube/CubeModel.h"

using namespace irr;

void setupFaceMaterials(video::SMaterial faceMaterials[6])
{
	core::stringw path;
	for (u32 i = 0; i < 6; ++i)
	{
		faceMaterials[i].Wireframe = false;
		faceMaterials[i].Lighting = false;
		path = L"media/fc";
		path += i;
		path += L".png";
		const core::stringc narrowPath(path);
		faceMaterials[i].setTexture(0, driver->getTexture(narrowPath));
	}
}

void setupCube(const video::SMaterial faceMaterials[6])
{
	cube = new CubeModel(faceMaterials, subcubeGap); // lives until the process ends
	cube->buildCube();
}

void setupLight(const core::vector3df& position, const c8* spritePath)
{
	scene::ILightSceneNode* light = sceneManager->addLightSceneNode(0, position,
		video::SColorf(1.0f, 0.6f, 0.7f, 1.0f), 800.0f, -1);
	scene::IBillboardSceneNode* sprite = sceneManager->addBillboardSceneNode(light,
		core::dimension2d<f32>(50, 50), core::vector3df(0, 0, 0), -1, 0xFFFFFFFF, 0xFFFFFFFF);
	sprite->setMaterialFlag(video::EMF_LIGHTING, false);
	sprite->setMaterialType(video::EMT_TRANSPARENT_ADD_COLOR);
	sprite->setMaterialTexture(0, driver->getTexture(spritePath));
}

void setupCamera()
{
	camera = sceneManager->addCameraSceneNode(0, core::vector3df(0, 30, -40),
		core::vector3df(0, 0, 0), -1);
	collisionManager = sceneManager->getSceneCollisionManager();
}
