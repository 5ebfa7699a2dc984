# The browser target (included from the top CMakeLists.txt under emscripten). The game's sources
# are unchanged; web/ adds the link-time stubs, the JavaScript libraries that replace parts of
# emscripten's GL and SDL emulation, and the page. `zarnel_site` writes the static site:
# index.html, its script, icons, manifest and service worker, the font's licence, and zarnel.js,
# zarnel.wasm and zarnel.data beside them, the large files also as .br and .gz (web/site.cmake).

# The GL fixes (web/gl-fixes.js) replace parts of the emulation that they reproduce, and the pacing
# (web/present.js) relies on how ASYNCIFY resumes: both were checked against this version only.
set(ZARNEL_EMSCRIPTEN_CHECKED 3.1.6)
if(NOT EMSCRIPTEN_VERSION VERSION_EQUAL ZARNEL_EMSCRIPTEN_CHECKED)
  message(FATAL_ERROR "This is emscripten ${EMSCRIPTEN_VERSION}; the browser build needs "
    "${ZARNEL_EMSCRIPTEN_CHECKED}, the version that the GL fixes in web/gl-fixes.js and the "
    "frame pacing in web/present.js were checked against. Recheck both before changing the "
    "version here.")
endif()

set(ZARNEL_WEB_SITE "${CMAKE_BINARY_DIR}/site" CACHE PATH "Folder of the static site")
set(ZARNEL_WEB_DIR "${CMAKE_SOURCE_DIR}/web")
set(ZARNEL_WEB_LIBRARIES "${ZARNEL_WEB_DIR}/gl-fixes.js" "${ZARNEL_WEB_DIR}/present.js")

target_sources(zarnel PRIVATE "${ZARNEL_WEB_DIR}/stubs.c")
set_target_properties(zarnel PROPERTIES
  RUNTIME_OUTPUT_DIRECTORY "${ZARNEL_WEB_SITE}"
  LINK_DEPENDS "${ZARNEL_WEB_LIBRARIES};${CMAKE_BINARY_DIR}/yield-paths.txt")

# The engine's blocking main loop yields to the browser (ASYNCIFY) in three imports: the event
# poll, the presented frame and the sleep (web/present.js). Only the functions that can be on the
# stack when one of them yields are instrumented; by default ASYNCIFY instruments every function
# that might reach an indirect call, two thirds of the program. These are the paths, each ending
# in an engine function that calls the import itself:
# - main loop: main, runApplication, the device's run (SDL_PollEvent) and drawFrame, the driver's
#   endScene (SDL_GL_SwapBuffers);
# - input: run posts each event through the device stub to the game's receiver, whose left press
#   (PLAY's scramble) and mouse move (a drag) turn layers: each turn draws its frames (drawFrame)
#   and paces them with the turn's sleep, the device's sleep (SDL_Delay).
# No other event can yield: keys only toggle help or quit, and the GUI's events reach the receiver
# only to be ignored. A function missing here breaks the page at the first yield through it; a
# build with -DZARNEL_WEB_CHECK_YIELDS=ON traps there at once ("unreachable"). A name that does
# not match, or whose function the optimiser has inlined into its caller, is only warned about.
# Quoted: CMake would split a name at its parentheses.
set(ZARNEL_WEB_YIELD_PATHS
  "main"
  "__main_argc_argv"
  "runApplication()"
  "drawFrame(CubeModel*)"
  "irr::CIrrDeviceSDL::run()"
  "irr::video::COpenGLDriver::endScene()"
  "irr::CIrrDeviceStub::postEventFromUser(irr::SEvent const&)"
  "MyEventReceiver::OnEvent(irr::SEvent const&)"
  "MyEventReceiver::onMouse(irr::SEvent::SMouseInput const&)"
  "MyEventReceiver::onLeftPress(int, int)"
  "MyEventReceiver::onMouseMove(int, int)"
  "scrambleCube()"
  "dragStep(int, int)"
  "turnLayer(int, int, int, irr::core::vector3d<float>)"
  "(anonymous namespace)::animate(irr::scene::ISceneNode*, int, int, irr::core::vector3d<float> const&)"
  "(anonymous namespace)::paceFrame()"
  "(anonymous namespace)::deviceSleep(unsigned int)"
  "irr::CIrrDeviceSDL::sleep(unsigned int, bool)")
# One name a line: emcc reads such a file without quoting or escaping.
string(REPLACE ";" "\n" ZARNEL_WEB_YIELD_LINES "${ZARNEL_WEB_YIELD_PATHS}")
file(GENERATE OUTPUT "${CMAKE_BINARY_DIR}/yield-paths.txt" CONTENT "${ZARNEL_WEB_YIELD_LINES}\n")

option(ZARNEL_WEB_CHECK_YIELDS "Trap when a function outside the yield paths yields (slower)" OFF)

# The media packed into zarnel.data, each file named on its own so that their order in the package,
# and so the package's bytes, are the same on every machine: media/ as the desktop has it but for
# the font, whose copy for the page is cut to the characters the page can draw (Latin-1, with its
# hinting and kerning: web/subset-font.py, which also follows the font's licence on names); its
# licence goes into the site as FONT-LICENSE.txt. They appear at /media, beside the program's
# working directory /.
set(ZARNEL_PYTHON /usr/bin/python3 CACHE FILEPATH "Debian's Python, with its fontTools")
execute_process(COMMAND "${ZARNEL_PYTHON}" -c "import fontTools.subset" RESULT_VARIABLE missing OUTPUT_QUIET ERROR_QUIET)
if(missing)
  message(FATAL_ERROR "${ZARNEL_PYTHON} cannot import fontTools, which cuts the page's font: install "
    "Debian's python3-fonttools (scripts/build-web does).")
endif()
set(ZARNEL_WEB_FONT "${CMAKE_BINARY_DIR}/font/ANTQUAB.TTF")
add_custom_command(OUTPUT "${ZARNEL_WEB_FONT}"
  COMMAND "${CMAKE_COMMAND}" -E make_directory "${CMAKE_BINARY_DIR}/font"
  COMMAND "${ZARNEL_PYTHON}" "${ZARNEL_WEB_DIR}/subset-font.py" "${CMAKE_SOURCE_DIR}/media/ANTQUAB.TTF" "${ZARNEL_WEB_FONT}"
  DEPENDS "${CMAKE_SOURCE_DIR}/media/ANTQUAB.TTF" "${ZARNEL_WEB_DIR}/subset-font.py"
  COMMENT "Cutting the page's font to Latin-1"
  VERBATIM)
add_custom_target(zarnel_web_font DEPENDS "${ZARNEL_WEB_FONT}")
add_dependencies(zarnel zarnel_web_font)
file(GLOB_RECURSE ZARNEL_MEDIA CONFIGURE_DEPENDS RELATIVE "${CMAKE_SOURCE_DIR}/media" "${CMAKE_SOURCE_DIR}/media/*")
set(ZARNEL_WEB_MEDIA "")
set(ZARNEL_WEB_PACKED "")
foreach(name IN LISTS ZARNEL_MEDIA)
  if(name STREQUAL "ANTQUAB.TTF")
    set(file "${ZARNEL_WEB_FONT}")
  elseif(name MATCHES "LICENSE")
    continue()
  else()
    set(file "${CMAKE_SOURCE_DIR}/media/${name}")
  endif()
  list(APPEND ZARNEL_WEB_MEDIA "${file}")
  list(APPEND ZARNEL_WEB_PACKED "SHELL:--preload-file \"${file}@/media/${name}\"")
endforeach()

# Fixed-function OpenGL emulated over WebGL 1.
set(ZARNEL_WEB_LINK_OPTIONS
  -sLEGACY_GL_EMULATION=1
  -sALLOW_MEMORY_GROWTH=1
  -sENVIRONMENT=web
  -sASYNCIFY=1
  "-sASYNCIFY_IMPORTS=['SDL_GL_SwapBuffers','SDL_PollEvent','SDL_Delay']"
  "-sASYNCIFY_ONLY=@${CMAKE_BINARY_DIR}/yield-paths.txt"
  ${ZARNEL_WEB_PACKED})
if(ZARNEL_WEB_CHECK_YIELDS)
  list(APPEND ZARNEL_WEB_LINK_OPTIONS -sASSERTIONS=1)
endif()
# The Closure Compiler's advanced optimisations make zarnel.js 137 KB instead of 315 KB (46 KB
# gzipped instead of 71 KB), with every browser test passing. Emscripten runs the command it finds
# in EM_CLOSURE_COMPILER; scripts/build-web installs it from npm (web/closure/).
set(ZARNEL_WEB_CLOSURE "" CACHE FILEPATH
  "The Closure Compiler's command (web/closure/node_modules/.bin/google-closure-compiler); empty: none")
# The link runs through web/relative-output.sh, so that no build folder's path reaches zarnel.js.
set(ZARNEL_WEB_LINK_LAUNCHER bash "${ZARNEL_WEB_DIR}/relative-output.sh")
if(ZARNEL_WEB_CLOSURE)
  list(APPEND ZARNEL_WEB_LINK_OPTIONS "SHELL:--closure 1")
  list(PREPEND ZARNEL_WEB_LINK_LAUNCHER "${CMAKE_COMMAND}" -E env "EM_CLOSURE_COMPILER=${ZARNEL_WEB_CLOSURE}")
endif()
set_target_properties(zarnel PROPERTIES CXX_LINKER_LAUNCHER "${ZARNEL_WEB_LINK_LAUNCHER}")
foreach(library IN LISTS ZARNEL_WEB_LIBRARIES)
  list(APPEND ZARNEL_WEB_LINK_OPTIONS "SHELL:--js-library \"${library}\"")
endforeach()
target_link_options(zarnel PRIVATE ${ZARNEL_WEB_LINK_OPTIONS})

# The media are packed at link time: a changed file must relink.
set_property(TARGET zarnel APPEND PROPERTY LINK_DEPENDS ${ZARNEL_WEB_MEDIA})

# The site: every file a player's browser asks for, by the name it asks for. This list is the
# service worker's (web/site.cmake writes it into sw.js, with the build's name, a hash of these
# files): a file missing here would not play offline. The page, its script, the web app manifest
# and its icons from the media generator, the font's licence and the program's three files;
# the large ones also precompressed, as .br and .gz beside them.
set(ZARNEL_WEB_PROGRAM_FILES zarnel.js zarnel.wasm zarnel.data)
set(ZARNEL_WEB_SITE_FILES index.html page.js manifest.webmanifest favicon.png icon-192.png
  icon-512.png FONT-LICENSE.txt ${ZARNEL_WEB_PROGRAM_FILES})
set(ZARNEL_WEB_PRECOMPRESSED ${ZARNEL_WEB_PROGRAM_FILES} page.js)
find_program(ZARNEL_BROTLI brotli REQUIRED)
find_program(ZARNEL_GZIP gzip REQUIRED)
set(ZARNEL_ICONS "${CMAKE_SOURCE_DIR}/data/icons")
add_custom_target(zarnel_site ALL
  COMMAND "${CMAKE_COMMAND}" -E copy_if_different "${ZARNEL_WEB_DIR}/page.js"
    "${ZARNEL_WEB_DIR}/manifest.webmanifest" "${ZARNEL_WEB_SITE}/"
  COMMAND "${CMAKE_COMMAND}" -E copy_if_different
    "${CMAKE_SOURCE_DIR}/media/ANTQUAB.LICENSE.txt" "${ZARNEL_WEB_SITE}/FONT-LICENSE.txt"
  COMMAND "${CMAKE_COMMAND}" -E copy_if_different
    "${ZARNEL_ICONS}/48/org.zarnel.Zarnel.png" "${ZARNEL_WEB_SITE}/favicon.png"
  COMMAND "${CMAKE_COMMAND}" -E copy_if_different
    "${ZARNEL_ICONS}/192/org.zarnel.Zarnel.png" "${ZARNEL_WEB_SITE}/icon-192.png"
  COMMAND "${CMAKE_COMMAND}" -E copy_if_different
    "${ZARNEL_ICONS}/512/org.zarnel.Zarnel.png" "${ZARNEL_WEB_SITE}/icon-512.png"
  COMMAND "${CMAKE_COMMAND}" -DSITE=${ZARNEL_WEB_SITE} -DWEB=${ZARNEL_WEB_DIR}
    "-DFILES=${ZARNEL_WEB_SITE_FILES}" "-DPROGRAM=${ZARNEL_WEB_PROGRAM_FILES}"
    "-DCOMPRESS=${ZARNEL_WEB_PRECOMPRESSED}" -DBROTLI=${ZARNEL_BROTLI} -DGZIP=${ZARNEL_GZIP}
    -P "${ZARNEL_WEB_DIR}/site.cmake"
  DEPENDS zarnel "${ZARNEL_WEB_DIR}/index.html" "${ZARNEL_WEB_DIR}/page.js"
    "${ZARNEL_WEB_DIR}/manifest.webmanifest" "${ZARNEL_WEB_DIR}/sw.js" "${ZARNEL_WEB_DIR}/site.cmake"
  COMMENT "Writing the static site to ${ZARNEL_WEB_SITE}"
  VERBATIM)
