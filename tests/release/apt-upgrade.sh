#!/usr/bin/env bash
# apt-upgrade.sh DIST: the apt repository of the release in DIST (signed, as scripts/test-release
# makes it), as a player uses it. Run as root: it installs into this system, and leaves it as it
# found it.
#   - A folder stands for the host: it serves DIST's apt/ first. The player's source is the
#     release's zarnel.sources with only its address and key path made local; apt sees no other.
#   - apt installs zarnel at DIST's version.
#   - The next version is released in a scratch copy of the tree (the version raised in every
#     place a release checks, one line added to the Debian changelog), its repository replaces
#     the first on the host, and apt upgrade brings it: the installed files are the new package's.
#   - apt remove --purge leaves no file of either version behind.
set -euo pipefail
dist="${1:?usage: apt-upgrade.sh DIST}"
source "$(dirname "$0")/../../scripts/lib/setup.sh"
source "$ZARNEL_ROOT/scripts/lib/release.sh"
if dpkg-query -W -f='${Status}' zarnel 2>/dev/null | grep -q "ok installed"; then
  echo "zarnel is installed on this system already: this test would replace it; remove it first." >&2
  exit 1
fi
scratch="$(mktemp -d)"
zarnel_at_exit "dpkg --purge zarnel >/dev/null 2>&1; rm -rf '$scratch'"
# apt's download user must read the host's folder.
chmod 755 "$scratch"
version="$(zarnel_project_version "$ZARNEL_ROOT")"
failed=0
problem() {
  echo "FAILED: $*" >&2
  failed=1
}

# The player's source, the only one apt reads here; lists and downloads in the scratch folder.
mkdir -p "$scratch/host" "$scratch/sources" "$scratch/lists/partial" "$scratch/archives/partial"
cp "$dist/$ZARNEL_KEYRING" "$scratch/"
sed -e "s|^URIs: .*|URIs: file:$scratch/host/apt|" -e "s|^Signed-By: .*|Signed-By: $scratch/$ZARNEL_KEYRING|" \
  "$dist/zarnel.sources" >"$scratch/sources/zarnel.sources"
apt_player() {
  DEBIAN_FRONTEND=noninteractive apt-get -q -o Dir::Etc::SourceList=/dev/null \
    -o Dir::Etc::SourceParts="$scratch/sources" -o Dir::State::Lists="$scratch/lists" \
    -o Dir::Cache::Archives="$scratch/archives" "$@"
}

installed_version() {
  dpkg-query -W -f='${Version}' zarnel 2>/dev/null || true
}

# The next version: a copy of the tree committed as it is, then raised and released again.
release_next() {
  local tree="$scratch/next-tree" next="$1" today
  today="$(date -u +%Y-%m-%d)"
  zarnel_release_snapshot "$tree" with-uncommitted-changes
  sed -i "s/^project(Zarnel VERSION $version /project(Zarnel VERSION $next /" "$tree/CMakeLists.txt"
  sed -i "0,/^## /s//## $next - $today\n\n- The next version.\n\n## /" "$tree/CHANGELOG.md"
  sed -i "s|<releases>|<releases>\n    <release version=\"$next\" date=\"$today\"/>|" \
    "$tree/data/org.zarnel.Zarnel.metainfo.xml"
  printf 'zarnel (%s) unstable; urgency=medium\n\n  * The next version.\n\n -- %s  %s\n\n' \
    "$next" "The Zarnel developers <developers@zarnel.org>" "$(date -u -R)" | cat - "$tree/data/changelog" >"$scratch/changelog"
  mv "$scratch/changelog" "$tree/data/changelog"
  git -C "$tree" init -q
  git -C "$tree" add -A
  git -C "$tree" -c user.name=test -c user.email=test@zarnel.invalid commit -q -m "Release $next"
  "$tree/scripts/release" --only deb --out "$scratch/next" >&2
}

cp -r "$dist/apt" "$scratch/host/apt"
apt_player update -qq
apt_player install -y -qq zarnel >/dev/null
[ "$(installed_version)" = "$version" ] || problem "apt installed '$(installed_version)', not $version"
dpkg -L zarnel | sort >"$scratch/first.list"

next="${version%.*}.$((${version##*.} + 1))"
release_next "$next"
rm -rf "$scratch/host/apt"
cp -r "$scratch/next/$next/apt" "$scratch/host/apt"
apt_player update -qq
apt_player upgrade -y -qq >/dev/null
[ "$(installed_version)" = "$next" ] || problem "apt upgrade left '$(installed_version)', not $next"
dpkg-deb -x "$scratch/next/$next/zarnel_${next}_amd64.deb" "$scratch/next-files"
while IFS= read -r file; do
  cmp -s "$scratch/next-files/$file" "/$file" || problem "the installed /$file is not the new version's"
done < <(cd "$scratch/next-files" && find . -type f -printf '%P\n')
dpkg -L zarnel | sort >"$scratch/next.list"

apt_player remove --purge -y -qq zarnel >/dev/null
[ -z "$(installed_version)" ] || problem "zarnel is still installed after apt remove --purge"
# Files of either version, and the folders only the game has.
while IFS= read -r path; do
  [ -d "$path" ] && continue
  [ -e "$path" ] && problem "$path is left after the purge"
done < <(sort -u "$scratch/first.list" "$scratch/next.list")
for dir in /usr/lib/games/zarnel /usr/share/games/zarnel /usr/share/doc/zarnel; do
  [ -e "$dir" ] && problem "$dir is left after the purge"
done
[ "$failed" -eq 0 ] && echo "apt repository: install of $version, upgrade to $next and purge passed"
exit "$failed"
