// A reference-counted FreeType face opened from a font file. The class also owns the process's
// one FreeType library: the first successful load starts it and destroying the last loaded face
// releases it. Fonts bound to a face borrow it and must not outlive it; a font notices a reload
// or a release by the face's generation.
#ifndef ZARNEL_C_GUI_TT_FACE_H
#define ZARNEL_C_GUI_TT_FACE_H

#include <irrlicht.h>
#include <ft2build.h>
#include FT_FREETYPE_H

namespace irr
{
namespace gui
{

class CGUITTFace : public virtual IReferenceCounted
{
public:
	//! Not loaded, reference count 1.
	CGUITTFace();
	//! Releases the FreeType face and, with the last loaded face, the library.
	~CGUITTFace() override;

	//! Opens face 0 of the file at path; true on success. A second call releases the first face.
	bool loadFile(const c8* path);

	FT_Face ftFace;
	bool isLoaded;
	//! Counts loads and releases, so that a font can tell that the face it bound has changed.
	u32 generation;

	static FT_Library sharedLibrary;
	static bool sharedLibraryReady;
	static s32 loadedFaceCount;

private:
	void release();
};

} // end namespace gui
} // end namespace irr

#endif
