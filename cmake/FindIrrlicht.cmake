# Finds the Irrlicht engine, which ships neither a CMake config nor a pkg-config file.
# Defines Irrlicht_FOUND, Irrlicht_INCLUDE_DIR, Irrlicht_LIBRARY and the imported target
# Irrlicht::Irrlicht. The headers are SYSTEM includes so that their own warnings stay quiet
# under -Wall -Wextra.

find_path(Irrlicht_INCLUDE_DIR irrlicht.h
  PATH_SUFFIXES irrlicht
  HINTS ENV IRRLICHT_ROOT
  PATH_SUFFIXES include/irrlicht include)
find_library(Irrlicht_LIBRARY NAMES Irrlicht irrlicht
  HINTS ENV IRRLICHT_ROOT
  PATH_SUFFIXES lib lib/Win32-gcc lib/Win32-visualstudio)

include(FindPackageHandleStandardArgs)
find_package_handle_standard_args(Irrlicht
  REQUIRED_VARS Irrlicht_LIBRARY Irrlicht_INCLUDE_DIR)

if(Irrlicht_FOUND AND NOT TARGET Irrlicht::Irrlicht)
  add_library(Irrlicht::Irrlicht UNKNOWN IMPORTED)
  set_target_properties(Irrlicht::Irrlicht PROPERTIES
    IMPORTED_LOCATION "${Irrlicht_LIBRARY}"
    INTERFACE_SYSTEM_INCLUDE_DIRECTORIES "${Irrlicht_INCLUDE_DIR}"
    INTERFACE_INCLUDE_DIRECTORIES "${Irrlicht_INCLUDE_DIR}")
endif()
mark_as_advanced(Irrlicht_INCLUDE_DIR Irrlicht_LIBRARY)
