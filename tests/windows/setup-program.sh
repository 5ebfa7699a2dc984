#!/usr/bin/env bash
# The setup program under Wine, in the prefix that scripts/test-windows prepares for these tests
# alone (ZARNEL_WIN32_SETUP_SCRATCH holds it as prefix/, its home as home/, and what this script
# remembers between its steps as state/).
#   setup.sh install    records the prefix, then installs silently twice, the second time over a
#                       damaged first install; after each, the files, both shortcuts and the
#                       uninstall entry must be in place
#   setup.sh uninstall  leaves a file of the player's in the install folder, uninstalls silently
#                       and waits for the real end (and for the start of Windows that deletes the
#                       uninstaller's temporary copy): only the player's file and its folder may
#                       stay, and without them the prefix's files must be those recorded before
#                       the install, its registry keys no more, and none may name the game
set -euo pipefail
scratch="${ZARNEL_WIN32_SETUP_SCRATCH:?run through scripts/test-windows}"
setup="${ZARNEL_WIN32_SETUP:?run through scripts/test-windows}"
zip_folder="${ZARNEL_WIN32_FOLDER:?run through scripts/test-windows}"
export WINEPREFIX="$scratch/prefix" HOME="$scratch/home"
state="$scratch/state"
user="$WINEPREFIX/drive_c/users/$(id -un)"
# Where a per-user install goes by default, as Windows and Unix name it.
install_win="C:\\users\\$(id -un)\\AppData\\Local\\Programs\\Zarnel"
install_unix="$user/AppData/Local/Programs/Zarnel"
start_menu_link="$user/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Zarnel.lnk"
desktop_link="$user/Desktop/Zarnel.lnk"
key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Zarnel'
fail=0

problem() {
  echo "$*" >&2
  fail=1
}

# Every file and folder of the prefix's drive and of the home, and every registry key.
record() {
  find "$WINEPREFIX/drive_c" "$HOME" -mindepth 1 -printf '%p\n' | LC_ALL=C sort >"$1.files"
  cat "$WINEPREFIX"/*.reg | sed -n 's/^\(\[[^]]*\]\).*/\1/p' | LC_ALL=C sort -u >"$1.keys"
}

# Wine writes the registry to its files when the prefix's server ends.
settle() {
  timeout 120 wineserver -w
}

# lnkinfo's line for field, with the CR and the padding taken off.
link_field() {
  lnkinfo "$1" | tr -d '\r' | sed -n "s/^[[:space:]]*$2[[:space:]]*: //p"
}

check_installed() {
  local round="$1" link name type value expected
  local files
  files="$( (cd "$install_unix" && find . -type f | LC_ALL=C sort) 2>&1)"
  if [ "$files" != "$( (cd "$zip_folder" && find . -type f; echo ./uninstall.exe) | LC_ALL=C sort)" ]; then
    problem "install $round: the install folder holds other files than the zip's and uninstall.exe: $files"
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
  # or take the rounding of each file.
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

case "${1:-}" in
  install)
    rm -rf "$state"
    mkdir -p "$state"
    settle
    record "$state/before"
    for round in 1 2; do
      if [ "$round" = 2 ]; then
        # Damage the first install: the second must put every file back in place.
        echo damaged >"$install_unix/zarnel.exe"
        rm "$install_unix/media/fc3.png"
      fi
      wine "$setup" /S || problem "install $round: the setup program ended with status $?"
      settle
      check_installed "$round"
    done
    ;;
  uninstall)
    echo "the player's own notes" >"$install_unix/notes.txt"
    # The uninstaller copies itself to %TEMP% and returns at once; the copy does the work.
    wine "$install_unix/uninstall.exe" /S || problem "the uninstaller ended with status $?"
    settle
    # The copy cannot delete itself: it leaves that to the next start of Windows.
    wineboot -r >/dev/null 2>&1
    settle
    if [ "$( (cd "$install_unix" && find . | LC_ALL=C sort) 2>&1)" != "$(printf '.\n./notes.txt')" ]; then
      problem "the install folder should hold the player's notes alone: $(cd "$install_unix" && find . 2>&1)"
    fi
    # The uninstaller leaves %LOCALAPPDATA%\Programs only while it is not empty, as it was not
    # for the notes.
    rm -rf "$install_unix"
    rmdir --ignore-fail-on-non-empty "$(dirname "$install_unix")"
    record "$state/after"
    if ! diff "$state/before.files" "$state/after.files" >"$state/files.diff"; then
      problem "files left behind (>) or removed (<): $(cat "$state/files.diff")"
    fi
    left="$(LC_ALL=C comm -13 "$state/before.keys" "$state/after.keys")"
    [ -z "$left" ] || problem "registry keys left behind: $left"
    left="$(grep -il zarnel "$WINEPREFIX"/*.reg || true)"
    [ -z "$left" ] || problem "the registry still names the game in: $left"
    ;;
  *)
    echo "usage: $0 install|uninstall" >&2
    exit 2
    ;;
esac
exit $fail
