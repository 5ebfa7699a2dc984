// Fonts of four kinds at the font path: the committed TrueType font, an OpenType (CFF) font, a
// bitmap font whose rows are padded, and files that are no font at all. None may crash or read
// outside FreeType's buffers (this suite runs under AddressSanitizer), and the real fonts must
// yield drawn text.
#include "FontFixture.h"
#include <cstdio>
#include <random>
#include <unistd.h>

using namespace irr;

namespace
{
class FontFiles : public FontTest
{
protected:
	// Measures and draws a text that exercises breaks, spaces, kerning and unmapped characters.
	void exercise(gui::CGUITTFont* font)
	{
		const wchar_t* text = L"Zarnel AV To\r\n\tpress F1 \x00e9\x263a\xe123";
		font->getDimension(text);
		font->getCharacterFromPos(text, 50);
		font->draw(text, core::rect<s32>(10, 10, 300, 100), video::SColor(0xFFFFFFFF), true, true,
			nullptr);
		font->smoothGlyphs = false;
		const core::rect<s32> clip(0, 0, 40, 40);
		font->draw(text, core::rect<s32>(10, 10, 300, 100), video::SColor(0x80FFFFFF), false, false, &clip);
	}

	std::string tempFile(const std::string& bytes)
	{
		char name[] = "/tmp/zarnel-font-XXXXXX";
		const int fd = mkstemp(name);
		EXPECT_EQ(write(fd, bytes.data(), bytes.size()), (ssize_t)bytes.size());
		close(fd);
		created.push_back(name);
		return name;
	}

	void TearDown() override
	{
		FontTest::TearDown();
		for (const std::string& name : created)
			unlink(name.c_str());
	}

	std::vector<std::string> created;
};
}

TEST_F(FontFiles, TheCommittedTrueTypeFontDrawsText)
{
	gui::CGUITTFont* font = fontFor(GameFontPath, 20);
	ASSERT_NE(font->face, nullptr);
	exercise(font);
	EXPECT_GT(glyphOf(font, L'Z').greyWidth, 0u);
	EXPECT_TRUE(glyphOf(font, L'Z').monoLoaded);
}

TEST_F(FontFiles, AnOpenTypeFontDrawsText)
{
	gui::CGUITTFont* font = fontFor(ZARNEL_OTF_FONT, 15);
	ASSERT_NE(font->face, nullptr);
	exercise(font);
	EXPECT_GT(glyphOf(font, L'Z').greyWidth, 0u);
}

TEST_F(FontFiles, ABitmapFontWithPaddedRowsGivesFullCoverageInk)
{
	gui::CGUITTFont* font = fontFor(ZARNEL_PCF_FONT, 20);
	ASSERT_NE(font->face, nullptr);
	exercise(font);
	const gui::CGUITTGlyph& a = glyphOf(font, L'A');
	ASSERT_EQ(a.greyWidth, 10u);
	ASSERT_EQ(a.greyRows, 20u);
	u32 ink = 0, other = 0;
	for (u32 i = 0; i < a.greyWidth * a.greyRows; ++i)
	{
		ink += a.coverage[i] == 255;
		other += a.coverage[i] != 255 && a.coverage[i] != 0;
	}
	EXPECT_GT(ink, 20u);
	EXPECT_EQ(other, 0u);
	// At a size the font has no strike for, nothing loads, and nothing breaks.
	exercise(fontFor(ZARNEL_PCF_FONT, 15));
}

TEST_F(FontFiles, AnEmptyOrRandomFileIsNoFaceAndTheFontStillMeasures)
{
	std::mt19937 random(5);
	std::string noise(4096, '\0');
	for (char& c : noise)
		c = (char)(random() & 0xFF);
	for (const std::string& bytes : {std::string(), noise, std::string("true\x00\x01\x00\x00", 8) + noise})
	{
		gui::CGUITTFont* font = fontFor(tempFile(bytes).c_str(), 20);
		EXPECT_EQ(font->face, nullptr);
		EXPECT_EQ(font->getDimension(L"still readable"), env->getBuiltInFont()->getDimension(L"still readable"));
		exercise(font);
	}
}
