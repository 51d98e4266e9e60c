#!/usr/bin/env bash
# Compiles a UTF-8 locale into a folder of the build, so that programs can run
# under it (LOCPATH=DIR) whether or not the system has generated it, and
# without root. The default, de_DE, writes decimals with a comma, for the
# suites; the installer check runs Wine under zh_CN.
#   tests/make-locale.sh DIR [LANGUAGE_TERRITORY]
set -euo pipefail
dir=${1:?usage: $0 DIR [LANGUAGE_TERRITORY]}
name=${2:-de_DE}
[[ -f "$dir/$name.UTF-8/LC_NUMERIC" ]] && exit 0
if [[ ! -f /usr/share/i18n/locales/$name ]]; then
    echo "make-locale: the sources of $name are missing (Debian package locales)" >&2
    exit 1
fi
mkdir -p "$dir"
# localedef exits 1 for warnings about the sources that do not touch what is
# compiled; only a missing result is a failure.
localedef -i "$name" -f UTF-8 "$dir/$name.UTF-8" || true
[[ -f "$dir/$name.UTF-8/LC_NUMERIC" ]] || { echo "make-locale: localedef made nothing in $dir" >&2; exit 1; }
