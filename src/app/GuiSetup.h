// The GUI side of the set-up sequence: the two TrueType fonts, made first, and the four button
// images, made last. The faces belong to the caller (main keeps them as locals); the fonts are
// never released; the images belong to the GUI environment.
#ifndef ZARNEL_GUI_SETUP_H
#define ZARNEL_GUI_SETUP_H

#include <irrlicht.h>

namespace irr { namespace gui { class CGUITTFace; } }

//! The path of the font both faces open.
extern const irr::c8* const FontPath;

//! Opens both faces, creates the status (20 px) and help (15 px) fonts and sets the skin's font.
void setupFonts(irr::gui::CGUITTFace& statusFace, irr::gui::CGUITTFace& helpFace);

//! Adds the four colour-keyed button images; the highlighted ones start hidden.
void setupButtons();

#endif
