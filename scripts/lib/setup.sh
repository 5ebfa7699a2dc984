# Shared by every command of scripts/ (sourced, not run): installs the Debian
# packages that are missing and configures and builds the project into build/.

ZARNEL_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
ZARNEL_BUILD="$ZARNEL_ROOT/build"

# Packages the game needs to build and run.
ZARNEL_GAME_PACKAGES=(cmake g++ make pkg-config libirrlicht-dev libfreetype-dev libgl1-mesa-dri)
# What the tests add: GoogleTest, a private X server and X tools for the end-to-end tests, XTest
# for real input, and the fonts the font tests open.
ZARNEL_TEST_PACKAGES=(libgtest-dev googletest xvfb libx11-dev libxtst-dev x11-utils
  fonts-dejavu-core fonts-urw-base35 xfonts-base faketime)
ZARNEL_BENCH_PACKAGES=(libbenchmark-dev xvfb libx11-dev)
# The .deb: dpkg-shlibdeps (dpkg-dev) computes its dependencies, file describes its binaries.
ZARNEL_PACKAGE_PACKAGES=(dpkg-dev file)
# The distribution's own validators of what the package installs.
ZARNEL_VALIDATOR_PACKAGES=(desktop-file-utils appstream lintian)

# Runs a command as root: directly, or through sudo.
zarnel_as_root() {
  if [ "$(id -u)" -eq 0 ]; then
    "$@"
  elif command -v sudo >/dev/null 2>&1; then
    sudo "$@"
  else
    echo "This step needs root: $*" >&2
    exit 1
  fi
}

# apt-get as root, never asking questions; it waits up to ten minutes for another apt or dpkg
# to let go of its lock, and retries a failed download three times.
zarnel_apt() {
  zarnel_as_root env DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=600 \
    -o Acquire::Retries=3 "$@"
}

# The package sources as apt sees them: their files and the foreign architectures. A change
# (a new architecture, Debian's source packages) calls for a new refresh of the lists.
zarnel_apt_sources_key() {
  { cat /etc/apt/sources.list /etc/apt/sources.list.d/* 2>/dev/null; dpkg --print-foreign-architectures; } |
    sha256sum | cut -c1-16
}

# Refreshes the package lists once per run of our scripts (and again when the sources changed).
# A failed refresh is a warning, not the end: the registry may serve a broken index for a while
# (a mirror caught mid-sync), and the lists on disk, with every index that did refresh, are
# usually enough. Whether they are shows when a package is installed.
zarnel_refresh_lists() {
  local key
  key="$(zarnel_apt_sources_key)"
  [ "${ZARNEL_APT_REFRESHED:-}" = "$key" ] && return 0
  if ! zarnel_apt update -qq; then
    echo "WARNING: apt-get update failed (see above); going on with the package lists on disk." >&2
  fi
  export ZARNEL_APT_REFRESHED="$key"
}

# The packages of "$@" that are not installed, one a line.
zarnel_missing_packages() {
  local p
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || echo "$p"
  done
}

# Installs what is missing of "$@"; returns 1, after saying which packages cannot be installed
# and apt's reason for each, when the install fails.
zarnel_try_install() {
  local missing=()
  mapfile -t missing < <(zarnel_missing_packages "$@")
  [ ${#missing[@]} -eq 0 ] && return 0
  # Without a way to root, say exactly what to run.
  if [ "$(id -u)" -ne 0 ] && ! command -v sudo >/dev/null 2>&1; then
    echo "Missing packages. Install them as root with:" >&2
    echo "  apt-get update && apt-get install -y ${missing[*]}" >&2
    return 1
  fi
  echo "Installing: ${missing[*]}" >&2
  zarnel_refresh_lists
  zarnel_apt install -y -qq "${missing[@]}" >&2 && return 0
  zarnel_install_from_release "${missing[@]}" && return 0
  echo "== These packages cannot be installed now:" >&2
  local p why
  for p in $(zarnel_missing_packages "${missing[@]}"); do
    why="$(apt-get install -s -qq "$p" 2>&1 | grep -E '^E:|Depends:|Breaks:' | head -3 | tr '\n' ' ')"
    echo "==   $p: ${why:-installable alone, but not with the others (see the errors above)}" >&2
  done
  return 1
}

# A second try at installing "$@", with every package at the version of the release's own suite
# (bookworm, not bookworm-security). A package of two architectures (libc6 and libc6:i386, say)
# must have one version in both; when the registry serves one architecture's security index
# broken, its newer versions are known for the other architecture only, and apt finds no set
# that fits. The release's own suite has every architecture's versions. It says when it does so.
zarnel_install_from_release() {
  local release
  release="$(. /etc/os-release && echo "${VERSION_CODENAME:-}")"
  [ -n "$release" ] || return 1
  echo "== WARNING: retrying with the versions of the $release suite itself (an update index may be broken)." >&2
  zarnel_apt install -y -qq -t "$release" "$@" >&2
}

# Installs what is missing of "$@", or stops the script: the step cannot go on without them.
zarnel_install() {
  zarnel_try_install "$@" && return 0
  echo "Stopping: this step needs the packages above." >&2
  exit 1
}

# Tests a suite could not run are recorded, never counted as passed: zarnel_skip SUITE WHAT WHY
# adds a line to $ZARNEL_SKIPS, which each suite script empties of its own lines when it starts
# (zarnel_skips_begin) and prints whole as its last lines (zarnel_skips_report), so the end of a
# run of several suites, as in CI, says everything that was skipped.
ZARNEL_SKIPS="$ZARNEL_BUILD/skipped-tests.txt"

zarnel_skips_begin() {
  mkdir -p "$(dirname "$ZARNEL_SKIPS")"
  touch "$ZARNEL_SKIPS"
  sed -i "/^$1: /d" "$ZARNEL_SKIPS"
}

zarnel_skip() {
  echo "$1: SKIPPED $2 ($3)" >>"$ZARNEL_SKIPS"
}

zarnel_skips_report() {
  if [ -s "$ZARNEL_SKIPS" ]; then
    echo "== Tests NOT run (skipped, not passed), by the latest run of each suite:" >&2
    sed 's/^/==   /' "$ZARNEL_SKIPS" >&2
  else
    echo "== No test was skipped." >&2
  fi
}

# zarnel_build [extra cmake options...]: a Release build in $ZARNEL_BUILD (build/ unless the
# caller names another folder).
zarnel_build() {
  cmake -S "$ZARNEL_ROOT" -B "$ZARNEL_BUILD" -DCMAKE_BUILD_TYPE=Release "$@" >/dev/null &&
    cmake --build "$ZARNEL_BUILD" -j "$(nproc)"
}

# zarnel_at_exit COMMAND: runs COMMAND when the calling script ends, after the commands added
# before it, even when one of those failed. One EXIT trap runs them all, so that no step's clean-up
# replaces another's. Bash runs an EXIT trap when the script exits, not when a signal ends it:
# TERM (a CI timeout), INT (Ctrl-C) and HUP (a closed terminal) each get a trap that exits with
# the signal's usual status, and the exit runs the clean-up.
ZARNEL_AT_EXIT=""
zarnel_at_exit() {
  ZARNEL_AT_EXIT="${ZARNEL_AT_EXIT}{ $1; } || true; "
  trap "${ZARNEL_AT_EXIT}true" EXIT
  trap 'exit 129' HUP
  trap 'exit 130' INT
  trap 'exit 143' TERM
}

# zarnel_run COMMAND...: runs COMMAND in a process group of its own and waits for it. Bash runs a
# signal's trap only once the command in the foreground has ended, and a test can take minutes;
# a wait for a background command is cut short by the signal instead, and the clean-up then ends
# the command's whole group (the test runner and what it started).
ZARNEL_RUNNING=""
zarnel_run() {
  [ -n "${ZARNEL_RUN_REGISTERED:-}" ] ||
    zarnel_at_exit '[ -z "$ZARNEL_RUNNING" ] || kill -- "-$ZARNEL_RUNNING" 2>/dev/null'
  ZARNEL_RUN_REGISTERED=1
  setsid "$@" &
  ZARNEL_RUNNING=$!
  local status=0
  wait "$ZARNEL_RUNNING" || status=$?
  ZARNEL_RUNNING=""
  return $status
}

# Prints "phase: N s" for the phase that started at $1 (a value of $SECONDS).
zarnel_phase_done() {
  echo "== $2: $((SECONDS - $1)) s" >&2
}

# Starts a private Xvfb when there is no display, and stops it when the calling script ends.
zarnel_ensure_display() {
  [ -n "${DISPLAY:-}" ] || zarnel_private_display
}

# zarnel_private_display [SCREEN]: starts an Xvfb of our own (SCREEN: WIDTHxHEIGHTxDEPTH, by
# default 1024x768x24), exports its DISPLAY, and stops it when the calling script ends; one that
# does not report its display within 30 s is stopped too.
zarnel_private_display() {
  local fifo number=""
  fifo="$(mktemp -u)"
  zarnel_at_exit "rm -f '$fifo'"
  mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 "${1:-1024x768x24}" -nolisten tcp -noreset 3>"$fifo" >/dev/null 2>&1 &
  ZARNEL_XVFB_PID=$!
  zarnel_at_exit 'kill "$ZARNEL_XVFB_PID" 2>/dev/null'
  read -r -t 30 number <"$fifo" || number=""
  rm -f "$fifo"
  if [ -z "$number" ]; then
    echo "Could not start Xvfb." >&2
    return 1
  fi
  export DISPLAY=":$number"
}

# The date every built file carries: SOURCE_DATE_EPOCH when the caller set it (scripts/release
# sets the commit's), else the date of the checked-out commit, else 1980-01-01, the earliest date
# a zip can hold. Exports it, so that the tools that honour it (CPack, dpkg-deb) take it too.
zarnel_source_date_epoch() {
  if [ -z "${SOURCE_DATE_EPOCH:-}" ]; then
    SOURCE_DATE_EPOCH="$(git -C "$ZARNEL_ROOT" log -1 --format=%ct 2>/dev/null || echo 315532800)"
  fi
  export SOURCE_DATE_EPOCH
}

# zarnel_pack_zip DIR ZIP: zips DIR's contents (paths relative to DIR) into ZIP, the same bytes
# for the same files on any machine: members in byte order, dated SOURCE_DATE_EPOCH in UTC (a zip
# holds local times), files rw-r--r-- and folders rwxr-xr-x whatever the umask, no extra fields.
zarnel_pack_zip() {
  local dir="$1" zip="$2"
  zarnel_source_date_epoch
  rm -f "$zip"
  chmod -R u=rwX,go=rX "$dir"
  find "$dir" -exec touch -h -d "@$SOURCE_DATE_EPOCH" {} +
  (cd "$dir" && find . -mindepth 1 -printf '%P\n' | LC_ALL=C sort | TZ=UTC zip -q -X -@ "$zip")
}
