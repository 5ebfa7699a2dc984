// Glyph rasterisation: the FreeType loads, the coverage copy and the texture uploads are separate
// steps. Every bitmap is read by its pitch and pixel mode, never outside FreeType's buffer.
#include "CGUITTGlyph.h"
#include <cstdio>
#include <cstring>

namespace irr
{
namespace gui
{

u32 CGUITTGlyph::rasterizeCount = 0;
u32 CGUITTGlyph::textureCount = 0;

namespace
{
// Sets the texture creation flags for one upload and puts the saved ones back afterwards.
class TextureFlagScope
{
public:
	TextureFlagScope(video::IVideoDriver* driver, bool sixteenBit)
		: Driver(driver),
		  Saved16(driver->getTextureCreationFlag(video::ETCF_ALWAYS_16_BIT)),
		  Saved32(driver->getTextureCreationFlag(video::ETCF_ALWAYS_32_BIT)),
		  SavedMips(driver->getTextureCreationFlag(video::ETCF_CREATE_MIP_MAPS))
	{
		Driver->setTextureCreationFlag(video::ETCF_ALWAYS_16_BIT, sixteenBit);
		Driver->setTextureCreationFlag(video::ETCF_ALWAYS_32_BIT, !sixteenBit);
		Driver->setTextureCreationFlag(video::ETCF_CREATE_MIP_MAPS, false);
	}
	~TextureFlagScope()
	{
		// Enabling one format flag clears the other, so the one that was off goes first.
		Driver->setTextureCreationFlag(video::ETCF_ALWAYS_16_BIT, Saved16);
		Driver->setTextureCreationFlag(video::ETCF_ALWAYS_32_BIT, Saved32);
		Driver->setTextureCreationFlag(video::ETCF_CREATE_MIP_MAPS, SavedMips);
	}

private:
	video::IVideoDriver* Driver;
	bool Saved16;
	bool Saved32;
	bool SavedMips;
};

// Bits per pixel of the pixel modes that carry coverage; 0 for the others (LCD, colour).
u32 bitsPerPixel(unsigned char mode)
{
	switch (mode)
	{
	case FT_PIXEL_MODE_MONO: return 1;
	case FT_PIXEL_MODE_GRAY2: return 2;
	case FT_PIXEL_MODE_GRAY4: return 4;
	case FT_PIXEL_MODE_GRAY: return 8;
	default: return 0;
	}
}

u8 sampleAt(const u8* row, u32 column, u32 bits, u32 levels)
{
	if (bits == 8)
	{
		const u32 v = row[column];
		return (u8)(levels == 256 || levels < 2 ? v : (v >= levels - 1 ? 255 : v * 255 / (levels - 1)));
	}
	const u32 perByte = 8 / bits;
	const u32 shift = 8 - bits * (column % perByte + 1);
	const u32 v = (row[column / perByte] >> shift) & ((1u << bits) - 1);
	return (u8)(v * 255 / ((1u << bits) - 1));
}
}

CGUITTGlyph::CGUITTGlyph()
	: isCached(false), videoDriver(0), faceRef(0), coverage(0), greyTexture(0), monoTexture(0),
	  pixelSize(0), usePixelSizes(false), greyLoaded(false), monoLoaded(false),
	  greyTop(0), greyLeft(0), greyWidth(0), greyRows(0),
	  monoTop(0), monoLeft(0), monoWidth(0), monoRows(0),
	  greyTexWidth(0), greyTexHeight(0), monoTexWidth(0), monoTexHeight(0)
{
}

CGUITTGlyph::~CGUITTGlyph()
{
	clearImages();
}

u32 CGUITTGlyph::textureSide(u32 width, u32 rows)
{
	// Stops at 2^31 rather than wrap to zero; such a side is refused by maxTextureSide anyway.
	u32 w = 1;
	while (w <= width && w < 0x80000000u)
		w <<= 1;
	u32 h = 1;
	while (h <= rows && h < 0x80000000u)
		h <<= 1;
	return w > h ? w : h;
}

u32 CGUITTGlyph::maxTextureSide() const
{
	// Past 16384 a glyph texture would take gigabytes; no driver that draws text holds one.
	const core::dimension2du most = videoDriver->getMaxTextureSize();
	u32 side = most.Width < most.Height ? most.Width : most.Height;
	return side < 16384u ? side : 16384u;
}

u32 CGUITTGlyph::greyTexel(u32 v, bool direct3D8)
{
	if (v == 0)
		return 0;
	return direct3D8 ? v * 0x01010101u : (v << 24) | 0x00FFFFFFu;
}

bool CGUITTGlyph::readCoverage(const FT_Bitmap& bitmap, u8* out)
{
	const u32 bits = bitsPerPixel(bitmap.pixel_mode);
	if (bits == 0)
		return false;
	const u32 rowBytes = (bitmap.width * bits + 7) / 8;
	const u32 stride = (u32)(bitmap.pitch < 0 ? -bitmap.pitch : bitmap.pitch);
	if (bitmap.rows > 0 && (!bitmap.buffer || stride < rowBytes))
		return false;
	// With a negative pitch the rows are stored bottom up: the top row is the last in memory.
	const u8* top = bitmap.buffer;
	if (bitmap.pitch < 0 && bitmap.rows > 0)
		top += (size_t)stride * (bitmap.rows - 1);
	for (u32 r = 0; r < bitmap.rows; ++r)
	{
		const u8* row = top + (ptrdiff_t)r * bitmap.pitch;
		for (u32 c = 0; c < bitmap.width; ++c)
			out[(size_t)r * bitmap.width + c] = sampleAt(row, c, bits, bitmap.num_grays);
	}
	return true;
}

void CGUITTGlyph::rasterize(u32 g, bool hinting, bool autoHinting)
{
	++rasterizeCount;
	setSize();
	const bool loaded = loadGrey(g, hinting, autoHinting);
	// A glyph too big for any texture gets no image at all, and is not loaded again.
	if (loaded && !fitsTexture((*faceRef)->glyph->metrics))
	{
		clearImages();
		isCached = true;
		return;
	}
	if (loaded && renderGrey((*faceRef)->glyph))
	{
		copyGrey((*faceRef)->glyph);
		uploadGrey(g);
		isCached = true;
	}
	if (loadMono(g, hinting, autoHinting))
		uploadMono(g, (*faceRef)->glyph->bitmap);
}

void CGUITTGlyph::setSize() const
{
	if (usePixelSizes)
		FT_Set_Pixel_Sizes(*faceRef, 0, pixelSize);
	else
		FT_Set_Char_Size(*faceRef, (FT_F26Dot6)pixelSize * 64, (FT_F26Dot6)pixelSize * 64, 0, 0);
}

// Measures a loaded glyph from its scaled outline (or strike) before anything is rendered, so
// that a huge pixel size never makes FreeType or the textures allocate a huge bitmap.
bool CGUITTGlyph::fitsTexture(const FT_Glyph_Metrics& m) const
{
	// Rendering may add a pixel on each side of the metrics' box.
	const u64 limit = maxTextureSide();
	const u64 width = (u64)((m.width + 63) >> 6) + 2;
	const u64 rows = (u64)((m.height + 63) >> 6) + 2;
	return width < limit && rows < limit;
}

void CGUITTGlyph::clearImages()
{
	delete[] coverage;
	coverage = 0;
	greyTop = greyLeft = monoTop = monoLeft = 0;
	greyWidth = greyRows = monoWidth = monoRows = 0;
	greyTexWidth = greyTexHeight = monoTexWidth = monoTexHeight = 0;
	if (greyTexture)
		videoDriver->removeTexture(greyTexture);
	if (monoTexture)
		videoDriver->removeTexture(monoTexture);
	greyTexture = monoTexture = 0;
}

bool CGUITTGlyph::loadGrey(u32 g, bool hinting, bool autoHinting)
{
	FT_Int32 flags = 0;
	if (!hinting)
		flags |= FT_LOAD_NO_HINTING;
	if (!autoHinting)
		flags |= FT_LOAD_NO_AUTOHINT;
	if (FT_Load_Glyph(*faceRef, g, flags))
		return false;
	greyLoaded = true;
	return true;
}

bool CGUITTGlyph::renderGrey(FT_GlyphSlot slot)
{
	return slot->format == FT_GLYPH_FORMAT_BITMAP || FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) == 0;
}

void CGUITTGlyph::copyGrey(const FT_GlyphSlot slot)
{
	const FT_Bitmap& bitmap = slot->bitmap;
	delete[] coverage;
	coverage = 0;
	greyTop = slot->bitmap_top;
	greyLeft = slot->bitmap_left;
	greyWidth = bitmap.width;
	greyRows = bitmap.rows;
	const size_t size = (size_t)greyWidth * greyRows;
	if (size > 0)
		coverage = new u8[size];
	// A layout that carries no coverage (colour or LCD bitmaps) counts as an empty image.
	if (size > 0 && !readCoverage(bitmap, coverage))
	{
		delete[] coverage;
		coverage = 0;
		greyWidth = greyRows = 0;
	}
}

void CGUITTGlyph::uploadGrey(u32 g)
{
	const u32 side = textureSide(greyWidth, greyRows);
	if (side > maxTextureSide())
	{
		clearImages();
		return;
	}
	greyTexWidth = greyTexHeight = side;
	u32* pixels = new u32[(size_t)side * side]();
	const bool direct3D8 = videoDriver->getDriverType() == video::EDT_DIRECT3D8;
	for (u32 r = 0; r < greyRows; ++r)
		for (u32 c = 0; c < greyWidth; ++c)
			pixels[(size_t)r * side + c] = greyTexel(coverage[(size_t)r * greyWidth + c], direct3D8);
	c8 name[32];
	snprintf(name, sizeof(name), "TTFontGlyph%u", g);
	greyTexture = upload(greyTexture, name, video::ECF_A8R8G8B8, side, pixels, false);
	delete[] pixels;
}

bool CGUITTGlyph::loadMono(u32 g, bool hinting, bool autoHinting)
{
	FT_Int32 flags = FT_LOAD_RENDER | FT_LOAD_MONOCHROME;
	if (!hinting)
		flags |= FT_LOAD_NO_HINTING;
	if (!autoHinting)
		flags |= FT_LOAD_NO_AUTOHINT;
	if (hinting || autoHinting)
		flags |= FT_LOAD_TARGET_MONO;
	if (FT_Load_Glyph(*faceRef, g, flags))
		return false;
	monoLoaded = true;
	FT_GlyphSlot slot = (*faceRef)->glyph;
	monoTop = slot->bitmap_top;
	monoLeft = slot->bitmap_left;
	monoWidth = slot->bitmap.width;
	monoRows = slot->bitmap.rows;
	return true;
}

void CGUITTGlyph::uploadMono(u32 g, const FT_Bitmap& bitmap)
{
	const u32 side = textureSide(monoWidth, monoRows);
	if (side > maxTextureSide())
	{
		monoWidth = monoRows = 0;
		return;
	}
	monoTexWidth = monoTexHeight = side;
	u16* pixels = new u16[(size_t)side * side]();
	// Read through the same reader as the grey bitmap, so a grey strike works too: ink is any
	// coverage of half or more.
	const size_t size = (size_t)monoWidth * monoRows;
	u8* ink = size ? new u8[size] : 0;
	if (ink && readCoverage(bitmap, ink))
		for (u32 r = 0; r < monoRows; ++r)
			for (u32 c = 0; c < monoWidth; ++c)
				if (ink[(size_t)r * monoWidth + c] >= 128)
					pixels[(size_t)r * side + c] = 0xFFFF;
	delete[] ink;
	c8 name[40];
	snprintf(name, sizeof(name), "TTFontGlyph%u_mono", g);
	monoTexture = upload(monoTexture, name, video::ECF_A1R5G5B5, side, pixels, true);
	if (monoTexture)
		videoDriver->makeColorKeyTexture(monoTexture, video::SColor(0));
	delete[] pixels;
}

video::ITexture* CGUITTGlyph::upload(video::ITexture* old, const c8* name,
	video::ECOLOR_FORMAT format, u32 side, void* pixels, bool sixteenBit)
{
	video::IImage* image = videoDriver->createImageFromData(format,
		core::dimension2d<u32>(side, side), pixels, false, true);
	TextureFlagScope flags(videoDriver, sixteenBit);
	if (old)
		videoDriver->removeTexture(old);
	video::ITexture* texture = videoDriver->addTexture(name, image);
	image->drop();
	++textureCount;
	return texture;
}

} // end namespace gui
} // end namespace irr
