// Font drawing and metrics; see CGUITTFont.h. Each line's baseline lies pixelSize below the
// line's top. A measured line is exactly as wide as the distance draw moves the pen across it:
// both kern only drawn glyphs, each against the character before it (the last one of the line
// above for a line's first glyph), and never a line break, an invisible or an unmapped character;
// otherwise centred text would sit off its drawn width.
#include "CGUITTFont.h"
#include FT_FREETYPE_H

namespace irr
{
namespace gui
{

namespace
{
bool isLineBreak(wchar_t ch) { return ch == L'\r' || ch == L'\n'; }
}

CGUITTFont::CGUITTFont(IGUIEnvironment* env)
	: smoothGlyphs(true), useColorAlpha(true), hinting(true), autoHinting(true),
	  environment(env), videoDriver(0), face(0), kerningWidth(0), kerningHeight(0),
	  invisibleChars(L" "), pixelSize(0), boundGeneration(0)
{
	if (environment)
	{
		videoDriver = environment->getVideoDriver();
		if (videoDriver)
			videoDriver->grab();
	}
}

CGUITTFont::~CGUITTFont()
{
	clearGlyphs();
	if (videoDriver)
		videoDriver->drop();
}

void CGUITTFont::clearGlyphs()
{
	for (u32 i = 0; i < glyphs.size(); ++i)
		delete glyphs[i];
	glyphs.clear();
}

bool CGUITTFont::sizeFits(FT_Face ftFace, u32 size)
{
	// FT_F26Dot6 is only 32 bits on some platforms: past this the size would wrap before FreeType
	// sees it, and a wrapped size is one FreeType would accept.
	if (size == 0 || size > 0x7FFFFFFFu / 64)
		return false;
	const FT_F26Dot6 size26Dot6 = (FT_F26Dot6)size * 64;
	return FT_Set_Char_Size(ftFace, size26Dot6, size26Dot6, 0, 0) == 0;
}

bool CGUITTFont::bindFace(CGUITTFace* newFace, u32 size)
{
	if (!videoDriver || !newFace || !newFace->isLoaded || !sizeFits(newFace->ftFace, size))
		return false;
	clearGlyphs();
	face = newFace;
	pixelSize = size;
	boundGeneration = face->generation;
	const u32 count = (u32)face->ftFace->num_glyphs;
	glyphs.reallocate(count);
	for (u32 i = 0; i < count; ++i)
	{
		CGUITTGlyph* glyph = new CGUITTGlyph();
		glyph->videoDriver = videoDriver;
		glyph->pixelSize = size;
		glyph->usePixelSizes = false;
		glyph->faceRef = &face->ftFace;
		glyph->isCached = false;
		glyphs.push_back(glyph);
	}
	return true;
}

// The glyph table belongs to the face as it was bound. A reloaded face gets a new table (the
// cache is filled lazily from const lookups anyway, so this one rebuild from a const call is of
// the same kind); a released face leaves the font on the built-in one.
bool CGUITTFont::hasFace() const
{
	if (!face || !face->isLoaded)
		return false;
	if (face->generation != boundGeneration)
		return const_cast<CGUITTFont*>(this)->bindFace(face, pixelSize);
	return true;
}

IGUIFont* CGUITTFont::fallback() const
{
	return environment ? environment->getBuiltInFont() : 0;
}

u32 CGUITTFont::glyphFor(wchar_t ch) const
{
	if (!hasFace())
		return 0;
	const u32 index = FT_Get_Char_Index(face->ftFace, (FT_ULong)(u32)ch);
	// Index 0 is FreeType's missing glyph; one past the table would be a malformed font.
	if (index == 0 || index > glyphs.size())
		return 0;
	CGUITTGlyph* glyph = glyphs[index - 1];
	if (!glyph->isCached)
		glyph->rasterize(index, hinting, autoHinting);
	return index;
}

bool CGUITTFont::isDrawn(wchar_t ch, u32 index) const
{
	return index != 0 && invisibleChars.findFirst(ch) < 0;
}

s32 CGUITTFont::advanceOf(wchar_t ch) const
{
	const u32 index = glyphFor(ch);
	if (index)
	{
		const CGUITTGlyph* glyph = glyphs[index - 1];
		const s32 right = glyph->greyLeft + (s32)glyph->greyWidth;
		if (right > 0)
			return right;
	}
	return (u32)ch >= 0x2000 ? (s32)pixelSize : (s32)(pixelSize / 2);
}

s32 CGUITTFont::lineBottomOf(wchar_t ch) const
{
	const u32 index = glyphFor(ch);
	if (index)
	{
		const CGUITTGlyph* glyph = glyphs[index - 1];
		return (s32)pixelSize - glyph->greyTop + (s32)glyph->greyRows;
	}
	return (s32)(pixelSize / 2);
}

core::vector2d<s32> CGUITTFont::kerningOf(wchar_t ch, wchar_t previous) const
{
	if (!hasFace() || ch == 0 || previous == 0)
		return core::vector2d<s32>(0, 0);
	const u32 right = glyphFor(ch);
	const u32 left = glyphFor(previous);
	FT_Vector k;
	k.x = k.y = 0;
	FT_Get_Kerning(face->ftFace, left, right, FT_KERNING_DEFAULT, &k);
	s32 kx = (s32)k.x;
	s32 ky = (s32)k.y;
	if (FT_IS_SCALABLE(face->ftFace))
	{
		// 26.6 fixed point; C++ division truncates toward zero.
		kx /= 64;
		ky /= 64;
	}
	return core::vector2d<s32>(kerningWidth + kx, kerningHeight + ky);
}

void CGUITTFont::draw(const core::stringw& text, const core::rect<s32>& position,
	video::SColor color, bool hcenter, bool vcenter, const core::rect<s32>* clip)
{
	if (!videoDriver)
		return;
	if (!hasFace())
	{
		if (IGUIFont* builtIn = fallback())
			builtIn->draw(text, position, color, hcenter, vcenter, clip);
		return;
	}
	const wchar_t* s = text.c_str();
	// Each line starts at the x of the first line, so the block as a whole is centred.
	const core::dimension2d<u32> d = hcenter || vcenter ? getDimension(s) : core::dimension2d<u32>(0, 0);
	const s32 lineStartX = position.UpperLeftCorner.X + (hcenter ? centreOffset(position.getWidth(), (s32)d.Width) : 0);
	core::position2d<s32> pen(lineStartX, position.UpperLeftCorner.Y);
	if (vcenter)
		pen.Y += centreOffset(position.getHeight(), (s32)d.Height);
	if (!useColorAlpha)
		color.setAlpha(255);

	wchar_t previous = 0;
	for (; *s; ++s)
	{
		const wchar_t ch = *s;
		const u32 index = glyphFor(ch);
		if (isLineBreak(ch))
		{
			if (ch == L'\r' && s[1] == L'\n')
				++s;
			pen.Y += (s32)pixelSize;
			pen.X = lineStartX;
			continue;
		}
		if (isDrawn(ch, index))
		{
			pen += kerningOf(ch, previous);
			drawGlyph(*glyphs[index - 1], pen, color, clip);
		}
		pen.X += advanceOf(ch);
		previous = ch;
	}
}

void CGUITTFont::drawGlyph(const CGUITTGlyph& glyph, const core::position2d<s32>& pen,
	video::SColor color, const core::rect<s32>* clip) const
{
	if (!smoothGlyphs && glyph.monoLoaded)
	{
		if (glyph.monoTexture)
			videoDriver->draw2DImage(glyph.monoTexture,
				core::position2d<s32>(pen.X + glyph.monoLeft, pen.Y + (s32)pixelSize - glyph.monoTop),
				core::rect<s32>(0, 0, glyph.monoTexWidth - 1, glyph.monoTexHeight - 1),
				clip, color, true);
	}
	else if (videoDriver->getDriverType() != video::EDT_SOFTWARE)
	{
		if (glyph.greyTexture)
			videoDriver->draw2DImage(glyph.greyTexture,
				core::position2d<s32>(pen.X + glyph.greyLeft, pen.Y + (s32)pixelSize - glyph.greyTop),
				core::rect<s32>(0, 0, glyph.greyTexWidth - 1, glyph.greyTexHeight - 1),
				clip, color, true);
	}
	else
		drawCoverage(glyph, pen, color, clip);
}

// The software driver cannot blend textures by their alpha: draw one rectangle per covered pixel.
void CGUITTFont::drawCoverage(const CGUITTGlyph& glyph, const core::position2d<s32>& pen,
	video::SColor color, const core::rect<s32>* clip) const
{
	const u32 alpha = color.getAlpha();
	const s32 left = pen.X + glyph.greyLeft;
	const s32 top = pen.Y + (s32)pixelSize - glyph.greyTop;
	for (u32 r = 0; r < glyph.greyRows; ++r)
		for (u32 c = 0; c < glyph.greyWidth; ++c)
		{
			const s32 x = left + (s32)c;
			const s32 y = top + (s32)r;
			if (clip && (x < clip->UpperLeftCorner.X || x > clip->LowerRightCorner.X ||
					y < clip->UpperLeftCorner.Y || y > clip->LowerRightCorner.Y))
				continue;
			const u32 v = glyph.coverage[r * glyph.greyWidth + c];
			if (v == 0)
				continue;
			videoDriver->draw2DRectangle(
				video::SColor(v * alpha / 255, color.getRed(), color.getGreen(), color.getBlue()),
				core::rect<s32>(x, y, x + 1, y + 1));
		}
}

core::dimension2d<u32> CGUITTFont::getDimension(const wchar_t* text) const
{
	if (!hasFace())
	{
		IGUIFont* builtIn = fallback();
		return builtIn ? builtIn->getDimension(text) : core::dimension2d<u32>(0, 0);
	}
	s32 lineHeight = lineBottomOf(L'g') + 1;
	lineHeight = core::max_(lineHeight, lineBottomOf(L'j') + 1, lineBottomOf(L'_') + 1);

	s32 width = 0;
	s32 height = lineHeight;
	s32 lineWidth = 0;
	wchar_t previous = 0;
	for (const wchar_t* s = text; s && *s; ++s)
	{
		wchar_t ch = *s;
		if (ch == L'\r' && s[1] == L'\n')
			ch = *++s;
		if (isLineBreak(ch))
		{
			height += lineHeight;
			width = core::max_(width, lineWidth);
			lineWidth = 0;
			continue;
		}
		if (isDrawn(ch, glyphFor(ch)))
			lineWidth += kerningOf(ch, previous).X;
		lineWidth += advanceOf(ch);
		previous = ch;
	}
	width = core::max_(width, lineWidth);
	return core::dimension2d<u32>((u32)core::max_(width, 0), (u32)core::max_(height, 0));
}

s32 CGUITTFont::getCharacterFromPos(const wchar_t* text, s32 pixel_x) const
{
	if (!hasFace())
	{
		IGUIFont* builtIn = fallback();
		return builtIn ? builtIn->getCharacterFromPos(text, pixel_x) : -1;
	}
	if (!text || !*text)
		return -1;
	s32 x = 0;
	for (s32 i = 0;; ++i)
	{
		x += advanceOf(text[i]);
		if (x >= pixel_x)
			return i;
		if (text[i + 1] == 0)
			return -1;
	}
}

void CGUITTFont::setKerningWidth(s32 kerning)
{
	kerningWidth = kerning;
}

void CGUITTFont::setKerningHeight(s32 kerning)
{
	kerningHeight = kerning;
}

s32 CGUITTFont::getKerningWidth(const wchar_t* thisLetter, const wchar_t* previousLetter) const
{
	if (!hasFace())
		return kerningWidth;
	if (!thisLetter || !previousLetter)
		return 0;
	return kerningOf(*thisLetter, *previousLetter).X;
}

s32 CGUITTFont::getKerningHeight() const
{
	return kerningHeight;
}

void CGUITTFont::setInvisibleCharacters(const wchar_t* s)
{
	invisibleChars = s ? s : L"";
}

} // end namespace gui
} // end namespace irr
