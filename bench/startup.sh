#!/usr/bin/env bash
# Start-up time (exec to window mapped) and resident memory of linterp beside
# a minimal Qt 6 Widgets program, taking turns on one virtual display.
#   bench/startup.sh [RUNS]     (after make bench; needs xvfb-run)
set -euo pipefail
build=${BUILD_DIR:-build}
runs=${1:-15}
exec xvfb-run -a -s "-screen 0 1024x768x24" \
    "$build/bench/startup_probe" "$runs" "$build/linterp" "$build/bench/minimal_widgets"
