# The browser target (included from the top CMakeLists.txt under emscripten). The game's sources
# are unchanged; web/ adds the link-time stubs, the JavaScript libraries that replace parts of
# emscripten's GL and SDL emulation, and the page. `zarnel_site` writes the static site:
# index.html, its script, icons, manifest and service worker, and zarnel.js, zarnel.wasm and
# zarnel.data beside them.

set(ZARNEL_WEB_SITE "${CMAKE_BINARY_DIR}/site" CACHE PATH "Folder of the static site")
set(ZARNEL_WEB_DIR "${CMAKE_SOURCE_DIR}/web")
set(ZARNEL_WEB_LIBRARIES "${ZARNEL_WEB_DIR}/gl-fixes.js" "${ZARNEL_WEB_DIR}/present.js")

target_sources(zarnel PRIVATE "${ZARNEL_WEB_DIR}/stubs.c")
set_target_properties(zarnel PROPERTIES
  RUNTIME_OUTPUT_DIRECTORY "${ZARNEL_WEB_SITE}"
  LINK_DEPENDS "${ZARNEL_WEB_LIBRARIES}")

# Fixed-function OpenGL emulated over WebGL 1; the engine's blocking main loop yields to the
# browser through ASYNCIFY at every presented frame and every sleep; the media folder is packed
# into zarnel.data and appears at /media, beside the program's working directory /.
set(ZARNEL_WEB_LINK_OPTIONS
  -sLEGACY_GL_EMULATION=1
  -sALLOW_MEMORY_GROWTH=1
  -sENVIRONMENT=web
  -sASYNCIFY=1
  "-sASYNCIFY_IMPORTS=['SDL_GL_SwapBuffers','SDL_PollEvent','SDL_Delay','emscripten_sleep']"
  --preload-file "${CMAKE_SOURCE_DIR}/media@/media")
foreach(library IN LISTS ZARNEL_WEB_LIBRARIES)
  list(APPEND ZARNEL_WEB_LINK_OPTIONS "SHELL:--js-library \"${library}\"")
endforeach()
target_link_options(zarnel PRIVATE ${ZARNEL_WEB_LINK_OPTIONS})

# The media are packed at link time: a changed file must relink.
file(GLOB_RECURSE ZARNEL_MEDIA CONFIGURE_DEPENDS "${CMAKE_SOURCE_DIR}/media/*")
set_property(TARGET zarnel APPEND PROPERTY LINK_DEPENDS ${ZARNEL_MEDIA})

# The site's own files beside the program's: the page, its script, the web app manifest and its
# icons from the media generator, and last the service worker, named after a hash of all of them.
set(ZARNEL_WEB_PAGE_FILES "${ZARNEL_WEB_DIR}/index.html" "${ZARNEL_WEB_DIR}/page.js"
  "${ZARNEL_WEB_DIR}/manifest.webmanifest")
set(ZARNEL_ICONS "${CMAKE_SOURCE_DIR}/data/icons")
add_custom_target(zarnel_site ALL
  COMMAND "${CMAKE_COMMAND}" -E copy_if_different ${ZARNEL_WEB_PAGE_FILES} "${ZARNEL_WEB_SITE}/"
  COMMAND "${CMAKE_COMMAND}" -E copy_if_different
    "${ZARNEL_ICONS}/48/org.zarnel.Zarnel.png" "${ZARNEL_WEB_SITE}/favicon.png"
  COMMAND "${CMAKE_COMMAND}" -E copy_if_different
    "${ZARNEL_ICONS}/192/org.zarnel.Zarnel.png" "${ZARNEL_WEB_SITE}/icon-192.png"
  COMMAND "${CMAKE_COMMAND}" -E copy_if_different
    "${ZARNEL_ICONS}/512/org.zarnel.Zarnel.png" "${ZARNEL_WEB_SITE}/icon-512.png"
  COMMAND "${CMAKE_COMMAND}" -DSITE="${ZARNEL_WEB_SITE}" -DTEMPLATE="${ZARNEL_WEB_DIR}/sw.js"
    -P "${ZARNEL_WEB_DIR}/service-worker.cmake"
  DEPENDS zarnel ${ZARNEL_WEB_PAGE_FILES} "${ZARNEL_WEB_DIR}/sw.js" "${ZARNEL_WEB_DIR}/service-worker.cmake"
  COMMENT "Writing the static site to ${ZARNEL_WEB_SITE}")
