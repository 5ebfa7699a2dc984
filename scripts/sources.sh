# Shared by the cross builds, scripts/build-windows and scripts/build-web (sourced, not run):
# Debian's source packages of the game's dependencies, fetched and unpacked, and the loop that
# builds them into a prefix that is kept until a source version changes. Needs setup.sh first.

ZARNEL_SOURCES=(zlib libpng1.6 freetype irrlicht)

# Turns on Debian's source packages (a deb822 list of our own) and refreshes the package lists
# when it had to; quick when the list is already there.
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
  zarnel_apt update -qq
}

# The Debian source versions, one "package version" a line, from the .dsc names apt would fetch.
zarnel_source_versions() {
  local p
  for p in "${ZARNEL_SOURCES[@]}"; do
    apt-get source --print-uris "$p" 2>/dev/null |
      sed -n "s/^'[^']*' \(${p}_[^ ]*\)\.dsc .*/\1/p" | tr _ ' '
  done
}

# zarnel_build_deps PREFIX WORK LAST: builds zlib, libpng, FreeType and the engine into PREFIX
# with the caller's functions build_zlib, build_libpng, build_freetype and build_irrlicht, each
# run inside WORK/src with its log in WORK/logs/. Nothing is done when PREFIX/versions.txt names
# the current source versions and PREFIX/LAST (the engine's library) exists.
zarnel_build_deps() {
  local prefix="$1" work="$2" last="$3"
  local src="$work/src" logs="$work/logs"
  local wanted
  wanted="$(zarnel_source_versions)"
  if [ -z "$wanted" ]; then
    zarnel_apt update -qq
    wanted="$(zarnel_source_versions)"
  fi
  if [ -z "$wanted" ]; then
    echo "apt-get knows no source packages for: ${ZARNEL_SOURCES[*]}" >&2
    exit 1
  fi
  if [ -f "$prefix/versions.txt" ] && [ "$(cat "$prefix/versions.txt")" = "$wanted" ] &&
    [ -f "$prefix/$last" ]; then
    echo "== dependencies up to date:" $wanted >&2
    return 0
  fi
  rm -rf "$prefix" "$src"
  mkdir -p "$prefix" "$src" "$logs"
  local t=$SECONDS
  (cd "$src" && apt-get source "${ZARNEL_SOURCES[@]}") >"$logs/sources.log" 2>&1 ||
    { tail -20 "$logs/sources.log" >&2; exit 1; }
  zarnel_phase_done $t "fetch and unpack sources"
  local lib log
  for lib in zlib libpng freetype irrlicht; do
    t=$SECONDS
    log="$logs/$lib.log"
    # In the background so that errexit holds inside (a tested subshell would ignore it).
    (cd "$src" && build_$lib) >"$log" 2>&1 &
    if ! wait $!; then
      tail -30 "$log" >&2
      echo "building $lib failed, see $log" >&2
      exit 1
    fi
    zarnel_phase_done $t "build $lib"
  done
  echo "$wanted" >"$prefix/versions.txt"
}
