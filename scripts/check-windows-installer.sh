#!/usr/bin/env bash
# Tests the Windows installer under Wine, silently, as a user and as an
# administrator would use it:
#   per-user install (no administrator), the program started from it;
#   install and uninstall refused while the program runs, nothing touched;
#   an upgrade from an older version in place, with one Apps & features entry;
#   a downgrade refused; an all-users install; each uninstall leaving nothing
#   but what the README says;
# and, as a person on a Chinese Windows clicks through it, its message box and
# pages, whose words must name the buttons they show: an administrator is
# asked whether to install for every user, a standard user is not; a Chinese
# folder with a space in its name.
# The older version's installer, and one that takes its user for a standard
# user (Wine's user is always an administrator), are made here from the same
# script.
# Needs WINEPREFIX (a prefix of the build folder's own, made by
# scripts/wine-prefix.sh), a display, makensis and the locale sources.
#   scripts/check-windows-installer.sh INSTALLER.exe BUILD/packaging/linterp.nsi DIALOG_PROBE.exe
set -euo pipefail
usage="usage: $0 INSTALLER NSI DIALOG_PROBE"
installer=$(realpath "${1:?$usage}")
nsi=$(realpath "${2:?$usage}")
probe=$(realpath "${3:?$usage}")
# The product's name, as the build configured it beside the installer.
source "$(dirname "$installer")/product.env"
: "${WINEPREFIX:?set WINEPREFIX to the Wine prefix of the build folder}"
fail() { echo "check-windows-installer: FAILED: $*" >&2; exit 1; }
step() { echo "check-windows-installer: $*"; }
status() { "$@" && code=0 || code=$?; echo "$code"; }
source "$(dirname "$0")/wine-program.sh"

work=$(mktemp -d)
cleanup() {
    [[ -n "$program" ]] && { run taskkill /IM linterp.exe >/dev/null 2>&1 || true; wait "$program" 2>/dev/null || true; }
    rm -rf "$work"
}
trap cleanup EXIT

version=$(sed -n 's/^!define VERSION "\(.*\)"$/\1/p' "$nsi")
older=$work/linterp-0.9.0-win64.exe
makensis -V2 -INPUTCHARSET UTF8 -DVERSION=0.9.0 "-DOUTFILE=$older" "$nsi" >/dev/null \
    || fail "makensis could not build the older installer"
standard=$work/linterp-standard-user.exe
makensis -V2 -INPUTCHARSET UTF8 -DACCOUNT_TYPE=User "-DOUTFILE=$standard" "$nsi" >/dev/null \
    || fail "makensis could not build the standard user's installer"

user_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\linterp'
machine_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\linterp'
# A folder the user's environment names, as Windows writes it; and its Unix path.
windows_folder() { # VARIABLE
    local windows
    windows=$(run cmd /c "echo %$1%" | tr -d '\r') && [[ $windows == ?:\\* ]] \
        || fail "Wine's cmd does not tell %$1%: '$windows'"
    echo "$windows"
}
unix_path() { run winepath -u "$1" | tr -d '\r' || fail "winepath cannot place $1"; }
folder() { local windows; windows=$(windows_folder "$1") || exit 1; unix_path "$windows"; } # VARIABLE
user_dir=$(folder LOCALAPPDATA)/Programs/linterp
user_menu="$(folder APPDATA)/Microsoft/Windows/Start Menu/Programs"
machine_dir="$WINEPREFIX/drive_c/Program Files/linterp"
machine_menu="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs"
# A value of the entry, or nothing when there is no entry.
value() { run reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' | awk -v v="$2" '$1 == v { print $3 }'; }
entries() { # how many uninstall entries name linterp, in both scopes
    local count=0
    for key in "$user_key" "$machine_key"; do
        if run reg query "$key" >/dev/null 2>&1; then count=$((count + 1)); fi
    done
    echo "$count"
}
installed() { # DIR MENU KEY VERSION
    [[ -f "$1/linterp.exe" && -f "$1/uninstall.exe" ]] || fail "linterp.exe and its uninstaller are not in $1"
    [[ -f "$2/${LINTERP_NAME}.lnk" ]] || fail "no Start-menu shortcut ${LINTERP_NAME} in $2"
    [[ "$(value "$3" DisplayVersion)" == "$4" ]] || fail "the entry in $3 is not version $4"
    [[ "$(value "$3" EstimatedSize)" =~ ^0x[0-9a-f]+$ ]] || fail "the entry in $3 has no size"
    [[ "$(entries)" == 1 ]] || fail "$(entries) Apps & features entries, not one"
}
gone() { # DIR MENU
    [[ ! -e "$1" ]] || fail "the uninstaller left $1: $(ls "$1")"
    [[ ! -e "$2/${LINTERP_NAME}.lnk" ]] || fail "the uninstaller left the shortcut"
    [[ "$(entries)" == 0 ]] || fail "the uninstaller left an Apps & features entry"
}
uninstall() { # DIR: as Apps & features does, then waits for the copy it hands over to
    run "$1/uninstall.exe" /S
    settle
}

# A run that failed half-way may have left an installation behind.
for dir in "$user_dir" "$machine_dir"; do
    if [[ -f "$dir/uninstall.exe" ]]; then uninstall "$dir"; fi
    rm -rf "$dir"
done
run reg delete "$user_key" /f >/dev/null 2>&1 || true
run reg delete "$machine_key" /f >/dev/null 2>&1 || true

# The installer asks Windows for no elevation: its manifest runs it as the
# user who started it.
grep -aq 'requestedExecutionLevel level="asInvoker"' "$installer" \
    || fail "the installer's manifest asks for more than the invoking user's rights"
step "manifest: asInvoker, no administrator needed: ok"

# For the current user, without an administrator.
[[ $(status run "$installer" /S) == 0 ]] || fail "the per-user install failed"
settle
installed "$user_dir" "$user_menu" "$user_key" "$version"
[[ ! -e "$machine_dir" ]] || fail "a per-user install wrote to Program Files"
step "per-user install: $user_dir, shortcut, one entry of version $version: ok"

# While the program runs, neither install nor uninstall touches a file.
start_program "$user_dir/linterp.exe"
before=$(sha256sum "$user_dir/linterp.exe")
[[ $(status run "$installer" /S) == 4 ]] || fail "installing over the running program did not fail with status 4"
[[ $(status run "$user_dir/uninstall.exe" /S "_?=$(run winepath -w "$user_dir" | tr -d '\r')") == 4 ]] \
    || fail "uninstalling the running program did not fail with status 4"
run "$user_dir/uninstall.exe" /S # as Apps & features does: it hands over to a copy of itself
sleep 4 # for that copy, which cannot wait for every Wine process while linterp runs
[[ "$(sha256sum "$user_dir/linterp.exe")" == "$before" ]] || fail "a refused run changed linterp.exe"
installed "$user_dir" "$user_menu" "$user_key" "$version"
stop_program
step "install and uninstall while the program runs: refused with status 4, nothing touched: ok"

uninstall "$user_dir"
gone "$user_dir" "$user_menu"
step "per-user uninstall: nothing left: ok"

# An older version, then this one over it: one entry, the new version.
[[ $(status run "$older" /S) == 0 ]] || fail "the older installer failed"
settle
installed "$user_dir" "$user_menu" "$user_key" 0.9.0
[[ $(status run "$installer" /S) == 0 ]] || fail "the upgrade failed"
settle
installed "$user_dir" "$user_menu" "$user_key" "$version"
step "upgrade from 0.9.0 to $version in place, one entry: ok"

# And the older one over this one: refused, this one left as it was.
[[ $(status run "$older" /S) == 3 ]] || fail "the older installer did not refuse with status 3"
settle
installed "$user_dir" "$user_menu" "$user_key" "$version"
step "downgrade to 0.9.0: refused with status 3: ok"

# Silently, waiting for the status: the uninstaller runs from the folder and
# cannot delete its own file, so it and the folder stay, as the README says,
# and go with the two commands it gives.
[[ $(status run "$user_dir/uninstall.exe" /S "_?=$(run winepath -w "$user_dir" | tr -d '\r')") == 0 ]] \
    || fail "the silent uninstall that waits failed"
[[ "$(ls -A "$user_dir")" == uninstall.exe ]] || fail "the silent uninstall that waits left $(ls -A "$user_dir" | tr '\n' ' ')"
[[ ! -e "$user_menu/${LINTERP_NAME}.lnk" && "$(entries)" == 0 ]] || fail "the silent uninstall that waits left the shortcut or the entry"
rm "$user_dir/uninstall.exe"
rmdir "$user_dir"
gone "$user_dir" "$user_menu"
step "uninstall.exe /S _?=FOLDER: status 0, only uninstall.exe left in the folder: ok"

# For every user, as an administrator (Wine's user is one).
[[ $(status run "$installer" /S /AllUsers) == 0 ]] || fail "the all-users install failed"
settle
installed "$machine_dir" "$machine_menu" "$machine_key" "$version"
[[ ! -e "$user_dir" ]] || fail "an all-users install wrote to the user's folder"
start_program "$machine_dir/linterp.exe"
stop_program
step "all-users install: Program Files, shortcut for all, one entry, the program starts: ok"
uninstall "$machine_dir"
gone "$machine_dir" "$machine_menu"
step "all-users uninstall: nothing left: ok"

# As a person on a Chinese Windows: Wine in the zh_CN locale, so that Windows'
# own buttons read as they do there (是(&Y), 否(&N)).
"$(dirname "$0")/../tests/make-locale.sh" "$work/locale" zh_CN >/dev/null || fail "no zh_CN locale to run Wine in"
chinese() { env LOCPATH="$work/locale" LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8 "$here/wine-run.sh" "$@"; }
# The front dialog's controls, "CLASS<tab>ID<tab>TEXT" a line, once it shows TEXT.
dialog_with() { # TEXT
    local texts= i
    for ((i = 0; i < 60; i++)); do
        texts=$(run "$probe" texts 2>/dev/null | tr -d '\r') && [[ $texts == *"$1"* ]] && { echo "$texts"; return; }
        sleep 0.5
    done
    fail "no dialog says “$1”; the front one shows: ${texts:-nothing}"
}
click() { run "$probe" click "$1" || fail "the dialog has no button $1 to click"; }
# Every button a dialog's words name, as [我接受(I)] or “否”, is one it shows,
# as the button reads without its access key's &; [PgDn] 键 names a key.
names_buttons() { # TEXTS
    local buttons name
    buttons=$(awk -F'\t' '$1 == "Button" { gsub(/&/, "", $3); print $3; sub(/\([A-Z]\)$/, "", $3); print $3 }' <<<"$1")
    while IFS= read -r name; do
        grep -qxF -- "$name" <<<"$buttons" \
            || fail "the words name a button “$name” that is not there; the buttons read: $(tr '\n' '|' <<<"$buttons")"
    done < <(awk -F'\t' '$1 == "Static" { print $3 }' <<<"$1" | grep -oP '\[\K.*?(?=\](?!\s*键))|“\K.*?(?=”)' || true)
}
# Starts an installer in the Chinese locale, to be clicked through; its status
# is waited for as $gui's.
start_gui() { (trap - ERR; chinese "$@") & gui=$!; }
running() { run "$probe" shown "$LINTERP_NAME"; } # the program's window is on the screen

# An administrator is asked first; 否 installs for the current user alone.
chinese_dir_windows="$(windows_folder LOCALAPPDATA)\\数学 工具\\${LINTERP_NAME}"
chinese_dir=$(unix_path "$chinese_dir_windows")
start_gui "$installer"
page=$(dialog_with "要为这台电脑的所有用户安装${LINTERP_NAME}吗")
names_buttons "$page"
click 7 # 否(&N)
step "run by an administrator: asked whether to install for every user, with 是 and 否: ok"
page=$(dialog_with "许可证协议")
names_buttons "$page"
click 1
step "licence page: its words name its button [我接受(I)]: ok"
page=$(dialog_with "选择安装位置")
names_buttons "$page"
run "$probe" set 1019 "$chinese_dir_windows" || fail "the folder page has no folder field"
click 1
page=$(dialog_with "已经成功安装")
names_buttons "$page"
click 1 # 完成, with 运行 ${LINTERP_NAME} ticked
wait "$gui" || fail "the installer clicked through to the end exited with status $?"
for ((i = 0; i < 20; i++)); do running && break; sleep 0.5; done
running || fail "the finish page's 运行 ${LINTERP_NAME} did not start the program"
run taskkill /IM linterp.exe >/dev/null 2>&1 || true
settle
installed "$chinese_dir" "$user_menu" "$user_key" "$version"
step "clicked through to the end: installed for the current user in $chinese_dir_windows, and started: ok"
uninstall "$chinese_dir"
gone "$chinese_dir" "$user_menu"
rmdir "$(dirname "$chinese_dir")"
step "uninstalled from the Chinese folder with a space: nothing left: ok"

# A standard user is not asked: the licence comes first. Cancel quits with 1.
start_gui "$standard"
page=$(dialog_with "许可证协议")
click 2 # 取消
code=0; wait "$gui" || code=$?
[[ $code == 1 ]] || fail "cancelling exited with status $code, not 1"
[[ ! -e "$user_dir" && "$(entries)" == 0 ]] || fail "a cancelled installer left something behind"
[[ $(status run "$standard" /S /AllUsers) == 5 ]] || fail "a standard user's /AllUsers did not refuse with status 5"
[[ ! -e "$machine_dir" ]] || fail "a refused /AllUsers wrote to Program Files"
step "run by a standard user: not asked, cancelling quits with status 1, /AllUsers refused with status 5: ok"
