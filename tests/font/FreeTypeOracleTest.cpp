// The font against FreeType: each case of the table is drawn by the font on the software driver
// (in a private Xvfb) and by the test from a FreeType face of its own by the rules below, in grey
// one-pixel rectangles or, with smoothing off, mono bitmaps drawn as images; the pictures must be
// equal to the pixel. Measures, character positions and kerning queries are checked against the
// same model, and on OpenGL every glyph texture of the cases against FreeType's bitmaps.
#include "FontFixture.h"
#include "XServerTest.h"
#include <algorithm>
#include <functional>
#include <map>
#include <string>

using namespace irr;

namespace
{
enum Flags { None = 0, HCentre = 1, VCentre = 2, NoColourAlpha = 4, Mono = 8 };
const core::rect<s32> NoClip(0, 0, -1, -1);

struct Case
{
	const char* font;
	s32 size;
	const wchar_t* text;
	core::rect<s32> position;
	u32 colour;
	int flags = None;
	s32 kerningWidth = 0, kerningHeight = 0;
	const wchar_t* invisible = L" "; // null: none
	core::rect<s32> clip = NoClip;
};

// A font file at a pixel size as FreeType measures it, laid out so: the pen starts at the upper-left
// corner; a line's baseline lies a pixel size below its top, a bitmap's top row bitmap_top above
// it, its left column bitmap_left right of the pen. A glyph advances to its bitmap's right edge,
// an empty or unmapped one by the pixel size from U+2000 on, by half of it below. Each drawn glyph
// but the text's first is kerned against the character before it (across breaks) by FreeType's
// 26.6 kerning truncated toward zero plus the kerning width and height, the vertical part kept.
// Invisible and unmapped characters are neither drawn nor kerned. CR, LF, CR LF start a line a
// pixel size lower at the left edge.
class Model
{
public:
	struct Bitmap
	{
		s32 left = 0, top = 0, width = 0, rows = 0;
		std::vector<u32> coverage;
		// Its texture's side: the smallest power of two greater than its width and its height.
		u32 side() const { return std::max(width, rows) ? 2u << (31 - __builtin_clz(std::max(width, rows))) : 1; }
		bool powerOfTwoTall() const { return rows > 1 && (rows & (rows - 1)) == 0 && width < rows; }
	};
	struct Layout
	{
		s32 width = 0, lines = 1;
		std::vector<std::pair<wchar_t, core::vector2d<s32>>> glyphs; // each drawn glyph's pen
	};

	explicit Model(const Case& c)
		: size(c.size), kerning(c.kerningWidth, c.kerningHeight), invisible(c.invisible ? c.invisible : L"")
	{
		FT_Init_FreeType(&library);
		EXPECT_EQ(FT_New_Face(library, c.font, 0, &face), 0);
		EXPECT_EQ(FT_Set_Char_Size(face, size * 64, size * 64, 0, 0), 0);
	}
	~Model() { FT_Done_FreeType(library); }

	bool mapped(wchar_t ch) const { return FT_Get_Char_Index(face, ch) != 0; }

	// FreeType's grey rendering of glyph index g (mono: its 1-bit one, hinted for mono as the font
	// asks) as 0..255 coverage; a set bit of a 1-bit bitmap is full coverage.
	Bitmap load(u32 g, bool mono) const
	{
		if (FT_Load_Glyph(face, g, mono ? FT_LOAD_RENDER | FT_LOAD_MONOCHROME | FT_LOAD_TARGET_MONO : FT_LOAD_RENDER))
			return Bitmap();
		const FT_Bitmap& m = face->glyph->bitmap;
		Bitmap b{face->glyph->bitmap_left, face->glyph->bitmap_top, (s32)m.width, (s32)m.rows, {}};
		for (s32 r = 0; r < b.rows; ++r)
			for (s32 c = 0; c < b.width; ++c)
				b.coverage.push_back(m.pixel_mode == FT_PIXEL_MODE_MONO ? (m.buffer[r * m.pitch + c / 8] >> (7 - c % 8) & 1) * 255
					: m.buffer[r * m.pitch + c]);
		return b;
	}

	const Bitmap& bitmap(wchar_t ch, bool mono = false)
	{
		const auto slot = bitmaps.emplace(std::make_pair(ch, mono), Bitmap());
		if (slot.second && mapped(ch))
			slot.first->second = load(FT_Get_Char_Index(face, ch), mono);
		return slot.first->second;
	}

	s32 advance(wchar_t ch)
	{
		const Bitmap& b = bitmap(ch);
		return b.left + b.width > 0 ? b.left + b.width : ch >= 0x2000 ? size : size / 2;
	}

	s32 lineHeight()
	{
		s32 lowest = 0;
		for (wchar_t ch : {L'g', L'j', L'_'})
			lowest = std::max(lowest, mapped(ch) ? size - bitmap(ch).top + bitmap(ch).rows : size / 2);
		return lowest + 1;
	}

	core::vector2d<s32> kerningOf(wchar_t previous, wchar_t ch) const
	{
		FT_Vector k = {0, 0};
		FT_Get_Kerning(face, FT_Get_Char_Index(face, previous), FT_Get_Char_Index(face, ch), FT_KERNING_DEFAULT, &k);
		const s32 scale = FT_IS_SCALABLE(face) ? 64 : 1;
		return kerning + core::vector2d<s32>((s32)k.x / scale, (s32)k.y / scale);
	}

	Layout layout(const std::wstring& text)
	{
		Layout out;
		core::vector2d<s32> pen(0, 0);
		wchar_t previous = 0;
		for (size_t i = 0; i < text.size(); ++i)
		{
			const wchar_t ch = text[i];
			if (ch == L'\r' || ch == L'\n')
			{
				i += ch == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n';
				out.width = std::max(out.width, pen.X);
				++out.lines;
				pen = core::vector2d<s32>(0, pen.Y + size);
				continue;
			}
			if (mapped(ch) && invisible.find(ch) == std::wstring::npos)
			{
				if (previous)
					pen += kerningOf(previous, ch);
				out.glyphs.push_back({ch, pen});
			}
			pen.X += advance(ch);
			previous = ch;
		}
		out.width = std::max(out.width, pen.X);
		return out;
	}

	// Draws the expected picture of case c; returns the number of pixels drawn. A pixel's alpha is
	// coverage x colour alpha / 255 (colour alpha 255 with NoColourAlpha); the clip is inclusive.
	size_t draw(video::IVideoDriver* driver, const Case& c)
	{
		const Layout l = layout(c.text);
		core::vector2d<s32> origin = c.position.UpperLeftCorner;
		if (c.flags & HCentre)
			origin.X += (c.position.getWidth() - l.width) >> 1;
		if (c.flags & VCentre)
			origin.Y += (c.position.getHeight() - l.lines * lineHeight()) >> 1;
		video::SColor colour(c.colour);
		if (c.flags & NoColourAlpha)
			colour.setAlpha(255);
		const core::rect<s32>& clip = c.clip;
		size_t drawn = 0;
		for (const auto& glyph : l.glyphs)
		{
			const core::vector2d<s32> pen = origin + glyph.second;
			if (c.flags & Mono)
			{
				drawn += drawMono(driver, bitmap(glyph.first, true), pen, colour, clip.isValid() ? &clip : nullptr);
				continue;
			}
			const Bitmap& b = bitmap(glyph.first);
			for (s32 r = 0; r < b.rows; ++r)
				for (s32 col = 0; col < b.width; ++col)
				{
					const s32 x = pen.X + b.left + col, y = pen.Y + size - b.top + r;
					const u32 v = b.coverage[r * b.width + col];
					if (v == 0 || (clip.isValid() && (x < clip.UpperLeftCorner.X || x > clip.LowerRightCorner.X ||
							y < clip.UpperLeftCorner.Y || y > clip.LowerRightCorner.Y)))
						continue;
					driver->draw2DRectangle(video::SColor(v * colour.getAlpha() / 255, colour.getRed(), colour.getGreen(),
						colour.getBlue()), core::rect<s32>(x, y, x + 1, y + 1));
					++drawn;
				}
		}
		return drawn;
	}

	// Without smoothing, the driver's picture of a glyph's mono bitmap (returns the bits set): opaque white
	// where a bit is set, transparent in the rest of its texture's square but the last row and column.
	size_t drawMono(video::IVideoDriver* driver, const Bitmap& b, core::vector2d<s32> pen, video::SColor colour,
		const core::rect<s32>* clip)
	{
		const u32 side = b.side() - 1;
		std::vector<u16> texels(side * side, 0);
		for (s32 i = 0; i < b.width * b.rows; ++i)
			texels[i / b.width * side + i % b.width] = b.coverage[i] ? 0xFFFF : 0;
		if (side == 0)
			return 0;
		video::IImage* image = driver->createImageFromData(video::ECF_A1R5G5B5, {side, side}, texels.data(), false);
		video::ITexture* texture = driver->addTexture("mono bitmap", image);
		image->drop();
		driver->draw2DImage(texture, {pen.X + b.left, pen.Y + size - b.top}, {0, 0, (s32)side, (s32)side}, clip, colour, true);
		driver->removeTexture(texture);
		return std::count(texels.begin(), texels.end(), 0xFFFF);
	}

private:
	FT_Library library = nullptr;
	FT_Face face = nullptr;
	const s32 size;
	const core::vector2d<s32> kerning;
	const std::wstring invisible;
	std::map<std::pair<wchar_t, bool>, Bitmap> bitmaps;
};

const char* const Game = GameFontPath;
const char* const Otf = ZARNEL_OTF_FONT;
const char* const Pcf = ZARNEL_PCF_FONT;
const wchar_t* const Instructions = L"Instructions:\r\n\r\nF1: \tswitch from show help or not\r\n\r\nPLAY: \tstart to "
	L"play(wait for cube to be messed)\r\n\r\nLeftMouseButton: \tsigle click to select a sub-cube\r\n\r\n\t drag to "
	L"rotate one face\r\n\r\nRightMouseButton: \tdrag to rotate entire cube\r\n\r\nEXIT,Esc: exit\r\n";

// font, size, text, position, colour, flags, kerning width and height, invisible characters, clip
const Case Cases[] = {
	// The frame's texts where the frame draws them.
	{Game, 20, L"press F1 for help", {30, 30, 300, 90}, 0xFFFFFFFF},
	{Game, 15, Instructions, {10, 80, 100, 380}, 0xFFFFFFFF},
	// Kerned pairs in an opaque colour; every kind of line break with a kerning width and height.
	{Game, 20, L"AV To WAVY", {40, 40, 400, 100}, 0xFFC08040},
	{Game, 20, L"AB\r\nCD\rEF\nGH\n\rVA", {40, 40, 400, 100}, 0x80FF8040, None, 3, 2},
	// Centring lines of different widths as one block, both ways, in an area narrower than the text.
	{Game, 20, L"HHHH\r\nH\nTo", {0, 100, 400, 300}, 0xFFFFFFFF, HCentre},
	{Game, 20, L"g_j\nAV", {50, 100, 450, 400}, 0xFFFFFFFF, HCentre | VCentre},
	{Otf, 15, L"AV To\r\nP052", {300, 300, 312, 305}, 0xFF40C0FF, HCentre | VCentre},
	// Invisible characters of a set of its own, colour alpha off; no invisible ones (spaces kerned).
	{Game, 20, L"Ax B x\nVx", {40, 40, 400, 100}, 0x40FFFFFF, NoColourAlpha, 4, 0, L"x"},
	{Game, 20, L"T o A V", {40, 40, 400, 100}, 0xFFFFFFFF, None, 3, 0, nullptr},
	// Unmapped characters below and above U+2000, an empty glyph at U+2000, a mapped one beyond.
	{Game, 20, L"A\x0378" L"B\x1FFF" L"C\x2000" L"D\xE123" L"E\x263A" L"F", {20, 200, 400, 300}, 0xFFFFFFFF, None, 2},
	// Clip rectangles cutting through glyphs on every side.
	{Game, 20, L"HOWDY", {100, 100, 300, 200}, 0xC0FFFFFF, None, 0, 0, L" ", {105, 104, 160, 118}},
	{Otf, 15, L"P052 \x00e9\x263a\xe123 AV", {300, 50, 700, 100}, 0xFFFFFF00, None, 0, 0, L" ", {320, 40, 371, 61}},
	{Pcf, 20, L"Fixed\tcell\r\nA V \x00e9", {20, 300, 400, 400}, 0xA0FFFFFF, None, 1, 1, L" ", {25, 290, 184, 399}},
	{Game, 20, L"", {0, 0, 800, 600}, 0xFFFFFFFF, HCentre | VCentre},
	// Smoothing off (mono bitmaps, some a power of two high): white shows textures' transparent parts.
	{Game, 20, L"AV To /\\ WAVY\nj", {40, 40, 400, 100}, 0xFFFFFFFF, Mono, 2, 1},
	{Game, 15, L"rsz' Hg\r\nAV", {40, 40, 400, 100}, 0x40FFC080, Mono | NoColourAlpha},
	{Otf, 15, L"P052 \x00e9|cz AV", {300, 50, 700, 100}, 0x60FFFF00, Mono, 0, 0, L" ", {320, 40, 371, 61}},
	{Pcf, 20, L"Fixed\r\nA V", {0, 100, 400, 300}, 0xFFFFFFFF, Mono | HCentre | VCentre},
};

class FontOracle : public XServerTest<FontTest>
{
protected:
	video::E_DRIVER_TYPE driverType() const override { return video::EDT_SOFTWARE; }

	// One frame on black with what draws does, read back as the driver's screenshot.
	video::IImage* frame(const std::function<void()>& draws)
	{
		driver->beginScene(true, true, video::SColor(0xFF000000));
		draws();
		driver->endScene();
		return driver->createScreenShot();
	}
};

class GlyphTextures : public FontOracle // on OpenGL, which keeps a texture's texels as uploaded
{
	video::E_DRIVER_TYPE driverType() const override { return video::EDT_OPENGL; }
};

// Whether t (named name, of the record's side) holds bitmap b at the top left of a transparent square
// of b's side, no mip maps: grey white with coverage as alpha in 32 bits, mono opaque white in 16.
bool holds(video::ITexture* t, const core::stringc& name, core::dimension2d<u32> side, const Model::Bitmap& b, bool mono)
{
	const core::dimension2d<u32> square(b.side(), b.side());
	if (!t || t->getName().getPath() != name || t->getColorFormat() != (mono ? video::ECF_A1R5G5B5 : video::ECF_A8R8G8B8) ||
		t->hasMipMaps() || t->getSize() != square || side != square)
		return false;
	const u8* texels = (const u8*)t->lock(video::ETLM_READ_ONLY);
	bool same = true;
	for (u32 i = 0; i < square.getArea(); ++i)
	{
		const u32 r = i / square.Width, c = i % square.Width;
		const u32 v = r < (u32)b.rows && c < (u32)b.width ? b.coverage[r * b.width + c] : 0;
		const u8* texel = texels + r * t->getPitch() + c * (mono ? 2 : 4);
		same &= (mono ? *(const u16*)texel : *(const u32*)texel) == (v == 0 ? 0 : mono ? 0xFFFF : v << 24 | 0xFFFFFF);
	}
	t->unlock();
	return same;
}
}

TEST_F(FontOracle, TextIsDrawnMeasuredAndIndexedWhereFreeTypesMetricsPutIt)
{
	Model game(Cases[0]);
	ASSERT_TRUE(game.kerningOf(L'A', L'V').X < 0 && game.kerningOf(L'T', L'o').X < 0) << "the pairs must kern";
	for (const Case& c : Cases)
	{
		SCOPED_TRACE(testing::Message() << "case " << &c - Cases << ": " << c.text);
		Model model(c);
		gui::CGUITTFont* font = fontFor(c.font, c.size);
		ASSERT_NE(font->face, nullptr);
		font->setKerningWidth(c.kerningWidth);
		font->setKerningHeight(c.kerningHeight);
		font->setInvisibleCharacters(c.invisible);
		font->useColorAlpha = !(c.flags & NoColourAlpha);
		font->smoothGlyphs = !(c.flags & Mono);

		const Model::Layout layout = model.layout(c.text);
		EXPECT_EQ(font->getDimension(c.text), core::dimension2d<u32>(layout.width, layout.lines * model.lineHeight()));
		// A character is found at the pen offsets that its advance reaches, kerning left out.
		std::vector<s32> reach;
		s32 wrong = 0;
		for (const wchar_t* s = c.text; *s; ++s)
		{
			reach.push_back((reach.empty() ? 0 : reach.back()) + model.advance(*s));
			wrong += s[1] && font->getKerningWidth(s + 1, s) != model.kerningOf(s[0], s[1]).X;
			wrong += font->getKerningWidth(nullptr, s) != 0;
		}
		for (s32 px = -1; px <= (reach.empty() ? 0 : reach.back()) + 1; ++px)
		{
			const auto at = std::lower_bound(reach.begin(), reach.end(), px);
			wrong += font->getCharacterFromPos(c.text, px) != (at == reach.end() ? -1 : (s32)(at - reach.begin()));
		}
		EXPECT_EQ(wrong, 0) << "kerning queries and character positions";
		EXPECT_EQ(font->getKerningHeight(), c.kerningHeight);

		video::IImage* drawn = frame([&] {
			font->draw(c.text, c.position, video::SColor(c.colour), c.flags & HCentre, c.flags & VCentre,
				c.clip.isValid() ? &c.clip : nullptr);
		});
		size_t ink = 0;
		video::IImage* expected = frame([&] { ink = model.draw(driver, c); });
		EXPECT_EQ(ink > 0, *c.text != 0);
		const u8* pixels = (const u8*)drawn->lock();
		EXPECT_TRUE(std::equal(pixels, pixels + drawn->getImageDataSizeInBytes(), (const u8*)expected->lock()))
			<< "the font's picture differs from FreeType's";
		drawn->drop();
		expected->drop();
	}
}

TEST_F(GlyphTextures, HoldFreeTypesGreyAndMonoRenderingsTexelByTexel)
{
	// Flags that each upload must override (32-bit grey, 16-bit mono, no mip maps) and put back.
	driver->setTextureCreationFlag(video::ETCF_ALWAYS_16_BIT, true);
	driver->setTextureCreationFlag(video::ETCF_CREATE_MIP_MAPS, true);
	size_t tall = 0;
	for (const Case& c : Cases)
	{
		SCOPED_TRACE(testing::Message() << "case " << &c - Cases << ": " << c.text);
		Model model(c);
		gui::CGUITTFont* font = fontFor(c.font, c.size);
		// Each character of the case, and every printable ASCII one, some of them a power of two high.
		for (const wchar_t* s = c.text; *s; ++s)
			font->glyphFor(*s);
		for (wchar_t ch = L'!'; ch <= L'~'; ++ch)
			font->glyphFor(ch);
		std::vector<u32> wrong;
		for (u32 g = 1; g <= font->glyphs.size(); ++g)
		{
			const gui::CGUITTGlyph& r = *font->glyphs[g - 1];
			if (!r.greyLoaded) // not rasterised
				continue;
			const Model::Bitmap grey = model.load(g, false), mono = model.load(g, true);
			const core::stringc name = core::stringc("TTFontGlyph") + core::stringc(g);
			tall += grey.powerOfTwoTall() || mono.powerOfTwoTall();
			if (!r.isCached || !holds(r.greyTexture, name, {r.greyTexWidth, r.greyTexHeight}, grey, false) ||
				!holds(r.monoTexture, name + "_mono", {r.monoTexWidth, r.monoTexHeight}, mono, true))
				wrong.push_back(g);
		}
		EXPECT_EQ(wrong, std::vector<u32>()) << "glyph indices whose textures are not FreeType's bitmaps";
	}
	EXPECT_GT(tall, 0u) << "no glyph a power of two high and narrower than high was checked";
	EXPECT_TRUE(driver->getTextureCreationFlag(video::ETCF_ALWAYS_16_BIT));
	EXPECT_TRUE(driver->getTextureCreationFlag(video::ETCF_CREATE_MIP_MAPS));
}
