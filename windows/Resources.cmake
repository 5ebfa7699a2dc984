# The Windows program's platform files, included by the top-level CMakeLists.txt for a MinGW
# build: zarnel.exe's resources (icon, VERSIONINFO, manifest) compiled by windres from zarnel.rc,
# the window-icon file the engine loads from the working directory, the version header of the
# setup program that scripts/build-windows makes with makensis, and the zip's README.txt. Everything is filled in from
# the project's version and made from the media generator's icons in data/icons/.
enable_language(RC)
find_program(ZARNEL_ICOTOOL icotool REQUIRED)

set(ZARNEL_ICON_PNGS)
foreach(size 16 32 48 64 128 256)
  list(APPEND ZARNEL_ICON_PNGS "${CMAKE_SOURCE_DIR}/data/icons/${size}/org.zarnel.Zarnel.png")
endforeach()
list(GET ZARNEL_ICON_PNGS 0 ZARNEL_ICON_16)
list(GET ZARNEL_ICON_PNGS 1 ZARNEL_ICON_32)
list(GET ZARNEL_ICON_PNGS 5 ZARNEL_ICON_256)
list(SUBLIST ZARNEL_ICON_PNGS 0 5 ZARNEL_ICON_BMP_PNGS)

# The program's icon, every size; the 256 pixel image stays PNG-compressed as Windows allows, the
# smaller ones become bitmaps that every version of Windows reads.
set(ZARNEL_ICO "${CMAKE_CURRENT_BINARY_DIR}/zarnel.ico")
add_custom_command(OUTPUT "${ZARNEL_ICO}"
  COMMAND "${ZARNEL_ICOTOOL}" -c -o "${ZARNEL_ICO}" ${ZARNEL_ICON_BMP_PNGS} -r "${ZARNEL_ICON_256}"
  DEPENDS ${ZARNEL_ICON_PNGS}
  COMMENT "Making the program's icon")

# The window icon: the engine loads irrlicht.ico from the working directory for its window class
# and uses the file's first image at its own size, so the first image is 32 pixels, the size of
# the taskbar's and Alt+Tab's icon, which Windows scales down for the title bar.
set(ZARNEL_WINDOW_ICO "${CMAKE_CURRENT_BINARY_DIR}/irrlicht.ico")
add_custom_command(OUTPUT "${ZARNEL_WINDOW_ICO}"
  COMMAND "${ZARNEL_ICOTOOL}" -c -o "${ZARNEL_WINDOW_ICO}" "${ZARNEL_ICON_32}" "${ZARNEL_ICON_16}"
  DEPENDS "${ZARNEL_ICON_32}" "${ZARNEL_ICON_16}"
  COMMENT "Making the window icon")
add_custom_target(zarnel_window_icon DEPENDS "${ZARNEL_WINDOW_ICO}")
add_dependencies(zarnel zarnel_window_icon)

# VERSIONINFO wants four numbers.
set(ZARNEL_VERSION_QUAD "${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_PATCH}.0")
string(REPLACE "." "," ZARNEL_VERSION_COMMAS "${ZARNEL_VERSION_QUAD}")
set(ZARNEL_MANIFEST "${CMAKE_CURRENT_BINARY_DIR}/zarnel.manifest")
configure_file("${CMAKE_CURRENT_LIST_DIR}/zarnel.manifest.in" "${ZARNEL_MANIFEST}" @ONLY)
configure_file("${CMAKE_CURRENT_LIST_DIR}/zarnel.rc.in" "${CMAKE_CURRENT_BINARY_DIR}/zarnel.rc" @ONLY)
target_sources(zarnel PRIVATE "${CMAKE_CURRENT_BINARY_DIR}/zarnel.rc")
set_source_files_properties("${CMAKE_CURRENT_BINARY_DIR}/zarnel.rc" PROPERTIES
  OBJECT_DEPENDS "${ZARNEL_ICO};${ZARNEL_MANIFEST}")

configure_file("${CMAKE_CURRENT_LIST_DIR}/version.nsh.in" "${CMAKE_CURRENT_BINARY_DIR}/version.nsh" @ONLY)
# The players' README.txt of the zip, with Windows' line ends, names the setup program's version.
configure_file("${CMAKE_CURRENT_LIST_DIR}/README.txt.in" "${CMAKE_CURRENT_BINARY_DIR}/README.txt" @ONLY
  NEWLINE_STYLE WIN32)
