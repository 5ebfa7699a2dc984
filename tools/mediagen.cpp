// Writes the pictures the game loads: the six face textures (one colour per face direction, a dark
// border and a corner mark that shows the texture's orientation), the two additive sprites, and
// the four button bitmaps, whose background is a key colour used nowhere in the art. With a second
// folder it also writes the desktop icon, the cube in the face colours, at 16, 32, 48, 64, 128,
// 192, 256 and 512 pixels as ICON_FOLDER/<size>/org.zarnel.Zarnel.png (the Windows icons are made
// from the six up to 256, the Linux desktop uses 48 to 256, the web page's manifest 192 and 512:
// the sizes Chromium asks of an installable page).
// Usage: zarnel_mediagen OUTPUT_FOLDER [ICON_FOLDER] (OUTPUT_FOLDER and its buttons/ subfolder
// must exist; the <size>/ subfolders are made when missing).
// Images are drawn with the engine's null driver, which needs no display, and written by its
// PNG and BMP writers.
#include <irrlicht.h>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

using namespace irr;

namespace
{
class SilentLog : public IEventReceiver
{
public:
	bool OnEvent(const SEvent& event) override { return event.EventType == EET_LOG_TEXT_EVENT; }
};

const u32 FaceSide = 128;
const u32 FaceBorder = 8;
const u32 ButtonWidth = 256;
const u32 ButtonHeight = 64;
const video::SColor KeyColour(255, 255, 0, 255);

// Face directions in the order of the sub-cube's buffers: -Z, +X, +Z, -X, +Y, -Y.
const video::SColor FaceColours[6] = {
	video::SColor(255, 200, 30, 30), video::SColor(255, 30, 70, 200),
	video::SColor(255, 240, 130, 20), video::SColor(255, 30, 160, 60),
	video::SColor(255, 235, 235, 235), video::SColor(255, 240, 210, 30)};

// 5x7 block letters for the button captions, one string per row.
struct Letter { char name; const char* rows[7]; };
const Letter Letters[] = {
	{'P', {"XXXX.", "X...X", "X...X", "XXXX.", "X....", "X....", "X...."}},
	{'L', {"X....", "X....", "X....", "X....", "X....", "X....", "XXXXX"}},
	{'A', {".XXX.", "X...X", "X...X", "XXXXX", "X...X", "X...X", "X...X"}},
	{'Y', {"X...X", "X...X", ".X.X.", "..X..", "..X..", "..X..", "..X.."}},
	{'E', {"XXXXX", "X....", "X....", "XXXX.", "X....", "X....", "XXXXX"}},
	{'X', {"X...X", "X...X", ".X.X.", "..X..", ".X.X.", "X...X", "X...X"}},
	{'I', {"XXXXX", "..X..", "..X..", "..X..", "..X..", "..X..", "XXXXX"}},
	{'T', {"XXXXX", "..X..", "..X..", "..X..", "..X..", "..X..", "..X.."}}};

const Letter* findLetter(char c)
{
	for (u32 i = 0; i < sizeof(Letters) / sizeof(Letters[0]); ++i)
		if (Letters[i].name == c)
			return &Letters[i];
	return 0;
}

void fill(video::IImage* image, s32 x0, s32 y0, s32 x1, s32 y1, video::SColor colour)
{
	for (s32 y = y0; y < y1; ++y)
		for (s32 x = x0; x < x1; ++x)
			image->setPixel(x, y, colour);
}

video::IImage* faceTexture(video::IVideoDriver* driver, u32 k)
{
	video::IImage* image = driver->createImage(video::ECF_R8G8B8, core::dimension2d<u32>(FaceSide, FaceSide));
	const video::SColor dark(255, 25, 25, 25);
	fill(image, 0, 0, FaceSide, FaceSide, dark);
	fill(image, FaceBorder, FaceBorder, FaceSide - FaceBorder, FaceSide - FaceBorder, FaceColours[k]);
	// The mark: a dark square in the top-left corner and a thin bar from it along the top edge,
	// so that any quarter turn of the texture can be seen.
	fill(image, 20, 20, 44, 44, dark);
	fill(image, 44, 28, 84, 36, dark);
	return image;
}

video::IImage* glowSprite(video::IVideoDriver* driver, bool ring)
{
	const u32 side = 64;
	video::IImage* image = driver->createImage(video::ECF_R8G8B8, core::dimension2d<u32>(side, side));
	for (u32 y = 0; y < side; ++y)
		for (u32 x = 0; x < side; ++x)
		{
			const f32 dx = x + 0.5f - side / 2.0f;
			const f32 dy = y + 0.5f - side / 2.0f;
			const f32 r = std::sqrt(dx * dx + dy * dy);
			const f32 t = ring ? std::exp(-std::pow((r - 20.0f) / 5.0f, 2.0f))
			                   : std::exp(-std::pow(r / 11.0f, 2.0f));
			const u32 v = (u32)(255.0f * t + 0.5f);
			image->setPixel(x, y, ring ? video::SColor(255, v * 7 / 10, v * 9 / 10, v) : video::SColor(255, v, v, v));
		}
	return image;
}

void drawCaption(video::IImage* image, const char* text, video::SColor colour)
{
	const s32 scale = 6;
	const s32 advance = 6 * scale;
	const s32 width = (s32)strlen(text) * advance - scale;
	s32 left = ((s32)ButtonWidth - width) / 2;
	const s32 top = ((s32)ButtonHeight - 7 * scale) / 2;
	for (const char* c = text; *c; ++c, left += advance)
	{
		const Letter* letter = findLetter(*c);
		for (s32 row = 0; letter && row < 7; ++row)
			for (s32 col = 0; col < 5; ++col)
				if (letter->rows[row][col] == 'X')
					fill(image, left + col * scale, top + row * scale,
						left + (col + 1) * scale, top + (row + 1) * scale, colour);
	}
}

video::IImage* button(video::IVideoDriver* driver, const char* caption, bool highlighted)
{
	video::IImage* image = driver->createImage(video::ECF_R8G8B8, core::dimension2d<u32>(ButtonWidth, ButtonHeight));
	fill(image, 0, 0, ButtonWidth, ButtonHeight, KeyColour);
	const video::SColor rim = highlighted ? video::SColor(255, 250, 230, 120) : video::SColor(255, 150, 170, 210);
	const video::SColor body = highlighted ? video::SColor(255, 60, 110, 220) : video::SColor(255, 35, 55, 130);
	const video::SColor ink = highlighted ? video::SColor(255, 255, 240, 80) : video::SColor(255, 230, 230, 240);
	// A plate with cut corners, so the key colour shows around it.
	for (s32 y = 4; y < (s32)ButtonHeight - 4; ++y)
	{
		const s32 edge = y < 12 ? 12 - y : (y > (s32)ButtonHeight - 13 ? y - ((s32)ButtonHeight - 13) : 0);
		fill(image, 4 + edge, y, ButtonWidth - 4 - edge, y + 1, rim);
		if (y >= 8 && y < (s32)ButtonHeight - 8)
			fill(image, 8 + edge, y, ButtonWidth - 8 - edge, y + 1, body);
	}
	drawCaption(image, caption, ink);
	return image;
}

// The icon: the cube seen from above the front-left corner, its top, front and right faces split
// into 3 x 3 sub-cube faces with dark gaps, on a transparent background. Each pixel is sampled
// 4 x 4 times so that the edges are smooth.
struct IconFace
{
	f32 ox, oy, ux, uy, vx, vy; // corner and the two edges, in units of the icon's side
	u32 colour;                 // index into FaceColours
};

video::SColor iconSample(f32 x, f32 y)
{
	const f32 r = 0.46f, c = 0.5f, w = r * 0.8660254f;
	const IconFace faces[3] = {
		{c, c, w, -r / 2, -w, -r / 2, 4}, // top
		{c - w, c - r / 2, w, r / 2, 0, r, 0}, // front
		{c, c, w, -r / 2, 0, r, 1}}; // right
	for (const IconFace& f : faces)
	{
		// Solve (x, y) = o + a u + b v for the face's coordinates a and b.
		const f32 det = f.ux * f.vy - f.uy * f.vx;
		const f32 a = ((x - f.ox) * f.vy - (y - f.oy) * f.vx) / det;
		const f32 b = (f.ux * (y - f.oy) - f.uy * (x - f.ox)) / det;
		if (a < 0 || a >= 1 || b < 0 || b >= 1)
			continue;
		const f32 ca = a * 3 - floorf(a * 3), cb = b * 3 - floorf(b * 3);
		const f32 gap = 0.08f;
		if (ca < gap || ca > 1 - gap || cb < gap || cb > 1 - gap)
			return video::SColor(255, 25, 25, 25);
		return FaceColours[f.colour];
	}
	return video::SColor(0, 0, 0, 0);
}

video::IImage* icon(video::IVideoDriver* driver, u32 side)
{
	video::IImage* image = driver->createImage(video::ECF_A8R8G8B8, core::dimension2d<u32>(side, side));
	const u32 n = 4;
	for (u32 y = 0; y < side; ++y)
		for (u32 x = 0; x < side; ++x)
		{
			u32 a = 0, r = 0, g = 0, b = 0;
			for (u32 sy = 0; sy < n; ++sy)
				for (u32 sx = 0; sx < n; ++sx)
				{
					const video::SColor s = iconSample((x + (sx + 0.5f) / n) / side, (y + (sy + 0.5f) / n) / side);
					a += s.getAlpha();
					r += s.getRed() * s.getAlpha();
					g += s.getGreen() * s.getAlpha();
					b += s.getBlue() * s.getAlpha();
				}
			image->setPixel(x, y, a ? video::SColor(a / (n * n), r / a, g / a, b / a) : video::SColor(0, 0, 0, 0));
		}
	return image;
}

bool write(video::IVideoDriver* driver, video::IImage* image, const std::string& path)
{
	const bool ok = driver->writeImageToFile(image, path.c_str());
	image->drop();
	if (!ok)
		fprintf(stderr, "zarnel_mediagen: cannot write %s\n", path.c_str());
	return ok;
}
}

int main(int argc, char** argv)
{
	if (argc != 2 && argc != 3)
	{
		fprintf(stderr, "usage: %s OUTPUT_FOLDER [ICON_FOLDER]\n", argv[0]);
		return 2;
	}
	const std::string out = argv[1];
	SilentLog log;
	SIrrlichtCreationParameters p;
	p.DriverType = video::EDT_NULL;
	p.EventReceiver = &log;
	IrrlichtDevice* device = createDeviceEx(p);
	if (!device)
		return 1;
	video::IVideoDriver* driver = device->getVideoDriver();

	bool ok = true;
	for (u32 k = 0; k < 6; ++k)
		ok &= write(driver, faceTexture(driver, k), out + "/fc" + std::to_string(k) + ".png");
	ok &= write(driver, glowSprite(driver, false), out + "/particlewhite.bmp");
	ok &= write(driver, glowSprite(driver, true), out + "/portal6.bmp");
	ok &= write(driver, button(driver, "PLAY", false), out + "/buttons/but_play.bmp");
	ok &= write(driver, button(driver, "PLAY", true), out + "/buttons/but_play_on.bmp");
	ok &= write(driver, button(driver, "EXIT", false), out + "/buttons/but_exit.bmp");
	ok &= write(driver, button(driver, "EXIT", true), out + "/buttons/but_exit_on.bmp");
	for (u32 side : {16u, 32u, 48u, 64u, 128u, 192u, 256u, 512u})
		if (argc == 3)
		{
			const std::string folder = std::string(argv[2]) + "/" + std::to_string(side);
			std::error_code error;
			std::filesystem::create_directories(folder, error);
			ok &= write(driver, icon(driver, side), folder + "/org.zarnel.Zarnel.png");
		}

	device->drop();
	return ok ? 0 : 1;
}
