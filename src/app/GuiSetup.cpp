// Fonts and GUI set-up; see GuiSetup.h. Results of opening and binding are not tested here: a
// font without a usable face draws with the built-in font.
#include "GuiSetup.h"
#include "AppState.h"
#include "gui/CGUITTFace.h"
#include "gui/CGUITTFont.h"

using namespace irr;

const c8* const FontPath = "media/ANTQUAB.TTF";

namespace
{
gui::IGUIImage* addButtonImage(const core::rect<s32>& area, const c8* texturePath, bool hidden)
{
	gui::IGUIImage* image = guiEnv->addImage(area, 0, -1, 0);
	video::ITexture* texture = driver->getTexture(texturePath);
	if (texture)
		driver->makeColorKeyTexture(texture, core::position2d<s32>(0, 0));
	image->setImage(texture);
	image->setScaleImage(true);
	image->setUseAlphaChannel(true);
	if (hidden)
		image->setColor(video::SColor(0x00000000));
	return image;
}
}

void setupFonts(gui::CGUITTFace& statusFace, gui::CGUITTFace& helpFace)
{
	statusFace.loadFile(FontPath);
	statusFont = new gui::CGUITTFont(guiEnv); // never released
	statusFont->bindFace(&statusFace, 20);
	guiEnv->getSkin()->setFont(statusFont, gui::EGDF_DEFAULT);

	helpFace.loadFile(FontPath);
	helpFont = new gui::CGUITTFont(guiEnv); // never released
	helpFont->bindFace(&helpFace, 15);
}

void setupButtons()
{
	playOnImage = addButtonImage(core::rect<s32>(122, 500, 378, 564), "media/buttons/but_play_on.bmp", true);
	playImage = addButtonImage(core::rect<s32>(122, 510, 378, 574), "media/buttons/but_play.bmp", false);
	exitOnImage = addButtonImage(core::rect<s32>(422, 500, 678, 564), "media/buttons/but_exit_on.bmp", true);
	exitImage = addButtonImage(core::rect<s32>(422, 510, 678, 574), "media/buttons/but_exit.bmp", false);
}
