#!/usr/bin/env bash
# Checks the .deb that `make package` built with lintian, installs it with
# apt-get, checks that the program starts and is in the desktop menu, then
# removes it and checks that nothing is left. Needs root (or sudo) and
# changes this machine's packages.
#   scripts/check-deb.sh [PACKAGE_DIR]
set -euo pipefail
dir=${1:-build-package}
deb=$(ls "$dir"/linterp_*.deb | tail -n 1)
sudo=()
[[ $(id -u) -eq 0 ]] || sudo=(sudo)
fail() { echo "check-deb: $*" >&2; exit 1; }

# Debian's own checker first: no error and no warning, but for the address of
# the default maintainer, which a packager replaces (make package MAINTAINER=...).
command -v lintian >/dev/null || fail "lintian is not installed (Debian package lintian)"
# What it finds is judged below, so it is told to fail on nothing: any other
# status than 0 means it did not check the package.
lintian_status=0
report=$(lintian --fail-on none "$deb" 2>"$dir/lintian.stderr") || lintian_status=$?
[[ -z "$report" ]] || echo "$report"
if [[ $lintian_status -ne 0 ]]; then
    cat "$dir/lintian.stderr" >&2
    fail "lintian did not check the package (status $lintian_status)"
fi
source "$dir/product.env"
address=$(sed 's/.*<\(.*\)>.*/\1/; s/\./\\./g' <<<"$LINTERP_DEFAULT_MAINTAINER")
faults=$(grep -E '^[EW]: ' <<<"$report" | grep -vE "^E: linterp: bogus-mail-host(-in-debian-changelog)? (Maintainer )?$address( |\$)" || true)
# Debian 13's lintian also fails the metainfo for its one AppStream warning:
# the project has no homepage yet, and none is invented. Allowed only while
# that is all AppStream finds.
if grep -qx 'W: linterp: appstream-metadata-validation-failed .*' <<<"$faults"; then
    unpacked=$(mktemp -d)
    dpkg-deb -x "$deb" "$unpacked"
    if "$(dirname "$0")/check-metainfo.sh" "$unpacked"/usr/share/metainfo/*.metainfo.xml >/dev/null; then
        faults=$(grep -v '^W: linterp: appstream-metadata-validation-failed ' <<<"$faults" || true)
    fi
    rm -rf "$unpacked"
fi
[[ -z "$faults" ]] || fail "lintian finds fault with $deb"
echo "check-deb: lintian accepts $deb"

"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y "$(readlink -f "$deb")"
files=$(dpkg -L linterp)
# Every file the build's install rules lay down is in the package: the rules
# are the one list (scripts/check-install.sh checks what they install).
rules=$(mktemp -d)
DESTDIR="$rules" cmake --install "$dir" --prefix /usr >/dev/null
while IFS= read -r path; do
    grep -qx "$path" <<<"$files" || fail "$path is not installed"
done < <(cd "$rules" && find . -type f | sed 's|^\.||')
rm -rf "$rules"
# The menu sees it: the entry is in the desktop database's search path.
[[ -f /usr/share/applications/$LINTERP_APP_ID.desktop ]] || fail "no menu entry"
# It starts and keeps running until stopped (timeout's 124), headless.
# What the package depends on is all it needs: a missing translation or
# plugin would be named on stderr.
status=0
runtime=$(mktemp -d)
XDG_RUNTIME_DIR=$runtime QT_QPA_PLATFORM=offscreen timeout 3 linterp 2>"$dir/check-deb.stderr" || status=$?
[[ $status -eq 124 ]] || { cat "$dir/check-deb.stderr" >&2; fail "linterp exited with $status instead of running"; }
rmdir "$runtime"
[[ ! -s "$dir/check-deb.stderr" ]] || { cat "$dir/check-deb.stderr" >&2; fail "linterp complained on stderr"; }
[[ "$(linterp --version)" == "linterp $(dpkg-query -W -f='${Version}' linterp)" ]] || fail "linterp --version names another version"

"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get remove -y --purge linterp
! dpkg -s linterp >/dev/null 2>&1 || fail "linterp is still installed"
for path in $files; do
    [[ -d "$path" || ! -e "$path" ]] || fail "$path was left behind"
done
echo "check-deb: $deb installs, starts, and removes cleanly"
