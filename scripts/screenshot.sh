#!/usr/bin/env bash
# Remakes docs/screenshot.png: the calculator under Xvfb with a worked example
# typed in and computed. Run it after `make run` or `make test` has built it.
#   scripts/screenshot.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
scripts/install-deps.sh screenshot
[[ -x "$build/linterp" ]] || { echo "screenshot: build $build/linterp first (make run)" >&2; exit 1; }

source "$build/product.env" # the window's title
export LINTERP_NAME LINTERP_BIN=$build/linterp
xvfb-run -a -s "-screen 0 800x600x24 -dpi 96" bash -c '
    set -euo pipefail
    "$LINTERP_BIN" & pid=$!
    trap "kill $pid 2>/dev/null" EXIT
    window=$(xdotool search --sync --name "$LINTERP_NAME" | head -n 1)
    xdotool windowfocus --sync "$window"
    scripts/type-example.sh
    sleep 0.5
    import -window "$window" docs/screenshot.png
'
echo "screenshot: wrote docs/screenshot.png"
