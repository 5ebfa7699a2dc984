// The glyph cache: Direct3D 8 texels, bitmap layouts, rasterising once, and every texture removed
// exactly once (the textures themselves are checked against FreeType in FreeTypeOracleTest).
#include "FontFixture.h"
#include <cstring>

using namespace irr;
using gui::CGUITTGlyph;

namespace
{
using Glyph = FontTest;

FT_Bitmap bitmapOf(unsigned char mode, unsigned rows, unsigned width, int pitch, unsigned char* buffer)
{
	FT_Bitmap b;
	memset(&b, 0, sizeof(b));
	b.pixel_mode = mode;
	b.rows = rows;
	b.width = width;
	b.pitch = pitch;
	b.buffer = buffer;
	b.num_grays = mode == FT_PIXEL_MODE_GRAY ? 256 : 2;
	return b;
}
}

TEST(GlyphTexture, Direct3D8TexelsHoldTheCoverageInEveryChannel)
{
	EXPECT_EQ(CGUITTGlyph::greyTexel(128, true), 0x80808080u);
	EXPECT_EQ(CGUITTGlyph::greyTexel(0, true), 0u);
}

TEST(GlyphBitmap, GreyRowsAreReadByTheirPitchAndANegativePitchStoresTheTopRowLast)
{
	unsigned char down[] = {1, 2, 3, 99, 4, 5, 6, 99}, up[] = {4, 5, 6, 99, 1, 2, 3, 99};
	for (const FT_Bitmap& b : {bitmapOf(FT_PIXEL_MODE_GRAY, 2, 3, 4, down), bitmapOf(FT_PIXEL_MODE_GRAY, 2, 3, -4, up)})
	{
		u8 out[6];
		ASSERT_TRUE(CGUITTGlyph::readCoverage(b, out));
		EXPECT_EQ(std::vector<u8>(out, out + 6), (std::vector<u8>{1, 2, 3, 4, 5, 6})) << b.pitch;
	}
}

TEST(GlyphBitmap, UnreadableLayoutsAreRefused)
{
	unsigned char data[8] = {};
	u8 out[8];
	EXPECT_FALSE(CGUITTGlyph::readCoverage(bitmapOf(FT_PIXEL_MODE_LCD, 1, 3, 9, data), out));
	EXPECT_FALSE(CGUITTGlyph::readCoverage(bitmapOf(FT_PIXEL_MODE_BGRA, 1, 2, 8, data), out));
	EXPECT_FALSE(CGUITTGlyph::readCoverage(bitmapOf(FT_PIXEL_MODE_GRAY, 2, 4, 3, data), out));
	EXPECT_FALSE(CGUITTGlyph::readCoverage(bitmapOf(FT_PIXEL_MODE_GRAY, 2, 4, 4, nullptr), out));
}

TEST_F(Glyph, IsRasterisedOnceAndACachedLookupLoadsNothing)
{
	gui::CGUITTFont* font = fontFor(GameFontPath, 20);
	font->getDimension(L""); // measures the line height on g, j and _
	const u32 rasterised = CGUITTGlyph::rasterizeCount;
	const u32 textures = driver->getTextureCount();
	font->glyphFor(L'Q');
	EXPECT_EQ(CGUITTGlyph::rasterizeCount, rasterised + 1);
	EXPECT_EQ(driver->getTextureCount(), textures + 2);
	font->glyphFor(L'Q');
	font->getDimension(L"QQQ");
	EXPECT_EQ(CGUITTGlyph::rasterizeCount, rasterised + 1);
	EXPECT_EQ(driver->getTextureCount(), textures + 2);
}

TEST_F(Glyph, AnUnmappedCharacterTouchesNoRecord)
{
	gui::CGUITTFont* font = fontFor(GameFontPath, 20);
	const wchar_t unmapped = 0xE123; // private use
	ASSERT_EQ(FT_Get_Char_Index(font->face->ftFace, unmapped), 0u);
	const u32 rasterised = CGUITTGlyph::rasterizeCount;
	EXPECT_EQ(font->glyphFor(unmapped), 0u);
	EXPECT_EQ(CGUITTGlyph::rasterizeCount, rasterised);
}

TEST_F(Glyph, AGlyphIndexBeyondTheTableIsNoGlyph)
{
	gui::CGUITTFont* font = fontFor(GameFontPath, 20);
	// A table shorter than the face claims, as a malformed font would give.
	for (u32 i = 10; i < font->glyphs.size(); ++i)
		delete font->glyphs[i];
	font->glyphs.set_used(10);
	ASSERT_GT(FT_Get_Char_Index(font->face->ftFace, L'A'), 10u);
	EXPECT_EQ(font->glyphFor(L'A'), 0u);
	EXPECT_EQ(font->advanceOf(L'A'), 10);
}

TEST_F(Glyph, RebindingAndDestroyingRemoveEveryTextureOnce)
{
	const u32 baseline = driver->getTextureCount();
	gui::CGUITTFont* font = fontFor(GameFontPath, 20);
	font->getDimension(L"Zarnel!");
	EXPECT_GT(driver->getTextureCount(), baseline);
	ASSERT_TRUE(font->bindFace(openFace(ZARNEL_OTF_FONT), 15));
	EXPECT_EQ(driver->getTextureCount(), baseline);
	font->getDimension(L"again");
	EXPECT_GT(driver->getTextureCount(), baseline);
	fonts.clear();
	font->drop();
	EXPECT_EQ(driver->getTextureCount(), baseline);
}

TEST_F(Glyph, AGlyphTooBigForAnyTextureHasNoImageAndIsLoadedOnce)
{
	// At this size '|' is some 48,000 pixels tall: its texture side would wrap a 32-bit size.
	gui::CGUITTFont* font = fontFor(GameFontPath, 40000);
	const u32 textures = driver->getTextureCount();
	const u32 rasterised = CGUITTGlyph::rasterizeCount;
	const CGUITTGlyph& bar = *font->glyphs[font->glyphFor(L'|') - 1];
	EXPECT_EQ(bar.greyTexture, nullptr);
	EXPECT_EQ(bar.monoTexture, nullptr);
	EXPECT_EQ(bar.greyWidth * bar.greyRows, 0u);
	font->draw(L"||", core::rect<s32>(0, 0, 800, 600), video::SColor(255, 255, 255, 255));
	EXPECT_EQ(CGUITTGlyph::rasterizeCount, rasterised + 1);
	EXPECT_EQ(driver->getTextureCount(), textures);
}
