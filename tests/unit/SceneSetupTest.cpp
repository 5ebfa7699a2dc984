// The set-up sequence: face textures in order, sprites, buttons, fonts, and a missing file.
#include "AppState.h"
#include "CGUITTFont.h"
#include "CSubcubeSceneNode.h"
#include "CubeModel.h"
#include "Frame.h"
#include "NullDeviceTest.h"
#include "ScratchFolder.h"
#include <filesystem>
#include <unistd.h>

using namespace irr;
namespace fs = std::filesystem;

namespace
{
class SceneSetup : public NullDeviceTest
{
};

// The billboards under the two lights, in the order they were added.
core::array<scene::ISceneNode*> sprites()
{
	core::array<scene::ISceneNode*> found;
	const core::list<scene::ISceneNode*>& top = sceneManager->getRootSceneNode()->getChildren();
	for (auto it = top.begin(); it != top.end(); ++it)
		if ((*it)->getType() == scene::ESNT_LIGHT)
			found.push_back(*(*it)->getChildren().begin());
	return found;
}

// True when the texture was loaded from a path ending in tail.
bool loadedFrom(video::ITexture* texture, const std::string& tail)
{
	const std::string path = texture ? texture->getName().getPath().c_str() : "";
	return path.size() >= tail.size() && path.compare(path.size() - tail.size(), tail.size(), tail) == 0;
}
}

TEST_F(SceneSetup, FaceMaterialsAreUnlitSolidAndCarryTheirTexturesInOrder)
{
	buildGame();
	for (u32 k = 0; k < 6; ++k)
	{
		const video::SMaterial& material = cube->faceMaterials[k];
		video::ITexture* texture = material.getTexture(0);
		EXPECT_TRUE(loadedFrom(texture, "media/fc" + std::to_string(k) + ".png")) << k;
		EXPECT_TRUE(!material.Lighting && !material.Wireframe && material.BackfaceCulling) << k;
		EXPECT_EQ(material.MaterialType, video::EMT_SOLID);
		for (s32 id : {0, 13, 26})
			EXPECT_EQ(cube->subcubes[id]->getMaterial(k).getTexture(0), texture) << "id " << id;
	}
}

TEST_F(SceneSetup, TwoPinkLightsCarryTheirSpritesAndTheCameraLooksAtTheCube)
{
	buildGame();
	const core::vector3df positions[2] = {core::vector3df(80, 0, 80), core::vector3df(-140, -120, 70)};
	const char* const textures[2] = {"media/particlewhite.bmp", "media/portal6.bmp"};
	const core::array<scene::ISceneNode*> found = sprites();
	ASSERT_EQ(found.size(), 2u);
	for (u32 i = 0; i < 2; ++i)
	{
		scene::ILightSceneNode* light = static_cast<scene::ILightSceneNode*>(found[i]->getParent());
		EXPECT_TRUE(light->getPosition().equals(positions[i]) && light->getID() == -1) << i;
		const video::SColorf colour = light->getLightData().DiffuseColor;
		EXPECT_TRUE(core::equals(colour.r, 1.0f) && core::equals(colour.g, 0.6f) && core::equals(colour.b, 0.7f) &&
			core::equals(colour.a, 1.0f)) << i; // pink
		EXPECT_FLOAT_EQ(light->getRadius(), 800.0f);
		scene::IBillboardSceneNode* sprite = static_cast<scene::IBillboardSceneNode*>(found[i]);
		EXPECT_TRUE(sprite->getPosition().equals(core::vector3df(0, 0, 0)) && sprite->getID() == -1) << i;
		EXPECT_EQ(sprite->getSize(), core::dimension2d<f32>(50, 50));
		video::SColor top, bottom;
		sprite->getColor(top, bottom);
		EXPECT_TRUE(top.color == 0xFFFFFFFF && bottom.color == 0xFFFFFFFF) << i;
		EXPECT_FALSE(sprite->getMaterial(0).Lighting);
		EXPECT_EQ(sprite->getMaterial(0).MaterialType, video::EMT_TRANSPARENT_ADD_COLOR);
		EXPECT_TRUE(loadedFrom(sprite->getMaterial(0).getTexture(0), textures[i])) << i;
	}
	EXPECT_EQ(sceneManager->getActiveCamera(), camera);
	EXPECT_TRUE(camera->getPosition().equals(core::vector3df(0, 30, -40)));
	EXPECT_TRUE(camera->getTarget().equals(core::vector3df(0, 0, 0)) && camera->getID() == -1);
	EXPECT_EQ(collisionManager, sceneManager->getSceneCollisionManager());
}

TEST_F(SceneSetup, AMissingSpriteTextureLeavesOnlyThatSpriteUntextured)
{
	{
		const ScratchFolder scratch("zarnel-media");
		ASSERT_FALSE(scratch.path.empty());
		fs::copy("media", scratch.path / "media", fs::copy_options::recursive);
		fs::remove(scratch.path / "media" / "portal6.bmp");
		const fs::path previous = fs::current_path();
		fs::current_path(scratch.path);
		buildGame();
		fs::current_path(previous);
	}

	const core::array<scene::ISceneNode*> found = sprites();
	ASSERT_EQ(found.size(), 2u);
	EXPECT_TRUE(loadedFrom(found[0]->getMaterial(0).getTexture(0), "media/particlewhite.bmp"));
	EXPECT_EQ(found[1]->getMaterial(0).getTexture(0), nullptr);
	for (u32 k = 0; k < 6; ++k)
		EXPECT_TRUE(loadedFrom(cube->faceMaterials[k].getTexture(0), "media/fc" + std::to_string(k) + ".png")) << k;
	EXPECT_TRUE(loadedFrom(playImage->getImage(), "media/buttons/but_play.bmp"));
}

TEST_F(SceneSetup, ShowsTheTwoNormalButtonsHidesTheHighlightedOnesAndDrawsTextAtTwentyAndFifteenPixels)
{
	buildGame();
	const struct
	{
		gui::IGUIImage* image;
		core::rect<s32> area;
		const char* texture;
		u32 colour;
	} buttons[4] = {
		{playOnImage, core::rect<s32>(122, 500, 378, 564), "media/buttons/but_play_on.bmp", 0x00000000},
		{playImage, core::rect<s32>(122, 510, 378, 574), "media/buttons/but_play.bmp", 0xFFFFFFFF},
		{exitOnImage, core::rect<s32>(422, 500, 678, 564), "media/buttons/but_exit_on.bmp", 0x00000000},
		{exitImage, core::rect<s32>(422, 510, 678, 574), "media/buttons/but_exit.bmp", 0xFFFFFFFF}};
	for (const auto& button : buttons)
	{
		ASSERT_NE(button.image, nullptr) << button.texture;
		EXPECT_EQ(button.image->getAbsolutePosition(), button.area) << button.texture;
		EXPECT_EQ(button.image->getColor().color, button.colour) << button.texture;
		EXPECT_TRUE(loadedFrom(button.image->getImage(), button.texture));
		EXPECT_TRUE(button.image->isImageScaled() && button.image->isAlphaChannelUsed()) << button.texture;
		EXPECT_EQ(button.image->getParent(), guiEnv->getRootGUIElement()) << button.texture;
	}
	// Both fonts open the game's font, each through its own face; the skin draws with the first.
	EXPECT_EQ(guiEnv->getSkin()->getFont(gui::EGDF_DEFAULT), statusFont);
	EXPECT_TRUE(statusFont->getPixelSize() == 20 && statusFont->face == &statusFace) << statusFont->getPixelSize();
	EXPECT_TRUE(helpFont->getPixelSize() == 15 && helpFont->face == &helpFace) << helpFont->getPixelSize();
	EXPECT_TRUE(statusFace.isLoaded && helpFace.isLoaded);
	// A frame leaves the skin on the font it drew last: the help font while help is shown.
	for (const bool help : {true, false, true})
	{
		helpVisible = help;
		drawFrame(cube);
		EXPECT_EQ(guiEnv->getSkin()->getFont(gui::EGDF_DEFAULT), help ? helpFont : statusFont) << help;
	}
}
