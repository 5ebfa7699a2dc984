#!/bin/sh
# The desktop entry and the metainfo of an installed prefix pass the distribution's validators
# with no error and no warning (AppStream's infos and pedantic notes are allowed).
set -u
prefix="${1:?usage: check-installed-files.sh PREFIX}"
id=org.zarnel.Zarnel
fail=0
out="$(desktop-file-validate "$prefix/share/applications/$id.desktop" 2>&1)"
if [ $? -ne 0 ] || [ -n "$out" ]; then
  echo "desktop-file-validate: $out" >&2
  fail=1
fi
out="$(appstreamcli validate --no-net --no-color "$prefix/share/metainfo/$id.metainfo.xml" 2>&1)"
if [ $? -ne 0 ] || printf '%s\n' "$out" | grep -q '^[EW]:'; then
  echo "appstreamcli: $out" >&2
  fail=1
fi
exit $fail
