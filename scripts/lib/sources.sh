# Shared by the cross builds, scripts/build-windows and scripts/build-web (sourced, not run):
# Debian's source packages of the game's dependencies, fetched and unpacked, and the loop that
# builds them into a prefix that is kept until a source version changes. Needs setup.sh first.

ZARNEL_SOURCES=(zlib libpng1.6 freetype irrlicht)
# What is built from them, in order: each by the caller's function build_<name>.
ZARNEL_DEPS=(zlib libpng freetype irrlicht)

# Turns on Debian's source packages (a deb822 list of our own) and refreshes the package lists
# when it had to (a failed refresh only warns); quick when the list is already there.
zarnel_enable_deb_src() {
  local list=/etc/apt/sources.list.d/zarnel-deb-src.sources
  [ -f "$list" ] && return 0
  zarnel_as_root tee "$list" >/dev/null <<'SOURCES'
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm bookworm-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SOURCES
  zarnel_refresh_lists
}

# The Debian source versions, one "package version" a line, from the .dsc names apt would fetch.
zarnel_source_versions() {
  local p
  for p in "${ZARNEL_SOURCES[@]}"; do
    apt-get source --print-uris "$p" 2>/dev/null |
      sed -n "s/^'[^']*' \(${p}_[^ ]*\)\.dsc .*/\1/p" | tr _ ' '
  done
}

# What the prefix is built from: the source versions, the build functions' own text, the files
# they read (the caller's ZARNEL_DEPS_INPUTS, e.g. a patch) and the values of the variables they
# read (ZARNEL_DEPS_SETTINGS, e.g. compiler flags), so that a changed recipe rebuilds as a new
# source version does.
zarnel_deps_key() {
  local versions recipe
  versions="$(zarnel_source_versions)"
  [ -n "$versions" ] || return 0
  recipe="$({ declare -f "${ZARNEL_DEPS[@]/#/build_}"
    echo "${ZARNEL_DEPS_SETTINGS:-}"
    cat ${ZARNEL_DEPS_INPUTS[@]+"${ZARNEL_DEPS_INPUTS[@]}"}; } | sha256sum | cut -c1-16)"
  printf '%s\nrecipe %s\n' "$versions" "$recipe"
}

# zarnel_build_deps PREFIX WORK LAST: builds zlib, libpng, FreeType and the engine into PREFIX
# with the caller's functions build_zlib, build_libpng, build_freetype and build_irrlicht, each
# run inside WORK/src with its log in WORK/logs/. Nothing is done when PREFIX/versions.txt holds
# the current key (zarnel_deps_key) and PREFIX/LAST (the engine's library) exists. A prefix that
# is there already is kept when the sources cannot be had, and is replaced only once the new one
# has built.
zarnel_build_deps() {
  local prefix="$1" work="$2" last="$3"
  local wanted
  wanted="$(zarnel_deps_key)"
  if [ -z "$wanted" ]; then
    zarnel_refresh_lists
    wanted="$(zarnel_deps_key)"
  fi
  local built=""
  [ -f "$prefix/$last" ] && [ -f "$prefix/versions.txt" ] && built="$(cat "$prefix/versions.txt")"
  if [ -n "$built" ] && [ "$built" = "$wanted" ]; then
    echo "== dependencies up to date:" $wanted >&2
    return 0
  fi
  if [ -z "$wanted" ]; then
    echo "apt-get knows no source packages for: ${ZARNEL_SOURCES[*]}" >&2
    zarnel_keep_old_deps "$built"
    return 0
  fi
  zarnel_fetch_sources "$work" || { zarnel_keep_old_deps "$built"; return 0; }
  zarnel_build_deps_into "$prefix" "$work"
  echo "$wanted" >"$prefix/versions.txt"
}

# Goes on with the dependencies built before ($1, their key; empty when there are none), or stops.
zarnel_keep_old_deps() {
  if [ -z "$1" ]; then
    echo "Stopping: no dependencies were built before to fall back on." >&2
    exit 1
  fi
  echo "WARNING: going on with the dependencies built before, from:" $1 >&2
}

# Fetches and unpacks the sources into WORK/src.new, then puts them in the place of WORK/src;
# returns 1, leaving WORK/src as it was, when the fetch fails.
zarnel_fetch_sources() {
  local work="$1" t=$SECONDS
  local log="$work/logs/sources.log"
  rm -rf "$work/src.new"
  mkdir -p "$work/src.new" "$work/logs"
  if ! (cd "$work/src.new" && apt-get -o Acquire::Retries=3 source "${ZARNEL_SOURCES[@]}") >"$log" 2>&1; then
    tail -20 "$log" >&2
    echo "WARNING: fetching the Debian sources failed, see $log" >&2
    rm -rf "$work/src.new"
    return 1
  fi
  rm -rf "$work/src"
  mv "$work/src.new" "$work/src"
  zarnel_phase_done $t "fetch and unpack sources"
}

# Builds each dependency into PREFIX, the prefix built before set aside meanwhile: it comes back
# when a build fails, and is removed once all have built.
zarnel_build_deps_into() {
  local prefix="$1" work="$2"
  local lib log t
  rm -rf "$prefix.old"
  [ -d "$prefix" ] && mv "$prefix" "$prefix.old"
  mkdir -p "$prefix"
  for lib in "${ZARNEL_DEPS[@]}"; do
    t=$SECONDS
    log="$work/logs/$lib.log"
    # In the background so that errexit holds inside (a tested subshell would ignore it).
    (cd "$work/src" && build_$lib) >"$log" 2>&1 &
    if ! wait $!; then
      tail -30 "$log" >&2
      echo "building $lib failed, see $log" >&2
      rm -rf "$prefix"
      [ -d "$prefix.old" ] && mv "$prefix.old" "$prefix" && echo "The dependencies built before are kept." >&2
      exit 1
    fi
    zarnel_phase_done $t "build $lib"
  done
  rm -rf "$prefix.old"
}
