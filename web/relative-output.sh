#!/usr/bin/env bash
# relative-output.sh COMMAND...: runs the link COMMAND with the path after -o made relative to the
# working folder (the game's build folder). Emscripten writes that path, changed to .data, into
# zarnel.js as the data package's name, and the Closure Compiler breaks its long lines by length:
# a whole path of the build folder there would make zarnel.js, and the service worker's hash of
# it, differ between builds of the same sources in two folders. Relative, it is the same wherever
# the build folder lies.
set -euo pipefail
args=()
while [ $# -gt 0 ]; do
  if [ "$1" = -o ] && [ $# -gt 1 ]; then
    args+=(-o "$(realpath -m --relative-to=. "$2")")
    shift 2
  else
    args+=("$1")
    shift
  fi
done
exec "${args[@]}"
