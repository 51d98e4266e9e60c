#!/usr/bin/env bash
# Remakes window/win32/linterp.ico, the Windows icon, from the SVG icon.
# Needs rsvg-convert (librsvg2-bin) and ImageMagick.
set -euo pipefail
cd "$(dirname "$0")/.."
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
sizes=(16 20 24 32 40 48 64 256)
for size in "${sizes[@]}"; do
    rsvg-convert -w "$size" -h "$size" packaging/linterp.svg -o "$work/$size.png"
done
convert $(printf "$work/%s.png " "${sizes[@]}") window/win32/linterp.ico
identify window/win32/linterp.ico
