# Shared by scripts/run, scripts/test and scripts/bench (sourced, not run): installs the Debian
# packages that are missing and configures and builds the project into build/.

ZARNEL_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
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

zarnel_install() {
  local missing=()
  local p
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  # Without a way to root, say exactly what to run.
  if [ "$(id -u)" -ne 0 ] && ! command -v sudo >/dev/null 2>&1; then
    echo "Missing packages. Install them as root with:" >&2
    echo "  apt-get update && apt-get install -y ${missing[*]}" >&2
    exit 1
  fi
  echo "Installing: ${missing[*]}" >&2
  zarnel_apt update -qq && zarnel_apt install -y -qq "${missing[@]}" >&2
}

# zarnel_build [extra cmake options...]: a Release build in $ZARNEL_BUILD (build/ unless the
# caller names another folder).
zarnel_build() {
  cmake -S "$ZARNEL_ROOT" -B "$ZARNEL_BUILD" -DCMAKE_BUILD_TYPE=Release "$@" >/dev/null &&
    cmake --build "$ZARNEL_BUILD" -j "$(nproc)"
}

# Prints "phase: N s" for the phase that started at $1 (a value of $SECONDS).
zarnel_phase_done() {
  echo "== $2: $((SECONDS - $1)) s" >&2
}

# Starts a private Xvfb when there is no display, and stops it when the calling script exits.
zarnel_ensure_display() {
  [ -n "${DISPLAY:-}" ] && return 0
  local fifo
  fifo="$(mktemp -u)"
  mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$fifo" >/dev/null 2>&1 &
  ZARNEL_XVFB_PID=$!
  local number
  read -r -t 30 number <"$fifo" || number=""
  rm -f "$fifo"
  if [ -z "$number" ]; then
    echo "Could not start Xvfb." >&2
    return 1
  fi
  export DISPLAY=":$number"
  trap 'kill "$ZARNEL_XVFB_PID" 2>/dev/null' EXIT
}
