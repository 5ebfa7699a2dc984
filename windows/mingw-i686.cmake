# Toolchain for the 32-bit Windows game: Debian's i686 mingw-w64 compilers of the win32 thread
# model. Libraries and headers are looked up in the mingw sysroot and in the static dependencies
# that scripts/build-windows builds (ZARNEL_WIN32_DEPS, build-win32/deps by default), never on
# the host.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)

set(ZARNEL_MINGW_TRIPLE i686-w64-mingw32)
set(CMAKE_C_COMPILER ${ZARNEL_MINGW_TRIPLE}-gcc-win32)
set(CMAKE_CXX_COMPILER ${ZARNEL_MINGW_TRIPLE}-g++-win32)
set(CMAKE_RC_COMPILER ${ZARNEL_MINGW_TRIPLE}-windres)

if(NOT ZARNEL_WIN32_DEPS)
  get_filename_component(ZARNEL_WIN32_DEPS "${CMAKE_CURRENT_LIST_DIR}/../build-win32/deps" ABSOLUTE)
endif()
set(ZARNEL_WIN32_DEPS "${ZARNEL_WIN32_DEPS}" CACHE PATH "Prefix of the static Windows dependencies")
# try_compile projects read this file again; hand them the same prefix.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES ZARNEL_WIN32_DEPS)

set(CMAKE_FIND_ROOT_PATH /usr/${ZARNEL_MINGW_TRIPLE} "${ZARNEL_WIN32_DEPS}")
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
