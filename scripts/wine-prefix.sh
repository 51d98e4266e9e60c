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
[[ -f "$prefix/.linterp-ready" ]] && exit 0

echo "linterp: making the Wine prefix $prefix (once; takes a few seconds)"
"$run" wineboot -i >/dev/null 2>&1 || true

face=$(fc-match -f '%{family[0]}' 'Noto Sans CJK SC:lang=zh-cn' 2>/dev/null || true)
serif=$(fc-match -f '%{family[0]}' 'Noto Serif CJK SC:lang=zh-cn' 2>/dev/null || true)
[[ -n "$face" ]] || face="Noto Sans CJK SC"
[[ -n "$serif" ]] || serif=$face

# LOGFONTW of 9-point "Microsoft YaHei UI": height -12, weight 400, DEFAULT_CHARSET.
message_font=$(python3 - <<'PY' 2>/dev/null || true
import struct
face = "Microsoft YaHei UI"
data = struct.pack("<lllll8B", -12, 0, 0, 0, 400, 0, 0, 0, 1, 0, 0, 0, 0) + face.encode("utf-16-le").ljust(64, b"\0")
print(",".join("%02x" % b for b in data))
PY
)
reg=$prefix/linterp.reg
{
    printf 'Windows Registry Editor Version 5.00\r\n\r\n'
    printf '[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\FontSubstitutes]\r\n'
    printf '"Microsoft YaHei UI"="%s"\r\n' "$face"
    printf '"Microsoft YaHei"="%s"\r\n' "$face"
    printf '"SimSun"="%s"\r\n' "$serif"
    printf '"\xe5\xae\x8b\xe4\xbd\x93"="%s"\r\n' "$serif"
    printf '\r\n'
    if [[ -n "$message_font" ]]; then
        printf '[HKEY_CURRENT_USER\\Control Panel\\Desktop\\WindowMetrics]\r\n'
        printf '"MessageFont"=hex:%s\r\n\r\n' "$message_font"
    fi
    # No window manager runs under Xvfb: unmanaged windows spare Wine its wait
    # for one on every window that closes.
    printf '[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]\r\n'
    printf '"Managed"="N"\r\n'
} | { printf '\xff\xfe'; iconv -f UTF-8 -t UTF-16LE; } > "$reg" # the version 5 format is UTF-16
"$run" regedit /S "$reg" >/dev/null 2>&1
# Wait until the registry is written to disk.
wineserver=$(command -v wineserver || echo /usr/lib/wine/wineserver)
"$wineserver" -w 2>/dev/null || true
touch "$prefix/.linterp-ready"
