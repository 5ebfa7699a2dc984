// The face's lifetime and the class-wide FreeType library.
#include "FontFixture.h"

using namespace irr;
using gui::CGUITTFace;

TEST(Face, TwoFacesShareOneLibraryThatTheLastOneReleases)
{
	{
		CGUITTFace first;
		ASSERT_TRUE(first.loadFile(GameFontPath));
		{
			CGUITTFace second;
			ASSERT_TRUE(second.loadFile(GameFontPath));
			EXPECT_EQ(CGUITTFace::loadedFaceCount, 2);
			EXPECT_NE(first.ftFace, second.ftFace);
		}
		EXPECT_EQ(CGUITTFace::loadedFaceCount, 1);
		EXPECT_TRUE(CGUITTFace::sharedLibraryReady);
	}
	EXPECT_EQ(CGUITTFace::loadedFaceCount, 0);
	EXPECT_FALSE(CGUITTFace::sharedLibraryReady);

	CGUITTFace later;
	EXPECT_TRUE(later.loadFile(GameFontPath));
	EXPECT_TRUE(CGUITTFace::sharedLibraryReady);
	EXPECT_EQ(CGUITTFace::loadedFaceCount, 1);
}

TEST(Face, ASecondLoadReleasesTheFirstFaceAndAMissingFileLeavesItUnloaded)
{
	CGUITTFace face;
	ASSERT_TRUE(face.loadFile(GameFontPath));
	ASSERT_TRUE(face.loadFile(ZARNEL_OTF_FONT));
	EXPECT_EQ(CGUITTFace::loadedFaceCount, 1);
	EXPECT_FALSE(face.loadFile("media/no-such-font.ttf"));
	EXPECT_EQ(CGUITTFace::loadedFaceCount, 0);
	EXPECT_FALSE(face.isLoaded);
	EXPECT_EQ(face.ftFace, nullptr);
}

using FaceReload = FontTest;

TEST_F(FaceReload, AFontWhoseFaceFailedToReloadFallsBackToTheBuiltInFont)
{
	gui::CGUITTFont* font = fontFor(GameFontPath, 20);
	font->getDimension(L"AV");
	ASSERT_FALSE(font->face->loadFile("media/no-such-font.ttf"));
	EXPECT_EQ(font->getDimension(L"AV"), env->getBuiltInFont()->getDimension(L"AV"));
	EXPECT_EQ(font->kerningOf(L'V', L'A'), core::vector2d<s32>(0, 0));
	EXPECT_EQ(font->glyphFor(L'A'), 0u);
	// Centring measures the text first: it must not reach the released face either.
	font->draw(L"AV", core::rect<s32>(0, 0, 200, 50), video::SColor(0xFFFFFFFF), true, true);
}

TEST_F(FaceReload, AFontWhoseFaceWasReloadedRebindsToTheNewFace)
{
	gui::CGUITTFont* font = fontFor(GameFontPath, 20);
	const core::dimension2d<u32> before = font->getDimension(L"Zarnel");
	ASSERT_TRUE(font->face->loadFile(ZARNEL_OTF_FONT));
	const core::dimension2d<u32> expected = fontFor(ZARNEL_OTF_FONT, 20)->getDimension(L"Zarnel");
	ASSERT_NE(expected, before);
	EXPECT_EQ(font->getDimension(L"Zarnel"), expected);
	EXPECT_EQ(font->glyphs.size(), (u32)font->face->ftFace->num_glyphs);
	EXPECT_EQ(font->getPixelSize(), 20u);
}
