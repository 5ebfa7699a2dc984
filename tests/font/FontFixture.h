// The font tests' fixture: a device (null driver unless a test picks another) and helpers to open
// faces and bind fonts. It owns the device and every face and font it hands out, and releases
// fonts before faces before the device.
#ifndef ZARNEL_TEST_FONT_FIXTURE_H
#define ZARNEL_TEST_FONT_FIXTURE_H

#include "CGUITTFace.h"
#include "CGUITTFont.h"
#include <gtest/gtest.h>
#include <irrlicht.h>
#include <memory>
#include <vector>

//! The committed game font, relative to the source root where the tests run.
extern const char* const GameFontPath;

class FontTest : public ::testing::Test
{
protected:
	void SetUp() override;
	void TearDown() override;
	//! The device's driver: the null one, unless a test draws on a real one.
	virtual irr::video::E_DRIVER_TYPE driverType() const { return irr::video::EDT_NULL; }

	//! A face opened from path (check isLoaded); owned by the fixture.
	irr::gui::CGUITTFace* openFace(const char* path);
	//! A font bound to a face of path at size; owned by the fixture.
	irr::gui::CGUITTFont* fontFor(const char* path, irr::u32 size);
	//! A font with no face bound; owned by the fixture.
	irr::gui::CGUITTFont* unboundFont();

	irr::IrrlichtDevice* device = nullptr;
	irr::video::IVideoDriver* driver = nullptr;
	irr::gui::IGUIEnvironment* env = nullptr;
	std::vector<irr::gui::CGUITTFont*> fonts;
	std::vector<irr::gui::CGUITTFace*> faces;
};

#endif
