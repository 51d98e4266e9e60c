#!/usr/bin/env bash
# Installs the .deb that `make package` built with apt-get, checks that the
# program starts and is in the desktop menu, then removes it and checks that
# nothing is left. Needs root (or sudo) and changes this machine's packages.
#   scripts/check-deb.sh [PACKAGE_DIR]
set -euo pipefail
dir=${1:-build-package}
deb=$(ls "$dir"/linterp_*.deb | tail -n 1)
sudo=()
[[ $(id -u) -eq 0 ]] || sudo=(sudo)
fail() { echo "check-deb: $*" >&2; exit 1; }

"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y "$(readlink -f "$deb")"
files=$(dpkg -L linterp)
for path in /usr/bin/linterp /usr/share/applications/org.linterp.linterp.desktop \
            /usr/share/metainfo/org.linterp.linterp.metainfo.xml \
            /usr/share/icons/hicolor/scalable/apps/org.linterp.linterp.svg; do
    grep -qx "$path" <<<"$files" || fail "$path is not installed"
done
# The menu sees it: the entry is in the desktop database's search path.
[[ -f /usr/share/applications/org.linterp.linterp.desktop ]] || fail "no menu entry"
# It starts and keeps running until stopped (timeout's 124), headless.
# What the package depends on is all it needs: a missing translation or
# plugin would be named on stderr.
status=0
runtime=$(mktemp -d)
XDG_RUNTIME_DIR=$runtime QT_QPA_PLATFORM=offscreen timeout 3 linterp 2>"$dir/check-deb.stderr" || status=$?
[[ $status -eq 124 ]] || { cat "$dir/check-deb.stderr" >&2; fail "linterp exited with $status instead of running"; }
rmdir "$runtime"
[[ ! -s "$dir/check-deb.stderr" ]] || { cat "$dir/check-deb.stderr" >&2; fail "linterp complained on stderr"; }

"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get remove -y --purge linterp
! dpkg -s linterp >/dev/null 2>&1 || fail "linterp is still installed"
for path in $files; do
    [[ -d "$path" || ! -e "$path" ]] || fail "$path was left behind"
done
echo "check-deb: $deb installs, starts, and removes cleanly"
