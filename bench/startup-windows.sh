#!/usr/bin/env bash
# Start-up time (exec to window mapped, and to its first paint) and resident
# memory of linterp.exe under Wine, beside a minimal Win32 program (one window,
# one EDIT) built the same way, taking turns on one virtual display. Wine's
# server is started first and kept running, as it is on a desktop where any
# Windows program has run.
#   make bench-windows   builds both and runs this
#   bench/startup-windows.sh [RUNS]   (default 15)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${BUILD_DIR:-build}
win=${WIN_DIR:-build-windows}
runs=${1:-15}
export WINEPREFIX=${WINEPREFIX:-$PWD/$win/wine}
scripts/wine-prefix.sh "$WINEPREFIX"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for program in linterp.exe bench/minimal_win32.exe; do
    name=$(basename "$program" .exe)
    printf '#!/bin/sh\nexec "%s" "%s"\n' "$PWD/scripts/wine-run.sh" "$PWD/$win/$program" > "$work/$name"
    chmod +x "$work/$name"
done
source scripts/wine-tools.sh
exec xvfb-run -a -s "-screen 0 1024x768x24" sh -c '
    "$0" -p 60 # keep the server up between runs
    "$1" "$2" "$3" "$4"
    "$0" -k' "$wineserver" "$build/bench/startup_probe" "$runs" "$work/linterp" "$work/minimal_win32"
