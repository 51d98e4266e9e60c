#!/usr/bin/env bash
# Makes the Wine prefix the Windows tests run in, once: scripts/wine-prefix.sh DIR.
# It lives in the build folder, never in the user's home. Wine has no Chinese
# Windows fonts, so the prefix is set up the way a Chinese Windows looks: the
# message font is "Microsoft YaHei UI" and it and 宋体/SimSun are mapped to
# an installed CJK face. That is test set-up only; the program asks for the
# system's message font and for 宋体 as it would on Windows.
set -euo pipefail
prefix=${1:?usage: $0 PREFIX-DIR}
mkdir -p "$prefix"
prefix=$(cd "$prefix" && pwd)
export WINEPREFIX=$prefix
run=$(dirname "$0")/wine-run.sh
[[ -f "$prefix/.linterp-ready-2" ]] && exit 0

echo "linterp: making the Wine prefix $prefix (once; takes a few seconds)"
log=$prefix/wineboot.log
"$run" wineboot -i >"$log" 2>&1 || { tail -n 20 "$log" >&2; echo "linterp: Wine could not make the prefix $prefix" >&2; exit 1; }

face=$(fc-match -f '%{family[0]}' 'Noto Sans CJK SC:lang=zh-cn' 2>/dev/null || true)
serif=$(fc-match -f '%{family[0]}' 'Noto Serif CJK SC:lang=zh-cn' 2>/dev/null || true)
[[ -n "$face" ]] || face="Noto Sans CJK SC"
[[ -n "$serif" ]] || serif=$face

# LOGFONTW of 9-point "Microsoft YaHei UI": height -12, weight 400, DEFAULT_CHARSET.
message_font=f4,ff,ff,ff,00,00,00,00,00,00,00,00,00,00,00,00,90,01,00,00,00,00,00,01,00,00,00,00
message_font+=,4d,00,69,00,63,00,72,00,6f,00,73,00,6f,00,66,00,74,00,20,00,59,00,61,00,48,00,65,00
message_font+=,69,00,20,00,55,00,49,00$(printf ',00%.0s' {1..28})
reg=$prefix/linterp.reg
{
    printf 'Windows Registry Editor Version 5.00\r\n\r\n'
    printf '[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\FontSubstitutes]\r\n'
    printf '"Microsoft YaHei UI"="%s"\r\n' "$face"
    printf '"Microsoft YaHei"="%s"\r\n' "$face"
    printf '"SimSun"="%s"\r\n' "$serif"
    printf '"\xe5\xae\x8b\xe4\xbd\x93"="%s"\r\n' "$serif"
    printf '\r\n'
    printf '[HKEY_CURRENT_USER\\Control Panel\\Desktop\\WindowMetrics]\r\n'
    printf '"MessageFont"=hex:%s\r\n\r\n' "$message_font"
    # No window manager runs under Xvfb: unmanaged windows spare Wine its wait
    # for one on every window that closes. The test programs stay unmanaged;
    # linterp.exe itself is managed, so that on a desktop (make run-windows)
    # it is listed, moved and closed by the window manager like any window.
    printf '[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]\r\n'
    printf '"Managed"="N"\r\n\r\n'
    printf '[HKEY_CURRENT_USER\\Software\\Wine\\AppDefaults\\linterp.exe\\X11 Driver]\r\n'
    printf '"Managed"="Y"\r\n'
} | { printf '\xff\xfe'; iconv -f UTF-8 -t UTF-16LE; } > "$reg" # the version 5 format is UTF-16
"$run" regedit /S "$reg" >/dev/null 2>&1
# Wait until the registry is written to disk.
source "$(dirname "$0")/wine-tools.sh"
"$wineserver" -w 2>/dev/null || true
touch "$prefix/.linterp-ready-2"
