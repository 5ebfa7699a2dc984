// The FreeType face and the class-wide library; see CGUITTFace.h.
#include "CGUITTFace.h"

namespace irr
{
namespace gui
{

FT_Library CGUITTFace::sharedLibrary = 0;
bool CGUITTFace::sharedLibraryReady = false;
s32 CGUITTFace::loadedFaceCount = 0;

CGUITTFace::CGUITTFace()
	: ftFace(0), isLoaded(false), generation(0)
{
}

CGUITTFace::~CGUITTFace()
{
	release();
}

bool CGUITTFace::loadFile(const c8* path)
{
	release();
	if (!sharedLibraryReady)
	{
		if (FT_Init_FreeType(&sharedLibrary))
			return false;
		sharedLibraryReady = true;
	}
	if (FT_New_Face(sharedLibrary, path, 0, &ftFace))
	{
		ftFace = 0;
		return false;
	}
	++loadedFaceCount;
	isLoaded = true;
	++generation;
	return true;
}

void CGUITTFace::release()
{
	if (!isLoaded)
		return;
	FT_Done_Face(ftFace);
	ftFace = 0;
	isLoaded = false;
	++generation;
	if (--loadedFaceCount == 0)
	{
		FT_Done_FreeType(sharedLibrary);
		sharedLibrary = 0;
		sharedLibraryReady = false;
	}
}

} // end namespace gui
} // end namespace irr
