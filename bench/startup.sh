#!/usr/bin/env bash
# Start-up time (exec to window mapped) and memory of linterp beside a minimal
# Qt 6 Widgets program (one window, one line edit), taking turns on one
# virtual display, and how far linterp is from that floor.
#   bench/startup.sh [RUNS]     (default 21; make bench runs it; needs xvfb-run)
set -euo pipefail
build=${BUILD_DIR:-build}
runs=${1:-21}
exec xvfb-run -a -s "-screen 0 1024x768x24" \
    "$build/bench/startup_probe" "$runs" "$build/linterp" "$build/bench/minimal_widgets"
