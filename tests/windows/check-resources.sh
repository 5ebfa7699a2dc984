#!/usr/bin/env bash
# The resources of the player's zarnel.exe and of the setup program, read back with wrestool: the
# icon at 16 to 256 pixels, the version strings (and the Translation that names them) and the manifest (the game's own: no elevation,
# Windows 7 to 11, scaled by Windows, UTF-8 narrow strings; the setup program's: no elevation).
# Also the window-icon file beside the exe, whose first image the engine takes for the window.
# Needs no Wine. Reads the unpacked zip's folder from ZARNEL_WIN32_FOLDER and the setup program
# from ZARNEL_WIN32_SETUP.
set -euo pipefail
folder="${ZARNEL_WIN32_FOLDER:?run through scripts/test-windows}"
setup="${ZARNEL_WIN32_SETUP:?run through scripts/test-windows}"
scratch="$(mktemp -d)"
# A signal ends the script through exit, so that the EXIT trap removes the scratch folder too.
trap 'rm -rf "$scratch"' EXIT
trap 'exit 129' HUP
trap 'exit 130' INT
trap 'exit 143' TERM
fail=0

problem() {
  echo "$*" >&2
  fail=1
}

# The sizes of an icon file's images, in the file's order, as "16x16 32x32 ...".
icon_sizes() {
  { icotool -l "$1" 2>/dev/null || true; } | sed -n 's/.*--width=\([0-9]*\) --height=\([0-9]*\).*/\1x\2/p' | tr '\n' ' '
}

# check_exe EXE ORIGINAL_NAME DESCRIPTION: the icon and the version strings of one program.
check_exe() {
  local exe="$1" name
  name="$(basename "$exe")"
  wrestool -x -t14 "$exe" >"$scratch/icon.ico" 2>/dev/null || problem "$name: no icon"
  local sizes
  sizes="$(icon_sizes "$scratch/icon.ico" | tr ' ' '\n' | LC_ALL=C sort -n | tr '\n' ' ')"
  [ "$sizes" = "16x16 32x32 48x48 64x64 128x128 256x256 " ] || problem "$name: icon sizes $sizes"
  # The string table, one UTF-16 string a line: each name is followed by its value.
  local strings expected
  strings="$(wrestool -x --raw -t16 "$exe" 2>/dev/null | strings -el)"
  for expected in "ProductName=Zarnel" "CompanyName=The Zarnel developers" "FileDescription=$3" \
    "LegalCopyright=Copyright (c) 2026 The Zarnel developers, MIT License" "OriginalFilename=$2" \
    "FileVersion=1.0.0" "ProductVersion=1.0.0"; do
    printf '%s\n' "$strings" | grep -A1 -xF "${expected%%=*}" | tail -n +2 | grep -qxF "${expected#*=}" ||
      problem "$name: version string ${expected%%=*} is not '${expected#*=}'"
  done
  # Explorer shows the string block that the Translation value names (language, code page): the
  # block's name must be that value, read as two little-endian words after Translation's UTF-16 name.
  local block hex
  block="$(printf '%s\n' "$strings" | grep -m1 -xE '[0-9A-Fa-f]{8}' || true)"
  hex="$(wrestool -x --raw -t16 "$exe" 2>/dev/null | od -An -tx1 -v | tr -d ' \n')"
  block="${block,,}"
  grep -qE "5400720061006e0073006c006100740069006f006e00(0000)*${block:2:2}${block:0:2}${block:6:2}${block:4:2}" \
    <<<"$hex" && [ -n "$block" ] || problem "$name: the Translation value does not name the string block '$block'"
  wrestool -x --raw -t24 "$exe" >"$scratch/manifest.xml" 2>/dev/null || problem "$name: no manifest"
  grep -q 'requestedExecutionLevel level="asInvoker"' "$scratch/manifest.xml" ||
    problem "$name: the manifest does not run it as the invoking user"
}

check_exe "$folder/zarnel.exe" zarnel.exe "Zarnel, a 3x3x3 twisty cube puzzle"
manifest="$(tr -d '\n' <"$scratch/manifest.xml")"
for expected in '{35138b9a-5d96-4fbd-8e2d-a2440225f93a}' '{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}' \
  '{1f676c76-80e1-4239-95bb-83d0f6d0da78}' '{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}'; do
  grep -qF "<supportedOS Id=\"$expected\"/>" <<<"$manifest" || problem "zarnel.exe: supportedOS $expected missing"
done
grep -qE '<dpiAware[^>]*>false</dpiAware>' <<<"$manifest" || problem "zarnel.exe: not declared DPI-unaware"
grep -qE '<activeCodePage[^>]*>UTF-8</activeCodePage>' <<<"$manifest" || problem "zarnel.exe: no UTF-8 code page"

check_exe "$setup" zarnel-1.0.0-setup.exe "Zarnel setup"

sizes="$(icon_sizes "$folder/irrlicht.ico" 2>/dev/null || true)"
[ "${sizes%% *}" = 32x32 ] || problem "irrlicht.ico beside the exe: its first image should be 32x32; it holds '$sizes'"
exit $fail
