# Sourced by the Windows package checks: runs Windows programs under Wine in
# the build folder's prefix (WINEPREFIX), and starts and stops linterp.exe.
# The caller defines fail().
# A command that stops the check outside fail() names itself on the way out,
# in functions and command substitutions too.
set -E
trap 'echo "${0##*/}: FAILED: line $LINENO: $BASH_COMMAND (status $?)" >&2' ERR
here=$(dirname "${BASH_SOURCE[0]}")
run() { "$here/wine-run.sh" "$@"; }
source "$here/wine-tools.sh"
settle() { "$wineserver" -w; } # every Wine process of the prefix has ended

program=
# Starts EXE and checks that it keeps running.
start_program() {
    run "$1" &
    program=$!
    sleep 3
    kill -0 "$program" 2>/dev/null || fail "$1 did not keep running"
}
stop_program() {
    run taskkill /IM linterp.exe >/dev/null 2>&1 || true
    wait "$program" 2>/dev/null || true
    program=
    settle
}
