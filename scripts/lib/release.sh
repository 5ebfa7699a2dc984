# Shared by scripts/release and scripts/test-release (sourced, not run): the steps of a release.
# Needs setup.sh first. A release is built in a copy of the committed tree (never in the working
# folders), by the same scripts a developer runs there, with the commit's date as
# SOURCE_DATE_EPOCH; its files are then gathered, checksummed, signed and put in an apt
# repository.

# git for the committed tree, zip for the site's archive, apt-ftparchive (apt-utils) for the
# repository, gpg for the signatures.
ZARNEL_RELEASE_PACKAGES=(git zip apt-utils gnupg dpkg-dev)
# What --verify adds to show why two builds differ.
ZARNEL_VERIFY_PACKAGES=(diffoscope-minimal)
# The apt repository's one suite and component, and the names the player's system gives our key
# and our source.
ZARNEL_APT_SUITE=stable
ZARNEL_APT_COMPONENT=main
ZARNEL_KEYRING=zarnel-archive-keyring.gpg
# Where the release is published; the player's apt source names its apt/ folder.
ZARNEL_RELEASE_URL="https://zarnel.org/releases"

# The version in the project() line of ROOT/CMakeLists.txt, the one place it is written.
zarnel_project_version() {
  local version
  version="$(sed -n 's/^project(Zarnel VERSION \([0-9][0-9.]*\) .*/\1/p' "$1/CMakeLists.txt")"
  if [ -z "$version" ]; then
    echo "No version in the project() line of $1/CMakeLists.txt." >&2
    return 1
  fi
  echo "$version"
}

# zarnel_release_notes CHANGELOG VERSION: prints VERSION's section of CHANGELOG (its "## VERSION -
# YYYY-MM-DD" heading and what follows up to the next version's); fails, saying so, when there
# is none or it has no date.
zarnel_release_notes() {
  local notes
  notes="$(awk -v v="$2" '
    /^## / { inside = ($2 == v) }
    inside' "$1")"
  if ! [[ "${notes%%$'\n'*}" =~ ^"## $2 - "[0-9]{4}-[0-9]{2}-[0-9]{2}$ ]]; then
    echo "$1 has no section '## $2 - YYYY-MM-DD' for the version CMakeLists.txt names." >&2
    return 1
  fi
  printf '%s\n' "$notes"
}

# zarnel_release_check_versions TREE VERSION: the Debian changelog and the metainfo must name
# VERSION as their newest release too, or the package would tell the player another version.
zarnel_release_check_versions() {
  local tree="$1" version="$2" found
  found="$(sed -n '1s/^zarnel (\([^)]*\)).*/\1/p' "$tree/data/changelog")"
  [ "$found" = "$version" ] ||
    { echo "data/changelog's newest entry is '$found', not $version." >&2; return 1; }
  found="$(sed -n '/<release version="/ { s/.*<release version="\([^"]*\)".*/\1/p; q }' \
    "$tree/data/org.zarnel.Zarnel.metainfo.xml")"
  [ "$found" = "$version" ] ||
    { echo "The metainfo's newest release is '$found', not $version." >&2; return 1; }
}

# Refuses a tree with uncommitted changes (untracked files included) unless $1 allows it.
zarnel_release_check_tree() {
  local changes
  changes="$(git -C "$ZARNEL_ROOT" status --porcelain)"
  [ -z "$changes" ] && return 0
  if [ -n "$1" ]; then
    echo "== WARNING: building a trial release from a tree with uncommitted changes:" >&2
    printf '%s\n' "$changes" | sed 's/^/==   /' >&2
    return 0
  fi
  printf '%s\n' "$changes" >&2
  echo "The tree has uncommitted changes (above): commit them, or try with --allow-dirty." >&2
  exit 1
}

# zarnel_release_snapshot DEST DIRTY: the tree a release is built from, taken once so that every
# build of a run (two with --verify) has the same: HEAD's committed tree (with DIRTY, the working
# tree's tracked and untracked files) copied into DEST, every file dated with HEAD's commit date,
# which becomes SOURCE_DATE_EPOCH, exported.
zarnel_release_snapshot() {
  local dest="$1" commit
  commit="$(git -C "$ZARNEL_ROOT" rev-parse HEAD)"
  SOURCE_DATE_EPOCH="$(git -C "$ZARNEL_ROOT" log -1 --format=%ct "$commit")"
  export SOURCE_DATE_EPOCH
  mkdir -p "$dest"
  if [ -n "$2" ]; then
    (cd "$ZARNEL_ROOT" && git ls-files -z -co --exclude-standard | tar --null -T - -cf -) |
      tar -x -C "$dest"
  else
    git -C "$ZARNEL_ROOT" archive --format=tar "$commit" | tar -x -C "$dest"
  fi
  find "$dest" -exec touch -h -d "@$SOURCE_DATE_EPOCH" {} +
}

# zarnel_release_build SNAPSHOT WORK DEST PARTS FRESH_DEPS: builds PARTS (deb, windows, web) in a
# copy of SNAPSHOT in WORK and writes the release into DEST (emptied first).
zarnel_release_build() {
  local snapshot="$1" work="$2" dest="$3" parts="$4" fresh="$5"
  local src="$work/zarnel"
  mkdir -p "$work"
  cp -a "$snapshot" "$src"
  [ -n "$fresh" ] || zarnel_release_reuse_deps "$src"
  local version
  version="$(zarnel_project_version "$src")"
  rm -rf "$dest"
  mkdir -p "$dest"
  zarnel_release_has "$parts" deb && zarnel_release_deb "$src" "$dest" "$version"
  zarnel_release_has "$parts" windows && zarnel_release_windows "$src" "$dest" "$version"
  zarnel_release_has "$parts" web && zarnel_release_web "$src" "$dest" "$version"
  zarnel_release_notes "$src/CHANGELOG.md" "$version" >"$dest/RELEASE-NOTES.md"
  zarnel_release_key "$dest"
  zarnel_release_has "$parts" deb && zarnel_release_apt "$dest" "$version"
  zarnel_release_sums "$dest"
}

# zarnel_release_has PARTS PART: whether the comma-separated PARTS name PART.
zarnel_release_has() {
  case ",$1," in *",$2,"*) return 0 ;; *) return 1 ;; esac
}

# The dependencies built from Debian's sources, and the node modules of the site's build, copied
# into the build's tree: its scripts rebuild or reinstall them only when their key (source
# versions and recipe, or the lock file) differs from the copy's.
zarnel_release_reuse_deps() {
  local deps
  for deps in build-win32/deps build-web/deps web/closure/node_modules; do
    if [ -f "$ZARNEL_ROOT/$deps/versions.txt" ] || [ -f "$ZARNEL_ROOT/$deps/.package-lock.installed" ]; then
      mkdir -p "$1/$(dirname "$deps")"
      cp -a "$ZARNEL_ROOT/$deps" "$1/$deps"
    fi
  done
}

zarnel_release_deb() {
  "$1/scripts/package" >&2
  cp "$1/build/zarnel_$3_amd64.deb" "$2/"
}

zarnel_release_windows() {
  "$1/scripts/build-windows" >&2
  cp "$1/build-win32/zarnel-win32.zip" "$2/zarnel-$3-win32.zip"
  cp "$1/build-win32/zarnel-$3-setup.exe" "$2/"
}

# The site below one folder named after the release, so that unzipping it makes that folder.
zarnel_release_web() {
  ZARNEL_WEB_NEED_CLOSURE=1 "$1/scripts/build-web" >&2
  local stage="$1/build-web/release"
  rm -rf "$stage"
  mkdir -p "$stage"
  cp -r "$1/build-web/site" "$stage/zarnel-$3-web"
  zarnel_pack_zip "$stage" "$2/zarnel-$3-web.zip"
}

# With ZARNEL_GPG_KEY: our public key, binary, as apt's Signed-By wants it, and the apt source
# that names it. gpg makes every signature with the commit's date as its time.
zarnel_release_key() {
  [ -n "${ZARNEL_GPG_KEY:-}" ] || return 0
  gpg --batch --yes --export "$ZARNEL_GPG_KEY" >"$1/$ZARNEL_KEYRING"
  [ -s "$1/$ZARNEL_KEYRING" ] || { echo "gpg knows no key $ZARNEL_GPG_KEY." >&2; return 1; }
  zarnel_apt_source "$ZARNEL_RELEASE_URL/apt" "/usr/share/keyrings/$ZARNEL_KEYRING" >"$1/zarnel.sources"
}

# zarnel_apt_source URI KEYRING: the one file that adds our repository to a player's apt.
zarnel_apt_source() {
  cat <<SOURCE
Types: deb
URIs: $1
Suites: $ZARNEL_APT_SUITE
Components: $ZARNEL_APT_COMPONENT
Architectures: amd64
Signed-By: $2
SOURCE
}

# zarnel_gpg ARGS...: gpg signing with ZARNEL_GPG_KEY, at the commit's date (the key must be
# older than the commit).
zarnel_gpg() {
  gpg --batch --yes --quiet --local-user "$ZARNEL_GPG_KEY" \
    --faked-system-time "${SOURCE_DATE_EPOCH}!" "$@"
}

# An apt repository in DEST/apt: the .deb in its pool, the package index, and a Release file
# dated at the commit, signed inline (InRelease) and detached (Release.gpg) when a key is given.
zarnel_release_apt() {
  local repo="$1/apt" version="$2"
  local dists="dists/$ZARNEL_APT_SUITE" index="$ZARNEL_APT_COMPONENT/binary-amd64"
  mkdir -p "$repo/pool/$ZARNEL_APT_COMPONENT/z/zarnel" "$repo/$dists/$index"
  cp "$1/zarnel_${version}_amd64.deb" "$repo/pool/$ZARNEL_APT_COMPONENT/z/zarnel/"
  (cd "$repo" && apt-ftparchive packages pool >"$dists/$index/Packages")
  gzip -9 -n -k "$repo/$dists/$index/Packages"
  (cd "$repo/$dists" && apt-ftparchive \
    -o APT::FTPArchive::Release::Origin=Zarnel -o APT::FTPArchive::Release::Label=Zarnel \
    -o APT::FTPArchive::Release::Suite="$ZARNEL_APT_SUITE" \
    -o APT::FTPArchive::Release::Codename="$ZARNEL_APT_SUITE" \
    -o APT::FTPArchive::Release::Architectures=amd64 \
    -o APT::FTPArchive::Release::Components="$ZARNEL_APT_COMPONENT" \
    -o APT::FTPArchive::Release::Description="Zarnel, a 3x3x3 twisty cube puzzle" \
    release . >../Release.new)
  # The index's date is the commit's, not the build's.
  sed "s/^Date: .*/Date: $(date -u -R -d "@$SOURCE_DATE_EPOCH")/" "$repo/$dists/../Release.new" \
    >"$repo/$dists/Release"
  rm "$repo/$dists/../Release.new"
  if [ -n "${ZARNEL_GPG_KEY:-}" ]; then
    zarnel_gpg --clearsign -o "$repo/$dists/InRelease" "$repo/$dists/Release"
    zarnel_gpg --armor --detach-sign -o "$repo/$dists/Release.gpg" "$repo/$dists/Release"
  fi
}

# SHA256SUMS over every file of DEST but the repository (apt checks that itself), and its
# signature when a key is given.
zarnel_release_sums() {
  (cd "$1" && find . -maxdepth 1 -type f ! -name 'SHA256SUMS*' -printf '%P\n' | LC_ALL=C sort |
    xargs sha256sum >SHA256SUMS)
  if [ -n "${ZARNEL_GPG_KEY:-}" ]; then
    zarnel_gpg --armor --detach-sign -o "$1/SHA256SUMS.asc" "$1/SHA256SUMS"
  fi
}

# The release's files: name, size and SHA-256, and what is signed.
zarnel_release_table() {
  local dir="$1" file
  echo "== Release $(basename "$dir") in $dir:"
  printf '%-46s %9s  %s\n' file bytes SHA-256
  (cd "$dir" && find . -type f -printf '%P\n' | LC_ALL=C sort) | while IFS= read -r file; do
    printf '%-46s %9s  %s\n' "$file" "$(stat -c %s "$dir/$file")" "$(sha256sum <"$dir/$file" | cut -d' ' -f1)"
  done
  if [ -f "$dir/SHA256SUMS.asc" ]; then
    echo "SHA256SUMS and the apt repository are signed with OpenPGP key $ZARNEL_GPG_KEY."
  else
    echo "UNSIGNED: no OpenPGP key given (ZARNEL_GPG_KEY): no SHA256SUMS.asc, the apt repository is unsigned."
  fi
  if [ -n "${ZARNEL_SIGN_PFX:-}" ]; then
    echo "The Windows programs are Authenticode-signed with $ZARNEL_SIGN_PFX."
  else
    echo "UNSIGNED: no Authenticode certificate given (ZARNEL_SIGN_PFX): the Windows programs are unsigned."
  fi
}

# zarnel_release_verify SNAPSHOT WORK DEST PARTS DEPS: two builds of SNAPSHOT in two folders of
# WORK, the second a little later, in another time zone, locale and umask; every file must be the
# same bytes in both. DEPS is fresh (each builds its dependencies anew) or reuse. The first
# build goes to DEST.
zarnel_release_verify() {
  local snapshot="$1" work="$2" dest="$3" parts="$4" fresh="" t
  [ "$5" = fresh ] && fresh=1
  zarnel_install "${ZARNEL_VERIFY_PACKAGES[@]}"
  t=$SECONDS
  (export TZ=UTC LC_ALL=C.UTF-8; umask 022
    zarnel_release_build "$snapshot" "$work/one" "$dest" "$parts" "$fresh")
  zarnel_phase_done $t "first build"
  sleep 2
  t=$SECONDS
  (export TZ=Pacific/Chatham LC_ALL=POSIX; umask 077
    zarnel_release_build "$snapshot" "$work/the-second-build" "$work/dist-two" "$parts" "$fresh")
  zarnel_phase_done $t "second build"
  zarnel_release_compare "$dest" "$work/dist-two"
}

# Compares two release folders file by file; fails after showing each difference.
zarnel_release_compare() {
  local one="$1" two="$2" file differ=0
  if ! diff <(cd "$one" && find . -type f | LC_ALL=C sort) <(cd "$two" && find . -type f | LC_ALL=C sort) >&2; then
    echo "== The two builds made different sets of files (above)." >&2
    differ=1
  fi
  while IFS= read -r file; do
    [ -f "$two/$file" ] || continue
    if cmp -s "$one/$file" "$two/$file"; then
      echo "== identical: $file"
    else
      echo "== DIFFERS: $file" >&2
      diffoscope --text - "$one/$file" "$two/$file" | head -200 >&2 || true
      differ=1
    fi
  done < <(cd "$one" && find . -type f -printf '%P\n' | LC_ALL=C sort)
  if [ $differ -ne 0 ]; then
    echo "== The release is NOT reproducible: the files above differ between two builds." >&2
    return 1
  fi
  echo "== Every file is identical, byte for byte, between the two builds."
}
