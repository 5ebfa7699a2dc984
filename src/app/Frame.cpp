// The frame; see Frame.h. Texts are drawn over the scene and under the GUI; while help is shown
// the skin's font is left at the help font until the next frame sets it again.
#include "Frame.h"
#include "AppState.h"
#include "cube/CubeModel.h"
#include "gui/CGUITTFont.h"

using namespace irr;

// Built once: drawing takes a stringw, and a wide literal would become a new one every frame.
const core::stringw InstructionsText =
	L"Instructions:\r\n\r\nF1: \tswitch from show help or not\r\n\r\n"
	L"PLAY: \tstart to play(wait for cube to be messed)\r\n\r\n"
	L"LeftMouseButton: \tsigle click to select a sub-cube\r\n\r\n\t drag to rotate one face\r\n\r\n"
	L"RightMouseButton: \tdrag to rotate entire cube\r\n\r\nEXIT,Esc: exit\r\n";
const core::rect<s32> StatusArea(30, 30, 300, 90);
const core::rect<s32> InstructionsArea(10, 80, 100, 380);

namespace
{
const video::SColor TextColor(0xFFFFFFFF);
}

bool drawFrame(CubeModel* cube)
{
	driver->beginScene(true, true, video::SColor(0xFF000000));
	cube->sceneManager->drawAll();
	if (statusFont)
	{
		gui::IGUISkin* skin = guiEnv->getSkin();
		skin->setFont(statusFont, gui::EGDF_DEFAULT);
		statusFont->draw(statusText, StatusArea, TextColor);
		if (helpVisible)
		{
			skin->setFont(helpFont, gui::EGDF_DEFAULT);
			helpFont->draw(InstructionsText, InstructionsArea, TextColor);
		}
	}
	guiEnv->drawAll();
	return driver->endScene();
}
