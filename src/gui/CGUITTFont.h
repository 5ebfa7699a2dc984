// The game's GUI font: measures and draws wide text with the glyph records of a bound TrueType
// face, rasterising each glyph the first time it is needed. The font holds a reference on the
// video driver; the face and the environment are borrowed. Without a usable face it measures and
// draws with the environment's built-in font, so the text stays readable. When its face is
// reloaded the font rebinds to the new face at the same size; when the face is released it falls
// back to the built-in font.
#ifndef ZARNEL_C_GUI_TT_FONT_H
#define ZARNEL_C_GUI_TT_FONT_H

#include <irrlicht.h>
#include "CGUITTFace.h"
#include "CGUITTGlyph.h"

namespace irr
{
namespace gui
{

class CGUITTFont : public IGUIFont
{
public:
	//! A font on env's video driver (grabbed), with no face bound.
	CGUITTFont(IGUIEnvironment* env);
	//! Destroys the glyph records (removing their textures) and drops the driver.
	~CGUITTFont() override;

	//! Binds a loaded face at a pixel size and makes one uncached record per glyph. Refuses an
	//! unloaded face, a size the face cannot be set to (0, past FreeType's 26.6 range or its
	//! largest size, a size a bitmap font has no strike for), or a font without a driver, and
	//! then changes nothing.
	bool bindFace(CGUITTFace* face, u32 size);

	//! True when face can be set to size pixels: a 26.6 size that fits 32 bits and that
	//! FreeType accepts.
	static bool sizeFits(FT_Face face, u32 size);

	//! Draws text from the position's upper-left corner; only clip clips.
	void draw(const core::stringw& text, const core::rect<s32>& position,
		video::SColor color, bool hcenter = false, bool vcenter = false,
		const core::rect<s32>* clip = 0) override;
	//! Size of the text in pixels.
	core::dimension2d<u32> getDimension(const wchar_t* text) const override;
	//! Index of the character at pixel offset pixel_x, or -1 past the end.
	s32 getCharacterFromPos(const wchar_t* text, s32 pixel_x) const override;
	//! Extra horizontal space between consecutive characters.
	void setKerningWidth(s32 kerning) override;
	//! Extra vertical offset between consecutive characters.
	void setKerningHeight(s32 kerning) override;
	//! Horizontal kerning of thisLetter after previousLetter.
	s32 getKerningWidth(const wchar_t* thisLetter = 0, const wchar_t* previousLetter = 0) const override;
	//! The extra vertical offset.
	s32 getKerningHeight() const override;
	//! Characters that advance the pen but are not drawn; null empties the set.
	void setInvisibleCharacters(const wchar_t* s) override;

	//! Glyph index of ch (0: none), rasterising its record on first use.
	u32 glyphFor(wchar_t ch) const;
	//! Pen advance of ch: the right edge of its grey bitmap, or a fallback from the pixel size.
	s32 advanceOf(wchar_t ch) const;
	//! Distance from the top of a line to the bottom of ch's bitmap.
	s32 lineBottomOf(wchar_t ch) const;
	//! Pen offset for ch after previous: FreeType kerning plus the global kerning values.
	core::vector2d<s32> kerningOf(wchar_t ch, wchar_t previous) const;
	//! The bound pixel size (0 before binding).
	u32 getPixelSize() const { return pixelSize; }

	bool smoothGlyphs;
	bool useColorAlpha;
	bool hinting;
	bool autoHinting;
	IGUIEnvironment* environment;
	video::IVideoDriver* videoDriver;
	core::array<CGUITTGlyph*> glyphs;
	CGUITTFace* face;
	s32 kerningWidth;
	s32 kerningHeight;
	core::stringw invisibleChars;

private:
	// A copy would destroy the same glyph records and remove their textures twice.
	CGUITTFont(const CGUITTFont&);
	CGUITTFont& operator=(const CGUITTFont&);

	void clearGlyphs();
	bool isDrawn(wchar_t ch, u32 index) const;
	bool hasFace() const;
	IGUIFont* fallback() const;
	s32 centreOffset(s32 room, s32 used) const { return (room - used) >> 1; }
	void drawGlyph(const CGUITTGlyph& glyph, const core::position2d<s32>& pen,
		video::SColor color, const core::rect<s32>* clip) const;
	void drawCoverage(const CGUITTGlyph& glyph, const core::position2d<s32>& pen,
		video::SColor color, const core::rect<s32>* clip) const;

	u32 pixelSize;
	u32 boundGeneration;
};

} // end namespace gui
} // end namespace irr

#endif
