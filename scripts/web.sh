# Shared by scripts/build-web and scripts/test-web (sourced, not run): the packages of the browser
# build and of its tests, and the folders under build-web/. Needs setup.sh first.

ZARNEL_WEB="$ZARNEL_ROOT/build-web"
ZARNEL_WEB_DEPS="$ZARNEL_WEB/deps"
ZARNEL_WEB_GAME="$ZARNEL_WEB/game"
ZARNEL_WEB_SITE="$ZARNEL_WEB/site"

# Debian's emscripten (its system libraries come prebuilt) and the build tools of the
# dependencies; the browser the tests and benchmarks drive, and the server of the site (node comes
# from Debian only where the machine has none).
ZARNEL_WEB_BUILD_PACKAGES=(emscripten cmake make dpkg-dev)
ZARNEL_WEB_TEST_PACKAGES=(chromium python3)

# Debian's emscripten finds its own acorn only through NODE_PATH when node is not Debian's.
export NODE_PATH=/usr/share/nodejs

# Installs the page's test tools: Chromium from Debian, node where the machine has none, and
# puppeteer-core at the version tests/web/package-lock.json pins.
zarnel_web_test_tools() {
  zarnel_install "${ZARNEL_WEB_TEST_PACKAGES[@]}"
  command -v npm >/dev/null 2>&1 || zarnel_install nodejs npm
  (cd "$ZARNEL_ROOT/tests/web" && npm ci --no-audit --no-fund --loglevel=error)
}

# Serves build-web/site on 127.0.0.1 at a free port, exports ZARNEL_WEB_URL and stops the server,
# by its process id, when the calling script exits.
zarnel_serve_site() {
  local log
  log="$(mktemp)"
  python3 -u -m http.server 0 --bind 127.0.0.1 --directory "$ZARNEL_WEB_SITE" >"$log" 2>&1 &
  ZARNEL_WEB_SERVER_PID=$!
  trap 'kill "$ZARNEL_WEB_SERVER_PID" 2>/dev/null; rm -f "'"$log"'"' EXIT
  local port="" i
  for i in $(seq 100); do
    port="$(sed -n 's/^Serving HTTP on .* port \([0-9]*\) .*/\1/p' "$log")"
    [ -n "$port" ] && break
    kill -0 "$ZARNEL_WEB_SERVER_PID" 2>/dev/null || break
    sleep 0.1
  done
  if [ -z "$port" ]; then
    cat "$log" >&2
    echo "The site's server did not start." >&2
    return 1
  fi
  export ZARNEL_WEB_URL="http://127.0.0.1:$port/"
}
