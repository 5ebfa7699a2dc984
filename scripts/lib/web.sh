# Shared by scripts/build-web, scripts/test-web and scripts/bench-web (sourced, not run): the
# packages of the browser build and of its tests, the engines the tests run in, and the folders
# under build-web/. Needs setup.sh first.

ZARNEL_WEB="$ZARNEL_ROOT/build-web"
ZARNEL_WEB_DEPS="$ZARNEL_WEB/deps"
ZARNEL_WEB_GAME="$ZARNEL_WEB/game"
ZARNEL_WEB_SITE="$ZARNEL_WEB/site"

# Debian's emscripten (its system libraries come prebuilt), the build tools of the dependencies,
# fontTools, which cuts the page's font, and brotli, which precompresses the site's large files;
# the browser the tests and benchmarks drive first (node comes from Debian only where the machine
# has none); the two other engines, each on a private X server: Firefox ESR, and WebKitGTK's
# WebDriver with the MiniBrowser it drives.
ZARNEL_WEB_BUILD_PACKAGES=(emscripten cmake make dpkg-dev python3-fonttools brotli gzip)
ZARNEL_WEB_TEST_PACKAGES=(chromium)
ZARNEL_WEB_FIREFOX_PACKAGES=(firefox-esr xvfb)
ZARNEL_WEB_WEBKIT_PACKAGES=(webkit2gtk-driver libwebkit2gtk-4.1-0 xvfb)

# Debian's emscripten finds its own acorn only through NODE_PATH when node is not Debian's.
export NODE_PATH=/usr/share/nodejs

# Installs the page's test tools: Chromium from Debian, node where the machine has none, and
# puppeteer-core at the version tests/web/package-lock.json pins. Returns 1, after saying what is
# missing, when they cannot be had.
zarnel_web_test_tools() {
  zarnel_try_install "${ZARNEL_WEB_TEST_PACKAGES[@]}" || return 1
  command -v npm >/dev/null 2>&1 || zarnel_try_install nodejs npm || return 1
  zarnel_npm_install "$ZARNEL_ROOT/tests/web"
}

# zarnel_web_engines [SUITE]: sets ZARNEL_WEB_ENGINES to Chromium and each other engine whose
# packages can be installed, and records each that cannot as skipped in SUITE (when named); starts
# the private X server that Firefox and WebKit draw on.
zarnel_web_engines() {
  ZARNEL_WEB_ENGINES=chromium
  if zarnel_try_install "${ZARNEL_WEB_FIREFOX_PACKAGES[@]}"; then
    ZARNEL_WEB_ENGINES+=,firefox
  else
    echo "== Firefox CANNOT be installed now: the page is NOT tried in it" >&2
    [ -z "${1:-}" ] || zarnel_skip "$1" "every case in Firefox" "${ZARNEL_WEB_FIREFOX_PACKAGES[*]} cannot be installed from the package registry now"
  fi
  if zarnel_try_install "${ZARNEL_WEB_WEBKIT_PACKAGES[@]}"; then
    ZARNEL_WEB_ENGINES+=,webkit
  else
    echo "== WebKitGTK's driver CANNOT be installed now: the page is NOT tried in it" >&2
    [ -z "${1:-}" ] || zarnel_skip "$1" "every case in WebKitGTK" "${ZARNEL_WEB_WEBKIT_PACKAGES[*]} cannot be installed from the package registry now"
  fi
  export ZARNEL_WEB_ENGINES
  [ "$ZARNEL_WEB_ENGINES" = chromium ] || zarnel_private_display
}

# The Closure Compiler that shrinks zarnel.js to less than half (web/closure/package-lock.json
# pins the version emscripten 3.1.6 came with; Debian's is too old for emscripten): installs it
# from npm, with node and npm from Debian where the machine has none, and prints the path of its
# command. Where it cannot be had, it says so loudly and prints nothing: the site is then built
# without it, 25 KB heavier gzipped, and otherwise the same. A release (ZARNEL_WEB_NEED_CLOSURE
# set) stops instead: its bytes would not be those of another build of the same commit.
zarnel_web_closure() {
  local dir="$ZARNEL_ROOT/web/closure"
  if { command -v npm >/dev/null 2>&1 || zarnel_try_install nodejs npm; } && zarnel_npm_install "$dir" >&2; then
    echo "$dir/node_modules/.bin/google-closure-compiler"
  elif [ -n "${ZARNEL_WEB_NEED_CLOSURE:-}" ]; then
    echo "Stopping: a release's site needs the Closure Compiler, which cannot be installed now." >&2
    return 1
  else
    echo "== WARNING: the Closure Compiler cannot be installed now: zarnel.js is built without it (larger)." >&2
  fi
}

# zarnel_npm_install DIR: installs DIR's locked node modules, only when its package-lock.json
# changed since the last install. npm ci runs in a folder beside DIR's, retried when the registry
# fails, and its node_modules replaces DIR's only once it is complete.
zarnel_npm_install() {
  local dir="$1" stamp="$1/node_modules/.package-lock.installed"
  cmp -s "$dir/package-lock.json" "$stamp" && return 0
  local next="$dir/.npm-install" try
  for try in 1 2 3; do
    rm -rf "$next"
    mkdir -p "$next"
    cp "$dir/package.json" "$dir/package-lock.json" "$next/"
    if (cd "$next" && npm ci --no-audit --no-fund --loglevel=error); then
      cp "$dir/package-lock.json" "$next/node_modules/.package-lock.installed"
      rm -rf "$dir/node_modules"
      mv "$next/node_modules" "$dir/node_modules"
      rm -rf "$next"
      return 0
    fi
    echo "WARNING: npm ci failed (try $try of 3)." >&2
    [ $try -lt 3 ] && sleep $((try * 15))
  done
  rm -rf "$next"
  if [ -d "$dir/node_modules" ]; then
    echo "WARNING: going on with the node modules installed before, which package-lock.json no longer names." >&2
    return 0
  fi
  echo "The node modules of $dir cannot be installed now." >&2
  return 1
}
