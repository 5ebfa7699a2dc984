#!/usr/bin/env bash
# The setup program under Wine, in the prefix that scripts/test-windows prepares for these tests
# alone (ZARNEL_WIN32_SETUP_SCRATCH holds it as prefix/, its home as home/, and what this script
# remembers between its steps as state/).
#   setup.sh install    records the prefix, which must hold neither %LOCALAPPDATA%\Programs nor
#                       the current user's Uninstall key; installs an older version (made here
#                       from this one's lists: 0.9.0, with one more file in a folder of its own),
#                       upgrades it silently, then installs again over a damaged install; after
#                       each of the last two, exactly the new files, both shortcuts and the
#                       uninstall entry must be in place
#   setup.sh uninstall  uninstalls silently and waits for the real end (and for the start of
#                       Windows that deletes the uninstaller's temporary copy): the prefix's files
#                       and registry keys must be those recorded before the install, none naming
#                       the game. Then, with an empty Programs folder and Uninstall key made
#                       beforehand, an install and uninstall must leave both; and a file of the
#                       player's in the install folder must stay, alone with its folder
set -euo pipefail
scratch="${ZARNEL_WIN32_SETUP_SCRATCH:?run through scripts/test-windows}"
setup="${ZARNEL_WIN32_SETUP:?run through scripts/test-windows}"
zip_folder="${ZARNEL_WIN32_FOLDER:?run through scripts/test-windows}"
# The build folder: the setup program's lists (setup/) and version header (game/version.nsh).
win32="${ZARNEL_WIN32:?run through scripts/test-windows}"
# What the setup programs are built for: the shipped one's, or 64-bit Windows where only 64-bit
# Wine runs (see scripts/test-windows).
target="${ZARNEL_WIN32_SETUP_TARGET:-x86-unicode}"
export WINEPREFIX="$scratch/prefix" HOME="$scratch/home"
state="$scratch/state"
user="$WINEPREFIX/drive_c/users/$(id -un)"
# Where a per-user install goes by default, as Windows and Unix name it.
install_win="C:\\users\\$(id -un)\\AppData\\Local\\Programs\\Zarnel"
install_unix="$user/AppData/Local/Programs/Zarnel"
programs_win="C:\\users\\$(id -un)\\AppData\\Local\\Programs"
programs_unix="$user/AppData/Local/Programs"
start_menu_link="$user/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Zarnel.lnk"
desktop_link="$user/Desktop/Zarnel.lnk"
uninstalls_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall'
key="$uninstalls_key\\Zarnel"
fail=0

problem() {
  echo "$*" >&2
  fail=1
}

# Every file and folder of the prefix's drive and of the home, and every registry key, after the
# name of its file: the current user's keys (user.reg) and the machine's (system.reg) have the
# same names below Software.
record() {
  local reg
  find "$WINEPREFIX/drive_c" "$HOME" -mindepth 1 -printf '%p\n' | LC_ALL=C sort >"$1.files"
  for reg in "$WINEPREFIX"/*.reg; do
    awk -v file="${reg##*/}" 'match($0, /^\[[^]]*\]/) { print file " " substr($0, 1, RLENGTH) }' "$reg"
  done | LC_ALL=C sort -u >"$1.keys"
}

# Wine writes the registry to its files when the prefix's server ends.
settle() {
  timeout 120 wineserver -w
}

# lnkinfo's line for field, with the CR and the padding taken off.
link_field() {
  lnkinfo "$1" | tr -d '\r' | sed -n "s/^[[:space:]]*$2[[:space:]]*: //p"
}

# The install folder's files and folders must be the zip's, with uninstall.exe beside them.
check_installed() {
  local round="$1" link file
  local found expected
  found="$( (cd "$install_unix" && find . | LC_ALL=C sort) 2>&1)"
  expected="$( (cd "$zip_folder" && find .; echo ./uninstall.exe) | LC_ALL=C sort)"
  if [ "$found" != "$expected" ]; then
    problem "install $round: the install folder differs from the zip's with uninstall.exe (< missing, > extra):
$(diff <(echo "$expected") <(echo "$found") | grep '^[<>]')"
  fi
  while IFS= read -r file; do
    cmp -s "$zip_folder/$file" "$install_unix/$file" || problem "install $round: $file differs from the zip's"
  done < <(cd "$zip_folder" && find . -type f)
  for link in "$start_menu_link" "$desktop_link"; do
    if [ ! -f "$link" ]; then
      problem "install $round: no shortcut $link"
      continue
    fi
    [ "$(link_field "$link" 'Local path')" = "$install_win\\zarnel.exe" ] ||
      problem "install $round: $link starts '$(link_field "$link" 'Local path')'"
    [ "$(link_field "$link" 'Working directory')" = "$install_win" ] ||
      problem "install $round: $link works in '$(link_field "$link" 'Working directory')'"
  done
  # Every value of the uninstall entry; the estimated size is the installed files' in KiB, give
  # or take the rounding of each file. The first install found neither the Programs folder nor
  # the Uninstall key, so the setup made both, and every later install carries that over.
  local kib count
  kib=$(find "$install_unix" -type f -printf '%s\n' | awk '{ n += $1 } END { print int(n / 1024) }')
  count=$(find "$install_unix" -type f | wc -l)
  local expected_values="DisplayIcon REG_SZ $install_win\\zarnel.exe,0
DisplayName REG_SZ Zarnel
DisplayVersion REG_SZ 1.0.0
EstimatedSize REG_DWORD
InstallLocation REG_SZ $install_win
NoModify REG_DWORD 0x1
NoRepair REG_DWORD 0x1
Publisher REG_SZ The Zarnel developers
QuietUninstallString REG_SZ \"$install_win\\uninstall.exe\" /S
SetupMadeFolder REG_SZ $programs_win
SetupMadeUninstallKey REG_DWORD 0x1
UninstallString REG_SZ \"$install_win\\uninstall.exe\""
  local values
  values="$(wine reg query "$key" 2>&1 | tr -d '\r' | sed -n 's/^    \([^ ]*\)    \([^ ]*\)    \(.*\)$/\1 \2 \3/p')"
  local estimated
  estimated="$(printf '%s\n' "$values" | sed -n 's/^EstimatedSize REG_DWORD //p')"
  if [ -z "$estimated" ] || [ $((estimated)) -lt $((kib - count)) ] || [ $((estimated)) -gt $((kib + count)) ]; then
    problem "install $round: EstimatedSize is '$estimated', the files take $kib KiB"
  fi
  if [ "$(printf '%s\n' "$values" | sed 's/^\(EstimatedSize REG_DWORD\) .*/\1/')" != "$expected_values" ]; then
    problem "install $round: the uninstall entry differs (- expected, + found):
$(diff <(echo "$expected_values") <(printf '%s\n' "$values" | sed 's/^\(EstimatedSize REG_DWORD\) .*/\1/') || true)"
  fi
}

# An older version's setup program, in the build folder: this version's lists with one more
# file, in a folder of its own, which this version no longer has; version 0.9.0.
older="$win32/older-setup"
make_older_setup() {
  rm -rf "$older"
  mkdir -p "$older/lists"
  cp "$win32/setup/install.nsh" "$win32/setup/uninstall.nsh" "$older/lists/"
  echo "a file that version 1.0.0 no longer has" >"$older/retired.txt"
  printf 'SetOutPath "$INSTDIR\\retired"\nFile "%s"\n' "$older/retired.txt" >>"$older/lists/install.nsh"
  printf 'Delete "$INSTDIR\\retired\\retired.txt"\nRMDir "$INSTDIR\\retired"\n' >>"$older/lists/uninstall.nsh"
  sed -e 's/^!define VERSION ".*"$/!define VERSION "0.9.0"/' \
    -e 's/^!define VERSION_QUAD ".*"$/!define VERSION_QUAD "0.9.0.0"/' \
    "$win32/game/version.nsh" >"$older/version.nsh"
  makensis -V2 -X"Target $target" -DGENERATED="$older" -DLISTS="$older/lists" -DOUTFILE="$older/zarnel-0.9.0-setup.exe" \
    "$(dirname "$0")/../../windows/zarnel.nsi" >&2
}

install_silently() {
  wine "$1" /S || problem "install $2: the setup program ended with status $?"
  settle
}

# The uninstaller copies itself to %TEMP% and returns at once; the copy does the work, and
# cannot delete itself: it leaves that to the next start of Windows.
uninstall_silently() {
  wine "$install_unix/uninstall.exe" /S || problem "uninstall $1: the uninstaller ended with status $?"
  settle
  wineboot -r >/dev/null 2>&1
  settle
}

# The prefix's files and registry keys must be those recorded in $2, none naming the game.
check_as_before() {
  local round="$1" before="$2" left
  record "$state/after"
  if ! diff "$before.files" "$state/after.files" >"$state/files.diff"; then
    problem "uninstall $round: files left behind (>) or removed (<): $(cat "$state/files.diff")"
  fi
  left="$(LC_ALL=C comm -13 "$before.keys" "$state/after.keys")"
  [ -z "$left" ] || problem "uninstall $round: registry keys left behind: $left"
  # Wine's restart renews some of the machine's keys; the setup touches the current user's alone.
  left="$(LC_ALL=C comm -23 "$before.keys" "$state/after.keys" | grep '^user\.reg ' || true)"
  [ -z "$left" ] || problem "uninstall $round: the current user's registry keys removed: $left"
  left="$(grep -il zarnel "$WINEPREFIX"/*.reg || true)"
  [ -z "$left" ] || problem "uninstall $round: the registry still names the game in: $left"
}

case "${1:-}" in
  install)
    rm -rf "$state"
    mkdir -p "$state"
    settle
    record "$state/before"
    # The uninstall's first check needs a prefix without them.
    if [ -e "$programs_unix" ] ||
      grep -qxF 'user.reg [Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall]' "$state/before.keys"; then
      problem "the fresh prefix already has $programs_unix or $uninstalls_key"
    fi
    make_older_setup
    install_silently "$older/zarnel-0.9.0-setup.exe" "0.9.0"
    # Without it, the upgrade's check below would prove nothing.
    [ -f "$install_unix/retired/retired.txt" ] || problem "install 0.9.0: no retired\\retired.txt"
    for round in upgrade again; do
      if [ "$round" = again ]; then
        # Damage the install: the next must put every file back in place.
        echo damaged >"$install_unix/zarnel.exe"
        rm "$install_unix/media/fc3.png"
      fi
      install_silently "$setup" "$round"
      check_installed "$round"
    done
    ;;
  uninstall)
    uninstall_silently "of the upgraded install"
    check_as_before "of the upgraded install" "$state/before"
    # Folders and keys that were there, even empty, are not the setup's to remove.
    mkdir -p "$programs_unix"
    # reg add gives a new key an empty default value: without it, the key is empty.
    wine reg add "$uninstalls_key" /f >/dev/null
    wine reg delete "$uninstalls_key" /ve /f >/dev/null
    settle
    awk -v key='[Software\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\Uninstall]' '
      index($0, key) == 1 { seen = 1; in_key = 1; next }
      /^$/ { in_key = 0 }
      in_key && /^[@"]/ { valued = 1 }
      END { exit !(seen && !valued) }' "$WINEPREFIX/user.reg" ||
      problem "the current user's Uninstall key made for this check is missing or not empty"
    record "$state/shared"
    install_silently "$setup" "over an empty Programs folder and Uninstall key"
    uninstall_silently "over an empty Programs folder and Uninstall key"
    check_as_before "over an empty Programs folder and Uninstall key" "$state/shared"
    # The player's own file stays, and the install folder with it.
    install_silently "$setup" "for the player's notes"
    echo "the player's own notes" >"$install_unix/notes.txt"
    uninstall_silently "with the player's notes"
    if [ "$( (cd "$install_unix" && find . | LC_ALL=C sort) 2>&1)" != "$(printf '.\n./notes.txt')" ]; then
      problem "uninstall with the player's notes: the install folder should hold them alone: $(cd "$install_unix" && find . 2>&1)"
    fi
    rm -rf "$install_unix"
    check_as_before "with the player's notes" "$state/shared"
    ;;
  *)
    echo "usage: $0 install|uninstall" >&2
    exit 2
    ;;
esac
exit $fail
