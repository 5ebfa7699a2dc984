#!/bin/sh
# Builds the .deb from a configured build folder into a scratch folder, unpacks it and checks
# its files: exactly the Debian games layout (no build paths, no tests), everything readable,
# the launcher and the program executable; then lintian must report no error and no warning.
set -u
build="${1:?usage: check-package.sh BUILD_FOLDER SOURCE_FOLDER}"
source="${2:?usage: check-package.sh BUILD_FOLDER SOURCE_FOLDER}"
scratch="$(mktemp -d)"
# A signal ends the script through exit, so that the EXIT trap removes the scratch folder too.
trap 'rm -rf "$scratch"' EXIT
trap 'exit 129' HUP
trap 'exit 130' INT
trap 'exit 143' TERM
(cd "$build" && cpack -G DEB -B "$scratch/out" >/dev/null) || { echo "cpack failed" >&2; exit 1; }
deb="$(ls "$scratch"/out/zarnel_*.deb)"
dpkg-deb -x "$deb" "$scratch/root" || exit 1
fail=0

id=org.zarnel.Zarnel
{
  echo usr/games/zarnel
  echo usr/lib/games/zarnel/zarnel
  echo usr/share/applications/$id.desktop
  echo usr/share/doc/zarnel/changelog.gz
  echo usr/share/doc/zarnel/copyright
  (cd "$source" && find media -type f) | sed 's|^|usr/share/games/zarnel/|'
  for size in 48 64 128 256; do echo usr/share/icons/hicolor/${size}x$size/apps/$id.png; done
  echo usr/share/man/man6/zarnel.6.gz
  echo usr/share/metainfo/$id.metainfo.xml
} | LC_ALL=C sort >"$scratch/expected"
(cd "$scratch/root" && find . -type f -o -type l | sed 's|^\./||' | LC_ALL=C sort) >"$scratch/found"
if ! diff -u "$scratch/expected" "$scratch/found" >&2; then
  echo "the package's files differ from the layout (- expected, + found)" >&2
  fail=1
fi
unreadable="$(find "$scratch/root" ! -perm -0444)"
if [ -n "$unreadable" ]; then
  echo "not readable by everyone: $unreadable" >&2
  fail=1
fi
for program in usr/games/zarnel usr/lib/games/zarnel/zarnel; do
  [ -x "$scratch/root/$program" ] || { echo "$program is not executable" >&2; fail=1; }
done

tags="$(lintian --tag-display-limit 0 "$deb" 2>/dev/null | grep -E '^[EW]:')"
if [ -n "$tags" ]; then
  echo "lintian: $tags" >&2
  fail=1
fi
exit $fail
