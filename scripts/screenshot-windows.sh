#!/usr/bin/env bash
# Remakes docs/screenshot-windows.png: the Win32 program under Wine, in a Wine
# desktop on Xvfb (Wine draws the window frame there), with a worked example
# typed in and computed. Run it after `make windows`.
#   scripts/screenshot-windows.sh [WIN_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
win=${1:-build-windows}
scripts/install-deps.sh screenshot
[[ -f "$win/linterp.exe" ]] || { echo "screenshot: build $win/linterp.exe first (make windows)" >&2; exit 1; }
export WINEPREFIX=${WINEPREFIX:-$PWD/$win/wine}
scripts/wine-prefix.sh "$WINEPREFIX"

source "$win/product.env" # the window's title
export LINTERP_NAME LINTERP_EXE=$PWD/$win/linterp.exe WINE_RUN=$PWD/scripts/wine-run.sh
source scripts/wine-tools.sh
export WINESERVER=$wineserver
xvfb-run -a -s "-screen 0 480x360x24 -dpi 96" bash -c '
    set -euo pipefail
    "$WINE_RUN" explorer /desktop=linterp,480x360 "$LINTERP_EXE" &
    trap "\"$WINESERVER\" -k" EXIT
    xdotool search --sync --name "$LINTERP_NAME" >/dev/null
    sleep 1
    scripts/type-example.sh
    sleep 0.5
    # The Wine desktop fills the screen; trimming its background leaves the window.
    import -window root png:- | convert - -trim +repage docs/screenshot-windows.png
'
echo "screenshot: wrote docs/screenshot-windows.png"
