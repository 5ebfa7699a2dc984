/* Functions the engine calls that emscripten 3.1.6's SDL 1.2 and fixed-function GL emulation do
 * not provide; without them the link fails. Each is a no-op that is right for this game: it has
 * no lighting (so the light and material calls have nothing to change), reads no texture back,
 * draws no rectangle through GL, needs no window handle and sets no SDL environment. */
#include <GL/gl.h>
#include <SDL/SDL_syswm.h>

/* 0: "not available on this platform"; the engine then keeps the version it filled in. */
int SDL_GetWMInfo(SDL_SysWMinfo* info) { (void)info; return 0; }
int SDL_putenv(const char* variable) { (void)variable; return 0; }

void glColorMaterial(GLenum face, GLenum mode) { (void)face; (void)mode; }
void glLightModeli(GLenum pname, GLint param) { (void)pname; (void)param; }
void glLightf(GLenum light, GLenum pname, GLfloat param) { (void)light; (void)pname; (void)param; }
void glMaterialf(GLenum face, GLenum pname, GLfloat param) { (void)face; (void)pname; (void)param; }
void glPushAttrib(GLbitfield mask) { (void)mask; }
void glPopAttrib(void) {}
void glRectf(GLfloat x1, GLfloat y1, GLfloat x2, GLfloat y2) { (void)x1; (void)y1; (void)x2; (void)y2; }
void glGetTexImage(GLenum target, GLint level, GLenum format, GLenum type, GLvoid* pixels)
{
	(void)target; (void)level; (void)format; (void)type; (void)pixels;
}
