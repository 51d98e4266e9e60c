#!/usr/bin/env bash
# Installs a build into a temporary DESTDIR and checks the installed tree: the
# program, its menu entry, icon and AppStream metadata, each valid and naming
# the others correctly.
#   scripts/check-install.sh BUILD_DIR
set -euo pipefail
build=$1
dest=$(mktemp -d)
trap 'rm -rf "$dest"' EXIT
DESTDIR="$dest" cmake --install "$build" --prefix /usr >/dev/null
root="$dest/usr"
# The product's identity, as CMake configured it into the build.
source "$build/product.env"
id=$LINTERP_APP_ID
fail() { echo "check-install: $*" >&2; exit 1; }

[[ -x "$root/bin/linterp" ]] || fail "no executable bin/linterp"
desktop="$root/share/applications/$id.desktop"
metainfo="$root/share/metainfo/$id.metainfo.xml"
icon="$root/share/icons/hicolor/scalable/apps/$id.svg"
manuals=("$root/share/man/man1/linterp.1.gz" "$root/share/man/zh_CN/man1/linterp.1.gz")
for file in "$desktop" "$metainfo" "$icon" "${manuals[@]}" "$root/share/doc/linterp/copyright"; do [[ -f "$file" ]] || fail "missing ${file#"$dest"}"; done

desktop-file-validate "$desktop" || fail "desktop-file-validate rejects the menu entry"
"$(dirname "$0")/check-metainfo.sh" "$metainfo" || fail "the metainfo is not valid"

# What a menu in LOCALE shows for KEY: KEY[lang_COUNTRY], else KEY[lang], else KEY.
shown() { # KEY LOCALE
    local key
    for key in "$1[$2]" "$1[${2%%_*}]" "$1"; do
        awk -v k="$key" 'index($0, k "=") == 1 { print substr($0, length(k) + 2); found = 1; exit } END { exit !found }' \
            "$desktop" && return
    done
}
# The program's name as its window shows it, in every Chinese-speaking region's menu.
for locale in zh_CN zh_TW zh_HK zh_SG zh_MO; do
    [[ "$(shown Name "$locale")" == "$LINTERP_NAME" ]] || fail "a $locale menu shows the entry as '$(shown Name "$locale")'"
done
grep -qx 'Exec=linterp' "$desktop" || fail "the menu entry does not start linterp"
grep -qx "Icon=$id" "$desktop" || fail "the menu entry names another icon"
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" || fail "metainfo launches another entry"
grep -q "<release version=\"$LINTERP_VERSION\"" "$metainfo" || fail "metainfo lacks release $LINTERP_VERSION"
grep -q '<lang>zh-CN</lang>' "$metainfo" || fail "metainfo lacks the zh-CN language"
grep -q '<project_license>MIT</project_license>' "$metainfo" || fail "metainfo names no licence"
grep -q '<name>linterp developers</name>' "$metainfo" || fail "metainfo names no developer"
grep -q '<svg' "$icon" || fail "the icon is not SVG"
for manual in "${manuals[@]}"; do
    zcat "$manual" | grep -q '^\.TH LINTERP 1 ' || fail "${manual#"$dest"} is not linterp's manual page"
done
echo "check-install: installed tree is complete and valid"
