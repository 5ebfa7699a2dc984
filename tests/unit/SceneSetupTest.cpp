// The set-up sequence: face textures in order, sprites, buttons, fonts, and a missing file.
#include "AppState.h"
#include "CGUITTFont.h"
#include "CubeModel.h"
#include "NullDeviceTest.h"
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

bool endsWith(const io::path& path, const char* tail)
{
	const core::stringc p = path;
	const core::stringc t = tail;
	return p.size() >= t.size() && p.subString(p.size() - t.size(), t.size()) == t;
}
}

TEST_F(SceneSetup, FaceMaterialsCarryTheirTexturesInOrder)
{
	buildGame();
	for (u32 k = 0; k < 6; ++k)
	{
		video::ITexture* texture = cube->faceMaterials[k].getTexture(0);
		ASSERT_NE(texture, nullptr) << k;
		const std::string name = "media/fc" + std::to_string(k) + ".png";
		EXPECT_TRUE(endsWith(texture->getName().getPath(), name.c_str())) << k;
		EXPECT_FALSE(cube->faceMaterials[k].Lighting);
		EXPECT_TRUE(cube->faceMaterials[k].BackfaceCulling);
	}
}

TEST_F(SceneSetup, LightsCarryTheirSpritesAndTheCameraLooksAtTheCube)
{
	buildGame();
	const core::array<scene::ISceneNode*> found = sprites();
	ASSERT_EQ(found.size(), 2u);
	EXPECT_TRUE(endsWith(found[0]->getMaterial(0).getTexture(0)->getName().getPath(), "media/particlewhite.bmp"));
	EXPECT_TRUE(endsWith(found[1]->getMaterial(0).getTexture(0)->getName().getPath(), "media/portal6.bmp"));
	for (u32 i = 0; i < found.size(); ++i)
	{
		EXPECT_EQ(found[i]->getMaterial(0).MaterialType, video::EMT_TRANSPARENT_ADD_COLOR);
		EXPECT_EQ(static_cast<scene::IBillboardSceneNode*>(found[i])->getSize(), core::dimension2d<f32>(50, 50));
	}
	EXPECT_EQ(sceneManager->getActiveCamera(), camera);
	EXPECT_TRUE(camera->getPosition().equals(core::vector3df(0, 30, -40)));
	EXPECT_EQ(collisionManager, sceneManager->getSceneCollisionManager());
}

TEST_F(SceneSetup, AMissingSpriteTextureLeavesOnlyThatSpriteUntextured)
{
	const fs::path folder = fs::temp_directory_path() / ("zarnel-media-" + std::to_string(getpid()));
	fs::create_directories(folder);
	fs::copy("media", folder / "media", fs::copy_options::recursive);
	fs::remove(folder / "media" / "portal6.bmp");
	const fs::path previous = fs::current_path();
	fs::current_path(folder);
	buildGame();
	fs::current_path(previous);
	fs::remove_all(folder);

	const core::array<scene::ISceneNode*> found = sprites();
	ASSERT_EQ(found.size(), 2u);
	EXPECT_NE(found[0]->getMaterial(0).getTexture(0), nullptr);
	EXPECT_EQ(found[1]->getMaterial(0).getTexture(0), nullptr);
	bool facesTextured = true;
	for (u32 k = 0; k < 6; ++k)
		facesTextured &= cube->faceMaterials[k].getTexture(0) != nullptr;
	EXPECT_TRUE(facesTextured);
	EXPECT_NE(playImage->getImage(), nullptr);
}

TEST_F(SceneSetup, ShowsTheTwoNormalButtonsAndHidesTheHighlightedOnes)
{
	buildGame();
	EXPECT_EQ(playImage->getColor().color, 0xFFFFFFFFu);
	EXPECT_EQ(exitImage->getColor().color, 0xFFFFFFFFu);
	EXPECT_EQ(playOnImage->getColor().color, 0u);
	EXPECT_EQ(exitOnImage->getColor().color, 0u);
	EXPECT_EQ(playOnImage->getAbsolutePosition(), core::rect<s32>(122, 500, 378, 564));
	EXPECT_EQ(playImage->getAbsolutePosition(), core::rect<s32>(122, 510, 378, 574));
	EXPECT_EQ(exitOnImage->getAbsolutePosition(), core::rect<s32>(422, 500, 678, 564));
	EXPECT_EQ(exitImage->getAbsolutePosition(), core::rect<s32>(422, 510, 678, 574));
	EXPECT_TRUE(playImage->isImageScaled());
	EXPECT_TRUE(playImage->isAlphaChannelUsed());
}

TEST_F(SceneSetup, MakesTheStatusFontTheSkinsFontAndLargerThanTheHelpFont)
{
	buildGame();
	EXPECT_EQ(guiEnv->getSkin()->getFont(gui::EGDF_DEFAULT), statusFont);
	EXPECT_EQ(statusFont->getPixelSize(), 20u);
	EXPECT_EQ(helpFont->getPixelSize(), 15u);
	EXPECT_NE(statusFont->face, helpFont->face);
	EXPECT_TRUE(statusFace.isLoaded && helpFace.isLoaded);
}
