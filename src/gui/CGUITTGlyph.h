// One glyph of a face at one pixel size: its bitmap metrics, a private copy of its 0..255
// coverage and two engine textures, a 32-bit grey one and a 16-bit mono one. The glyph owns the
// coverage; it holds no reference on its textures but removes them from the driver when it
// replaces them and when it is destroyed. The driver and the face are borrowed.
#ifndef ZARNEL_C_GUI_TT_GLYPH_H
#define ZARNEL_C_GUI_TT_GLYPH_H

#include <irrlicht.h>
#include <ft2build.h>
#include FT_FREETYPE_H

namespace irr
{
namespace gui
{

class CGUITTGlyph
{
public:
	//! An uncached record: no coverage, no textures, all flags false.
	CGUITTGlyph();
	//! Frees the coverage and removes both textures from the driver.
	virtual ~CGUITTGlyph();

	//! Loads and renders FreeType glyph index g and builds its grey and mono textures.
	void rasterize(u32 g, bool hinting, bool autoHinting);

	//! Smallest power of two strictly greater than both sides: the side of a glyph texture.
	static u32 textureSide(u32 width, u32 rows);

	//! The largest glyph texture side: the driver's maximum, and never more than 16384.
	u32 maxTextureSide() const;

	//! The grey texel of a coverage value: white with alpha v, or v in every channel for the
	//! Direct3D 8 driver; 0 where nothing is covered.
	static u32 greyTexel(u32 v, bool direct3D8);

	//! Reads a FreeType bitmap by its pitch and pixel mode into width x rows bytes of 0..255
	//! coverage, top row first. False (and nothing written) for a layout it cannot read.
	static bool readCoverage(const FT_Bitmap& bitmap, u8* out);

	//! Process-wide counts of rasterisations and of glyph textures created (for benchmarks).
	static u32 rasterizeCount;
	static u32 textureCount;

	bool isCached;
	video::IVideoDriver* videoDriver;
	const FT_Face* faceRef;
	u8* coverage;
	video::ITexture* greyTexture;
	video::ITexture* monoTexture;
	u32 pixelSize;
	bool usePixelSizes;
	bool greyLoaded;
	bool monoLoaded;
	s32 greyTop;
	s32 greyLeft;
	u32 greyWidth;
	u32 greyRows;
	s32 monoTop;
	s32 monoLeft;
	u32 monoWidth;
	u32 monoRows;
	u32 greyTexWidth;
	u32 greyTexHeight;
	u32 monoTexWidth;
	u32 monoTexHeight;

private:
	CGUITTGlyph(const CGUITTGlyph&);
	CGUITTGlyph& operator=(const CGUITTGlyph&);

	void setSize() const;
	bool fitsTexture(const FT_Glyph_Metrics& metrics) const;
	void clearImages();
	bool loadGrey(u32 g, bool hinting, bool autoHinting);
	static bool renderGrey(FT_GlyphSlot slot);
	void copyGrey(const FT_GlyphSlot slot);
	void uploadGrey(u32 g);
	bool loadMono(u32 g, bool hinting, bool autoHinting);
	void uploadMono(u32 g, const FT_Bitmap& bitmap);
	video::ITexture* upload(video::ITexture* old, const c8* name, video::ECOLOR_FORMAT format,
		u32 side, void* pixels, bool sixteenBit);
};

} // end namespace gui
} // end namespace irr

#endif
