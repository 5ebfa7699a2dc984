#!/usr/bin/env bash
# check-signatures.sh DIST CERT: the release in DIST, signed with the OpenPGP key ZARNEL_GPG_KEY
# (in GNUPGHOME) and the code-signing certificate CERT (ZARNEL_SIGN_PFX), as scripts/test-release
# makes it. Each check must pass on the release as made and fail once a byte is changed:
#   SHA256SUMS against every file; SHA256SUMS.asc against SHA256SUMS; the apt InRelease against
#   the key the release ships; Authenticode on the setup program and on the zip's zarnel.exe.
set -euo pipefail
dist="${1:?usage: check-signatures.sh DIST CERT}"
cert="${2:?usage: check-signatures.sh DIST CERT}"
source "$(dirname "$0")/../../scripts/lib/setup.sh"
source "$ZARNEL_ROOT/scripts/lib/release.sh"
scratch="$(mktemp -d)"
zarnel_at_exit "rm -rf '$scratch'"
passed=0 failed=0

# expect good|bad WHAT COMMAND...: the command must succeed (good) or fail (bad).
expect() {
  local want="$1" what="$2" got=good
  shift 2
  "$@" >"$scratch/log" 2>&1 || got=bad
  if [ "$got" = "$want" ]; then
    passed=$((passed + 1))
  else
    echo "FAILED: $what: expected $want, got $got:" >&2
    cat "$scratch/log" >&2
    failed=$((failed + 1))
  fi
}

# Changes the byte in the middle of FILE.
change_a_byte() {
  python3 - "$1" <<'PY'
import os, sys
with open(sys.argv[1], "r+b") as f:
    f.seek(os.path.getsize(sys.argv[1]) // 2)
    b = f.read(1)
    f.seek(-1, os.SEEK_CUR)
    f.write(bytes([b[0] ^ 0x01]))
PY
}

version="$(zarnel_project_version "$ZARNEL_ROOT")"
setup="zarnel-$version-setup.exe"
for file in "zarnel_${version}_amd64.deb" "zarnel-$version-win32.zip" "$setup" \
  "zarnel-$version-web.zip" RELEASE-NOTES.md "$ZARNEL_KEYRING" zarnel.sources; do
  grep -q "  $file\$" "$dist/SHA256SUMS" || { echo "FAILED: SHA256SUMS lists no $file" >&2; failed=$((failed + 1)); }
done
unzip -q -d "$scratch" "$dist/zarnel-$version-win32.zip" zarnel/zarnel.exe
inrelease="$dist/apt/dists/$ZARNEL_APT_SUITE/InRelease"

check_all() {
  local want="$1" in="$2"
  expect "$want" "sha256sum -c SHA256SUMS" sh -c "cd '$in' && sha256sum --quiet -c SHA256SUMS"
  expect "$want" "gpg --verify SHA256SUMS.asc" gpg --batch --verify "$in/SHA256SUMS.asc" "$in/SHA256SUMS"
  expect "$want" "the apt InRelease against the shipped key" \
    gpgv --keyring "$dist/$ZARNEL_KEYRING" "$in/InRelease"
  expect "$want" "osslsigncode verify $setup" osslsigncode verify -CAfile "$cert" -in "$in/$setup"
  expect "$want" "osslsigncode verify zarnel.exe" osslsigncode verify -CAfile "$cert" -in "$in/zarnel.exe"
}

# As made.
mkdir "$scratch/good" "$scratch/bad"
find "$dist" -maxdepth 1 -type f -exec cp -t "$scratch/good" {} +
cp "$inrelease" "$scratch/zarnel/zarnel.exe" "$scratch/good/"
check_all good "$scratch/good"
# One byte changed in each signed file: the .deb, SHA256SUMS (its signature kept), InRelease and
# the two programs.
cp "$scratch/good"/* "$scratch/bad/"
for file in "zarnel_${version}_amd64.deb" SHA256SUMS InRelease "$setup" zarnel.exe; do
  change_a_byte "$scratch/bad/$file"
done
check_all bad "$scratch/bad"

echo "release signatures: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
