#!/usr/bin/env bash
# Unpacks the portable zip under Wine, checks what it holds, starts the
# program from it and checks that it keeps running and installed nothing:
# deleting the folder removes it.
#   scripts/check-windows-portable.sh build-windows/linterp-VERSION-win64.zip
set -euo pipefail
zip=$(realpath "${1:?usage: $0 ZIP}")
: "${WINEPREFIX:?set WINEPREFIX to the Wine prefix of the build folder}"
fail() { echo "check-windows-portable: FAILED: $*" >&2; exit 1; }
source "$(dirname "$0")/wine-program.sh"

folder="$WINEPREFIX/drive_c/portable-test"
rm -rf "$folder"
mkdir -p "$folder"
trap 'rm -rf "$folder"' EXIT
python3 -c 'import sys, zipfile; zipfile.ZipFile(sys.argv[1]).extractall(sys.argv[2])' "$zip" "$folder"
for file in linterp.exe LICENSE.txt 说明.txt; do
    [[ -f "$folder/linterp/$file" ]] || fail "the zip holds no linterp/$file"
done
grep -q "MIT License" "$folder/linterp/LICENSE.txt" || fail "LICENSE.txt is not the licence"
grep -q "删除整个 linterp 文件夹" "$folder/linterp/说明.txt" || fail "说明.txt does not say how to remove it"

registry_before=$(cat "$WINEPREFIX/user.reg" "$WINEPREFIX/system.reg" | grep -ci linterp || true)
start_program "$folder/linterp/linterp.exe"
stop_program
registry_after=$(cat "$WINEPREFIX/user.reg" "$WINEPREFIX/system.reg" | grep -ci linterp || true)
[[ "$registry_after" == "$registry_before" ]] || fail "running it from the zip wrote linterp to the registry"
echo "check-windows-portable: $(basename "$zip") unpacks to linterp.exe, LICENSE.txt and 说明.txt; it runs and installs nothing"
