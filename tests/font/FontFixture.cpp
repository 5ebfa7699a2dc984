// See FontFixture.h.
#include "FontFixture.h"

using namespace irr;

const char* const GameFontPath = "media/ANTQUAB.TTF";

namespace
{
class QuietLog : public IEventReceiver
{
public:
	bool OnEvent(const SEvent& event) override { return event.EventType == EET_LOG_TEXT_EVENT; }
};
QuietLog quietLog;
}

void FontTest::SetUp()
{
	SIrrlichtCreationParameters p;
	p.DriverType = driverType();
	p.EventReceiver = &quietLog;
	device = createDeviceEx(p);
	ASSERT_NE(device, nullptr);
	driver = device->getVideoDriver();
	env = device->getGUIEnvironment();
}

void FontTest::TearDown()
{
	for (gui::CGUITTFont* font : fonts)
		font->drop();
	for (gui::CGUITTFace* face : faces)
		face->drop();
	if (device)
		device->drop();
}

gui::CGUITTFace* FontTest::openFace(const char* path)
{
	gui::CGUITTFace* face = new gui::CGUITTFace();
	face->loadFile(path);
	faces.push_back(face);
	return face;
}

gui::CGUITTFont* FontTest::fontFor(const char* path, u32 size)
{
	gui::CGUITTFont* font = unboundFont();
	font->bindFace(openFace(path), size);
	return font;
}

gui::CGUITTFont* FontTest::unboundFont()
{
	gui::CGUITTFont* font = new gui::CGUITTFont(env);
	fonts.push_back(font);
	return font;
}
