/* The part of the Irrlicht engine that the game uses, for the engine builds of the Windows and
 * browser targets (scripts/build-windows and scripts/build-web pass it with -include, so it comes
 * before the engine's IrrCompileConfig.h, whose NO_ switches it sets).
 *
 * The game draws through the OpenGL driver only, loads PNG face textures and BMP sprites and
 * buttons (and the engine's built-in font is a BMP), writes no image, reads its media as plain
 * files, builds its meshes in code and uses the camera, light, billboard and empty scene nodes,
 * triangle selectors and the GUI's skin and image elements. Everything below is left out; the
 * linker then drops the code that only these features reach. The scene node types, animators
 * and GUI elements the engine has no switch for stay: its scene manager and GUI environment
 * create them in virtual methods, so the linker keeps them whatever the game calls.
 *
 * The window device is the target's own: Win32 on Windows, SDL (emscripten's emulation) in the
 * browser, chosen in web/irrlicht-emscripten.patch. The engine's Makefile already leaves
 * Direct3D 9 and DirectInput out of the Windows library. */

/* Devices and drivers: no console fallback, no joysticks, no software renderers. */
#define NO_IRR_COMPILE_WITH_CONSOLE_DEVICE_
#define NO_IRR_COMPILE_WITH_JOYSTICK_EVENTS_
#define NO_IRR_COMPILE_WITH_SOFTWARE_
#define NO_IRR_COMPILE_WITH_BURNINGSVIDEO_

/* Mesh and scene files: none is read or written. */
#define NO_IRR_COMPILE_WITH_IRR_SCENE_LOADER_
#define NO_IRR_COMPILE_WITH_SKINNED_MESH_SUPPORT_
#define NO_IRR_COMPILE_WITH_IRR_MESH_LOADER_
#define NO_IRR_COMPILE_WITH_HALFLIFE_LOADER_
#define NO_IRR_COMPILE_WITH_MD2_LOADER_
#define NO_IRR_COMPILE_WITH_MD3_LOADER_
#define NO_IRR_COMPILE_WITH_3DS_LOADER_
#define NO_IRR_COMPILE_WITH_COLLADA_LOADER_
#define NO_IRR_COMPILE_WITH_CSM_LOADER_
#define NO_IRR_COMPILE_WITH_BSP_LOADER_
#define NO_IRR_COMPILE_WITH_DMF_LOADER_
#define NO_IRR_COMPILE_WITH_LMTS_LOADER_
#define NO_IRR_COMPILE_WITH_MY3D_LOADER_
#define NO_IRR_COMPILE_WITH_OBJ_LOADER_
#define NO_IRR_COMPILE_WITH_OCT_LOADER_
#define NO_IRR_COMPILE_WITH_LWO_LOADER_
#define NO_IRR_COMPILE_WITH_STL_LOADER_
#define NO_IRR_COMPILE_WITH_PLY_LOADER_
#define NO_IRR_COMPILE_WITH_SMF_LOADER_
#define NO_IRR_COMPILE_WITH_IRR_WRITER_
#define NO_IRR_COMPILE_WITH_COLLADA_WRITER_
#define NO_IRR_COMPILE_WITH_STL_WRITER_
#define NO_IRR_COMPILE_WITH_OBJ_WRITER_
#define NO_IRR_COMPILE_WITH_PLY_WRITER_

/* Images: PNG and BMP are read, nothing else, and nothing is written. */
#define NO_IRR_COMPILE_WITH_LIBJPEG_
#define NO_IRR_COMPILE_WITH_JPG_LOADER_
#define NO_IRR_COMPILE_WITH_PCX_LOADER_
#define NO_IRR_COMPILE_WITH_PPM_LOADER_
#define NO_IRR_COMPILE_WITH_PSD_LOADER_
#define NO_IRR_COMPILE_WITH_DDS_LOADER_
#define NO_IRR_COMPILE_WITH_TGA_LOADER_
#define NO_IRR_COMPILE_WITH_WAL_LOADER_
#define NO_IRR_COMPILE_WITH_LMP_LOADER_
#define NO_IRR_COMPILE_WITH_RGB_LOADER_
#define NO_IRR_COMPILE_WITH_BMP_WRITER_
#define NO_IRR_COMPILE_WITH_JPG_WRITER_
#define NO_IRR_COMPILE_WITH_PCX_WRITER_
#define NO_IRR_COMPILE_WITH_PNG_WRITER_
#define NO_IRR_COMPILE_WITH_PPM_WRITER_
#define NO_IRR_COMPILE_WITH_PSD_WRITER_
#define NO_IRR_COMPILE_WITH_TGA_WRITER_

/* Archives: the media are plain files (zlib stays, for libpng and FreeType). */
#define NO__IRR_COMPILE_WITH_ZIP_ARCHIVE_LOADER_
#define NO_IRR_COMPILE_WITH_ZIP_ENCRYPTION_
#define NO_IRR_COMPILE_WITH_BZIP2_
#define NO__IRR_COMPILE_WITH_MOUNT_ARCHIVE_LOADER_
#define NO__IRR_COMPILE_WITH_PAK_ARCHIVE_LOADER_
#define NO__IRR_COMPILE_WITH_NPK_ARCHIVE_LOADER_
#define NO__IRR_COMPILE_WITH_TAR_ARCHIVE_LOADER_
#define NO__IRR_COMPILE_WITH_WAD_ARCHIVE_LOADER_
