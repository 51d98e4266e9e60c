#!/usr/bin/env bash
# Installs the Windows installer silently under Wine, checks the files, the
# Start-menu shortcut and the uninstall entry, starts the installed program,
# uninstalls, and checks that nothing is left. Needs WINEPREFIX (a prefix of
# the build folder's own, made by scripts/wine-prefix.sh) and a display.
#   scripts/check-windows-installer.sh build-windows/linterp-1.0.0-win64.exe
set -euo pipefail
installer=$(realpath "${1:?usage: $0 INSTALLER}")
: "${WINEPREFIX:?set WINEPREFIX to the Wine prefix of the build folder}"
here=$(dirname "$0")
run() { "$here/wine-run.sh" "$@"; }
wineserver=$(command -v wineserver || echo /usr/lib/wine/wineserver)
settle() { "$wineserver" -w; } # every Wine process of the prefix has ended

dir="$WINEPREFIX/drive_c/Program Files/linterp"
shortcut="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/线性差值.lnk"
key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\linterp'
fail() { echo "check-windows-installer: $*" >&2; exit 1; }

run "$installer" /S
settle
[[ -f "$dir/linterp.exe" ]] || fail "linterp.exe was not installed in $dir"
[[ -f "$dir/uninstall.exe" ]] || fail "no uninstaller in $dir"
[[ -f "$shortcut" ]] || fail "no Start-menu shortcut 线性差值"
# The console would print the name as question marks: read Wine's registry
# file, where it stands as \x escapes.
grep -qa '^"DisplayName"="\\x7ebf\\x6027\\x5dee\\x503c"' "$WINEPREFIX/system.reg" \
    || fail "no uninstall entry named 线性差值"
echo "installed: $dir, shortcut and uninstall entry"

# The installed program starts and keeps running until it is told to stop.
run "$dir/linterp.exe" &
program=$!
sleep 3
kill -0 "$program" 2>/dev/null || fail "the installed program did not keep running"
run taskkill /IM linterp.exe >/dev/null 2>&1 || true
sleep 1
kill "$program" 2>/dev/null || true
wait "$program" 2>/dev/null || true
settle
echo "started the installed program"

run "$dir/uninstall.exe" /S
settle
sleep 1
settle
[[ ! -e "$dir" ]] || fail "the uninstaller left $dir: $(ls "$dir")"
[[ ! -e "$shortcut" ]] || fail "the uninstaller left the shortcut"
if run reg query "$key" >/dev/null 2>&1; then fail "the uninstaller left the uninstall entry"; fi
echo "uninstalled: nothing left"
