# Finds the Irrlicht engine, which ships neither a CMake config nor a pkg-config file.
# Defines Irrlicht_FOUND, Irrlicht_INCLUDE_DIR, Irrlicht_LIBRARY, Irrlicht_STATIC and the imported
# target Irrlicht::Irrlicht. The headers are SYSTEM includes so that their own warnings stay quiet
# under -Wall -Wextra. On Windows a static engine (libIrrlicht.a, not an import library) also
# brings _IRR_STATIC_LIB_, the image libraries it was built with and the system libraries it calls.
# In the browser the engine is static too; its OpenGL and SDL come from emscripten's link flags.

find_path(Irrlicht_INCLUDE_DIR irrlicht.h
  PATH_SUFFIXES irrlicht
  HINTS ENV IRRLICHT_ROOT
  PATH_SUFFIXES include/irrlicht include)
find_library(Irrlicht_LIBRARY NAMES Irrlicht irrlicht
  HINTS ENV IRRLICHT_ROOT
  PATH_SUFFIXES lib lib/Win32-gcc lib/Win32-visualstudio)

set(Irrlicht_STATIC OFF)
if((WIN32 OR EMSCRIPTEN) AND Irrlicht_LIBRARY MATCHES "\\.a$" AND NOT Irrlicht_LIBRARY MATCHES "\\.dll\\.a$")
  set(Irrlicht_STATIC ON)
  find_package(PNG QUIET)
  find_package(ZLIB QUIET)
endif()

include(FindPackageHandleStandardArgs)
if(Irrlicht_STATIC)
  find_package_handle_standard_args(Irrlicht
    REQUIRED_VARS Irrlicht_LIBRARY Irrlicht_INCLUDE_DIR PNG_FOUND ZLIB_FOUND)
else()
  find_package_handle_standard_args(Irrlicht
    REQUIRED_VARS Irrlicht_LIBRARY Irrlicht_INCLUDE_DIR)
endif()

if(Irrlicht_FOUND AND NOT TARGET Irrlicht::Irrlicht)
  add_library(Irrlicht::Irrlicht UNKNOWN IMPORTED)
  set_target_properties(Irrlicht::Irrlicht PROPERTIES
    IMPORTED_LOCATION "${Irrlicht_LIBRARY}"
    INTERFACE_SYSTEM_INCLUDE_DIRECTORIES "${Irrlicht_INCLUDE_DIR}"
    INTERFACE_INCLUDE_DIRECTORIES "${Irrlicht_INCLUDE_DIR}")
  if(Irrlicht_STATIC AND EMSCRIPTEN)
    set_target_properties(Irrlicht::Irrlicht PROPERTIES
      INTERFACE_LINK_LIBRARIES "PNG::PNG;ZLIB::ZLIB")
  elseif(Irrlicht_STATIC)
    set_target_properties(Irrlicht::Irrlicht PROPERTIES
      INTERFACE_COMPILE_DEFINITIONS _IRR_STATIC_LIB_
      INTERFACE_LINK_LIBRARIES "PNG::PNG;ZLIB::ZLIB;opengl32;gdi32;winmm;user32;kernel32;advapi32")
  endif()
endif()
mark_as_advanced(Irrlicht_INCLUDE_DIR Irrlicht_LIBRARY)
