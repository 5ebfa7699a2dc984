# Shared by scripts/build-web and scripts/test-web (sourced, not run): the packages of the browser
# build and of its tests, and the folders under build-web/. Needs setup.sh first.

ZARNEL_WEB="$ZARNEL_ROOT/build-web"
ZARNEL_WEB_DEPS="$ZARNEL_WEB/deps"
ZARNEL_WEB_GAME="$ZARNEL_WEB/game"
ZARNEL_WEB_SITE="$ZARNEL_WEB/site"

# Debian's emscripten (its system libraries come prebuilt), the build tools of the dependencies,
# fontTools, which cuts the page's font, and brotli, which precompresses the site's large files;
# the browser the tests and benchmarks drive, and the server of the site (node comes
# from Debian only where the machine has none).
ZARNEL_WEB_BUILD_PACKAGES=(emscripten cmake make dpkg-dev python3-fonttools brotli gzip)
ZARNEL_WEB_TEST_PACKAGES=(chromium python3)

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

# The Closure Compiler that shrinks zarnel.js to less than half (web/closure/package-lock.json
# pins the version emscripten 3.1.6 came with; Debian's is too old for emscripten): installs it
# from npm, with node and npm from Debian where the machine has none, and prints the path of its
# command. Where it cannot be had, it says so loudly and prints nothing: the site is then built
# without it, 25 KB heavier gzipped, and otherwise the same.
zarnel_web_closure() {
  local dir="$ZARNEL_ROOT/web/closure"
  if { command -v npm >/dev/null 2>&1 || zarnel_try_install nodejs npm; } && zarnel_npm_install "$dir" >&2; then
    echo "$dir/node_modules/.bin/google-closure-compiler"
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

# Serves build-web/site on 127.0.0.1 at a free port, exports ZARNEL_WEB_URL and stops the server,
# by its process id, when the calling script exits.
zarnel_serve_site() {
  local log
  log="$(mktemp)"
  python3 -u -m http.server 0 --bind 127.0.0.1 --directory "$ZARNEL_WEB_SITE" >"$log" 2>&1 &
  ZARNEL_WEB_SERVER_PID=$!
  zarnel_at_exit 'kill "$ZARNEL_WEB_SERVER_PID" 2>/dev/null'
  zarnel_at_exit "rm -f '$log'"
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
