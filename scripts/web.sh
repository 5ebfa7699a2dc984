# Shared by scripts/build-web and scripts/test-web (sourced, not run): the packages of the browser
# build and of its tests, and the folders under build-web/. Needs setup.sh first.

ZARNEL_WEB="$ZARNEL_ROOT/build-web"
ZARNEL_WEB_DEPS="$ZARNEL_WEB/deps"
ZARNEL_WEB_GAME="$ZARNEL_WEB/game"
ZARNEL_WEB_SITE="$ZARNEL_WEB/site"

# Debian's emscripten (its system libraries come prebuilt), the build tools of the dependencies,
# gzip for the size report, and the browser the tests and benchmarks drive.
ZARNEL_WEB_BUILD_PACKAGES=(emscripten cmake make dpkg-dev gzip)
ZARNEL_WEB_TEST_PACKAGES=(chromium nodejs npm python3)

# Debian's emscripten finds its own acorn only through NODE_PATH when node is not Debian's.
export NODE_PATH=/usr/share/nodejs
