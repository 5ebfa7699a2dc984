// Measuring with the committed font: lines, advances, kerning, positions, and a font without a
// usable face.
#include "FontFixture.h"
#include <type_traits>

using namespace irr;

namespace
{
class Metrics : public FontTest
{
protected:
	void SetUp() override
	{
		FontTest::SetUp();
		font = fontFor(GameFontPath, 20);
		ASSERT_NE(font->face, nullptr);
	}
	s32 width(const wchar_t* text) const { return (s32)font->getDimension(text).Width; }
	s32 height(const wchar_t* text) const { return (s32)font->getDimension(text).Height; }
	s32 lineHeight() const { return height(L""); }

	// FreeType's own answer for a character at the font's size, loaded the way the font loads
	// it (hinted, auto-hinted), as the independent measure the font's metrics must agree with.
	struct RawGlyph
	{
		s32 left, width, top, rows;
	};
	RawGlyph raw(wchar_t ch) const
	{
		FT_Face f = font->face->ftFace;
		FT_Set_Char_Size(f, 20 * 64, 20 * 64, 0, 0);
		EXPECT_EQ(FT_Load_Char(f, ch, FT_LOAD_RENDER), 0);
		return RawGlyph{f->glyph->bitmap_left, (s32)f->glyph->bitmap.width, f->glyph->bitmap_top,
			(s32)f->glyph->bitmap.rows};
	}
	s32 rawAdvance(wchar_t ch) const { return raw(ch).left + raw(ch).width; }
	s32 rawKerning(wchar_t left, wchar_t right) const
	{
		FT_Face f = font->face->ftFace;
		FT_Set_Char_Size(f, 20 * 64, 20 * 64, 0, 0);
		FT_Vector k;
		FT_Get_Kerning(f, FT_Get_Char_Index(f, left), FT_Get_Char_Index(f, right), FT_KERNING_DEFAULT, &k);
		return (s32)(k.x / 64);
	}

	gui::CGUITTFont* font = nullptr;
};
}

TEST_F(Metrics, AnEmptyTextIsOneLineHighAndHasNoCharacters)
{
	// A line reaches from its top to one past the lowest bitmap row of g, j or _.
	s32 expected = 0;
	for (wchar_t ch : {L'g', L'j', L'_'})
		expected = core::max_(expected, 20 - raw(ch).top + raw(ch).rows + 1);
	EXPECT_EQ(font->getDimension(L""), core::dimension2d<u32>(0, expected));
	EXPECT_GT(expected, 20);
	EXPECT_EQ(font->getCharacterFromPos(L"", 0), -1);
}

TEST_F(Metrics, CarriageReturnAndLineFeedTogetherMakeOneBreak)
{
	EXPECT_EQ(height(L"AB\r\nCD"), 2 * lineHeight());
	EXPECT_EQ(width(L"AB\r\nCD"), core::max_(width(L"AB"), width(L"CD")));
	EXPECT_EQ(height(L"AB\rCD"), 2 * lineHeight());
	EXPECT_EQ(height(L"AB\nCD"), 2 * lineHeight());
	EXPECT_EQ(height(L"AB\n\rCD"), 3 * lineHeight());
}

TEST_F(Metrics, AnEmptySpaceAdvancesByHalfThePixelSize)
{
	ASSERT_EQ(glyphOf(font, L' ').greyWidth, 0u);
	EXPECT_EQ(font->advanceOf(L' '), 10);
	EXPECT_EQ(width(L"A B"), rawAdvance(L'A') + 10 + rawAdvance(L'B'));
}

TEST_F(Metrics, UnmappedCharactersAdvanceByHalfOrAllOfThePixelSize)
{
	EXPECT_EQ(font->advanceOf((wchar_t)0x0378), 10); // unassigned, below U+2000
	EXPECT_EQ(font->advanceOf((wchar_t)0xE123), 20); // private use, above
}

TEST_F(Metrics, AGlyphAdvancesToTheRightEdgeOfItsBitmap)
{
	EXPECT_EQ(font->advanceOf(L'A'), rawAdvance(L'A'));
	EXPECT_EQ(width(L"Zarnel"), rawAdvance(L'Z') + rawAdvance(L'a') + rawAdvance(L'r') + rawAdvance(L'n') +
		rawAdvance(L'e') + rawAdvance(L'l') + rawKerning(L'Z', L'a') + rawKerning(L'a', L'r') +
		rawKerning(L'r', L'n') + rawKerning(L'n', L'e') + rawKerning(L'e', L'l'));
}

TEST_F(Metrics, CharacterPositionsCountAdvancesWithoutKerning)
{
	const s32 a = font->advanceOf(L'A');
	EXPECT_EQ(font->getCharacterFromPos(L"AV", 0), 0);
	EXPECT_EQ(font->getCharacterFromPos(L"AV", a), 0);
	EXPECT_EQ(font->getCharacterFromPos(L"AV", a + 1), 1);
	EXPECT_EQ(font->getCharacterFromPos(L"AV", a + font->advanceOf(L'V') + 1), -1);
}

TEST_F(Metrics, KerningPairsOfTheFaceNarrowTheText)
{
	// The committed font kerns A and V by a pixel or more at this size.
	ASSERT_LT(rawKerning(L'A', L'V'), 0);
	EXPECT_EQ(font->kerningOf(L'V', L'A').X, rawKerning(L'A', L'V'));
	EXPECT_EQ(width(L"AV"), rawAdvance(L'A') + rawAdvance(L'V') + rawKerning(L'A', L'V'));
}

TEST_F(Metrics, ALineIsMeasuredAsFarAsTheDrawnPenMoves)
{
	// Only drawn glyphs are kerned, each against the character before it, which for the first
	// glyph of a line is the last one of the line above; breaks, spaces and unmapped characters
	// are not kerned.
	font->setKerningWidth(3);
	const s32 av = rawKerning(L'A', L'V');
	EXPECT_EQ(width(L"A\nV"), rawAdvance(L'V') + 3 + av);
	EXPECT_EQ(width(L"A\r\nV"), rawAdvance(L'V') + 3 + av);
	EXPECT_EQ(width(L"AV\n"), rawAdvance(L'A') + rawAdvance(L'V') + 3 + av);
	EXPECT_EQ(width(L"A B"), rawAdvance(L'A') + 10 + 3 + rawKerning(L' ', L'B') + rawAdvance(L'B'));
	EXPECT_EQ(width(L"A\xE123" L"B"), rawAdvance(L'A') + 20 + 3 + rawAdvance(L'B'));
}

TEST_F(Metrics, TheFirstGlyphIsNeverKernedAndLaterOnesGetTheKerningWidth)
{
	const s32 one = width(L"H");
	const s32 three = width(L"HHH");
	font->setKerningWidth(5);
	EXPECT_EQ(width(L"H"), one);
	EXPECT_EQ(width(L"HHH"), three + 10);
	EXPECT_EQ(font->kerningOf(L'H', 0), core::vector2d<s32>(0, 0));
}

TEST_F(Metrics, KerningQueriesAnswerForNullLettersAndUnboundFonts)
{
	const wchar_t a = L'A', v = L'V';
	font->setKerningWidth(3);
	font->setKerningHeight(2);
	EXPECT_EQ(font->getKerningWidth(nullptr, &a), 0);
	EXPECT_EQ(font->getKerningWidth(&v, &a), font->kerningOf(L'V', L'A').X);
	EXPECT_EQ(font->getKerningHeight(), 2);
	gui::CGUITTFont* unbound = unboundFont();
	unbound->setKerningWidth(7);
	EXPECT_EQ(unbound->getKerningWidth(&v, &a), 7);
}

TEST_F(Metrics, InvisibleCharactersAreMeasuredLikeAnyOther)
{
	const s32 before = width(L"AxB");
	font->setInvisibleCharacters(L"x");
	EXPECT_TRUE(font->invisibleChars == L"x");
	EXPECT_EQ(width(L"AxB"), before);
	font->setInvisibleCharacters(nullptr);
	EXPECT_EQ(font->invisibleChars.size(), 0u);
}

TEST_F(Metrics, AFontWithoutAUsableFaceMeasuresWithTheBuiltInFont)
{
	gui::CGUITTFont* unbound = unboundFont();
	gui::CGUITTFace* missing = openFace("media/no-such-font.ttf");
	EXPECT_FALSE(unbound->bindFace(missing, 20));
	EXPECT_EQ(unbound->face, nullptr);
	EXPECT_EQ(unbound->getDimension(L"Hello"), env->getBuiltInFont()->getDimension(L"Hello"));
	EXPECT_EQ(unbound->getCharacterFromPos(L"Hello", 3), env->getBuiltInFont()->getCharacterFromPos(L"Hello", 3));
	unbound->draw(L"Hello", core::rect<s32>(0, 0, 100, 20), video::SColor(0xFFFFFFFF));
	EXPECT_EQ(unbound->glyphFor(L'H'), 0u);
}

static_assert(!std::is_copy_constructible<gui::CGUITTFont>::value && !std::is_copy_assignable<gui::CGUITTFont>::value,
	"a copied font would destroy its glyph records twice");

TEST_F(Metrics, ARefusedBindKeepsTheFontAsItWas)
{
	gui::CGUITTFace* bound = font->face;
	const u32 records = font->glyphs.size();
	EXPECT_FALSE(font->bindFace(openFace("media/no-such-font.ttf"), 15));
	// No size, 26.6 sizes that wrap 32 bits (to 0 and to 20 pixels), a sign overflow, more
	// pixels per em than FreeType takes, and a size the bitmap font has no strike for.
	for (u32 size : {0u, 1u << 26, (1u << 26) + 20, 1u << 31, 65536u})
		EXPECT_FALSE(font->bindFace(openFace(GameFontPath), size)) << size;
	EXPECT_FALSE(font->bindFace(openFace(ZARNEL_PCF_FONT), 15));
	EXPECT_EQ(font->face, bound);
	EXPECT_EQ(font->getPixelSize(), 20u);
	EXPECT_EQ(font->glyphs.size(), records);
	EXPECT_EQ(font->advanceOf((wchar_t)0xE123), 20);
	EXPECT_EQ(width(L"A"), rawAdvance(L'A'));
	EXPECT_TRUE(unboundFont()->bindFace(openFace(GameFontPath), 15));
	EXPECT_TRUE(unboundFont()->bindFace(openFace(ZARNEL_PCF_FONT), 20));
}

TEST_F(Metrics, AFontWithoutAnEnvironmentDrawsNothingAndBindsNothing)
{
	gui::CGUITTFont orphan(nullptr);
	EXPECT_EQ(orphan.videoDriver, nullptr);
	EXPECT_FALSE(orphan.bindFace(font->face, 20));
	orphan.draw(L"nothing", core::rect<s32>(0, 0, 10, 10), video::SColor(0xFFFFFFFF));
	EXPECT_EQ(orphan.getDimension(L"nothing"), core::dimension2d<u32>(0, 0));
}
