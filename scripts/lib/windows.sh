# Shared by scripts/build-windows and scripts/test-windows (sourced, not run): the packages of the
# Windows cross-build and of Wine, and the folders under build-win32/. Needs setup.sh and
# sources.sh first.

ZARNEL_WIN32="$ZARNEL_ROOT/build-win32"
ZARNEL_WIN32_DEPS="$ZARNEL_WIN32/deps"
ZARNEL_WIN32_GAME="$ZARNEL_WIN32/game"
ZARNEL_WIN32_ZIP="$ZARNEL_WIN32/zarnel-win32.zip"
# The player's folder as the zip holds it, which the setup program installs too.
ZARNEL_WIN32_STAGE="$ZARNEL_WIN32/zip/zarnel"

# The i686 compilers of the win32 thread model (the posix ones are not needed: the game has one
# thread), the tools to unpack Debian source packages, icotool for the icons, zip for the
# player's archive and makensis for the setup program.
ZARNEL_WIN32_BUILD_PACKAGES=(cmake make gcc-mingw-w64-i686-win32 g++-mingw-w64-i686-win32
  mingw-w64-i686-dev binutils-mingw-w64-i686 dpkg-dev icoutils zip nsis)
# Wine and a 32-bit OpenGL for it: without libgl1:i386 the exe finds no pixel format.
ZARNEL_WIN32_RUN_PACKAGES=(wine wine32:i386 libgl1:i386 libgl1-mesa-dri:i386 libglx-mesa0:i386)
# 64-bit Wine, only where the kernel cannot run 32-bit programs: the setup program's tests then
# run on a 64-bit build of it (see scripts/test-windows).
ZARNEL_WIN32_RUN64_PACKAGES=(wine64)
# What the Windows tests add: unzip for the archive, wrestool and icotool (icoutils) to read the
# resources back, and lnkinfo to read the shortcuts the setup program makes.
ZARNEL_WIN32_TEST_PACKAGES=(unzip icoutils liblnk-utils)

# Enables the i386 architecture (for wine32) and Debian's source packages; the package lists are
# refreshed once for both (a failed refresh only warns). Quick when both are already there.
zarnel_enable_windows_sources() {
  dpkg --print-foreign-architectures | grep -qx i386 || zarnel_as_root dpkg --add-architecture i386
  zarnel_enable_deb_src
  # The deb-src list may have been there already: a new architecture needs its own refresh.
  zarnel_refresh_lists
}

# zarnel_sign_exe FILE...: Authenticode-signs each FILE in place with the certificate and key of
# ZARNEL_SIGN_PFX (its password in ZARNEL_SIGN_PASS, passed on standard input, never on a command
# line), dated SOURCE_DATE_EPOCH so that a signed file is the same bytes on every build: RSA
# signatures of PKCS#1 v1.5 are deterministic. Without ZARNEL_SIGN_PFX it does nothing.
zarnel_sign_exe() {
  [ -n "${ZARNEL_SIGN_PFX:-}" ] || return 0
  local file
  for file in "$@"; do
    printf '%s' "${ZARNEL_SIGN_PASS:-}" | osslsigncode sign -pkcs12 "$ZARNEL_SIGN_PFX" -readpass - \
      -h sha256 -n Zarnel -i https://zarnel.org/ -time "$SOURCE_DATE_EPOCH" \
      -in "$file" -out "$file.signed" >/dev/null
    mv "$file.signed" "$file"
  done
}
