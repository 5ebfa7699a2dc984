#!/bin/sh
# The player's zarnel.exe is a 32-bit windowed program that imports only Windows' own DLLs: no
# console, and no MinGW runtime (libgcc, libstdc++, winpthread) that a player would lack.
# Reads the unpacked zip's folder from ZARNEL_WIN32_FOLDER, as the Wine tests do.
set -eu
exe="${ZARNEL_WIN32_FOLDER:?run through scripts/test-windows}/zarnel.exe"
headers="$(i686-w64-mingw32-objdump -p "$exe")"
fail=0
expect() {
  if ! printf '%s\n' "$headers" | grep -Eq "$1"; then
    echo "zarnel.exe: expected $2" >&2
    fail=1
  fi
}
expect 'file format pei-i386' 'an i386 PE image'
expect '^Magic[[:space:]]+010b' 'PE32 (not PE32+)'
expect '^Subsystem[[:space:]]+0+2[[:space:]]' 'the Windows GUI subsystem'
dlls="$(printf '%s\n' "$headers" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr a-z A-Z | sort | tr '\n' ' ')"
allowed="ADVAPI32.DLL GDI32.DLL KERNEL32.DLL MSVCRT.DLL OPENGL32.DLL USER32.DLL "
if [ "$dlls" != "$allowed" ]; then
  echo "zarnel.exe imports: $dlls" >&2
  echo "expected exactly:   $allowed" >&2
  fail=1
fi
exit $fail
