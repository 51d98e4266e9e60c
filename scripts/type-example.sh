#!/usr/bin/env bash
# Types the README's example into the calculator that has the keyboard, with
# xdotool, the way a user would: the focus starts in y1 and Tab walks y1, x1,
# x2, y2, x, then "差 值", which Space presses. y then shows 4.
set -euo pipefail
for text in 1 1 3 5 2.5; do
    xdotool type --delay 20 "$text"
    xdotool key Tab
done
xdotool key space
