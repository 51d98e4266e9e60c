#!/usr/bin/env bash
# Compiles de_DE.UTF-8, a locale that writes decimals with a comma, into a
# folder of the build, so the suites can run under it (LOCPATH=DIR) whether
# or not the system has generated it, and without root.
#   tests/make-comma-locale.sh DIR
set -euo pipefail
dir=${1:?usage: $0 DIR}
[[ -f "$dir/de_DE.UTF-8/LC_NUMERIC" ]] && exit 0
if [[ ! -f /usr/share/i18n/locales/de_DE ]]; then
    echo "make-comma-locale: the locale sources are missing (Debian package locales)" >&2
    exit 1
fi
mkdir -p "$dir"
# localedef exits 1 for warnings about the sources that do not touch what is
# compiled; only a missing result is a failure.
localedef -i de_DE -f UTF-8 "$dir/de_DE.UTF-8" || true
[[ -f "$dir/de_DE.UTF-8/LC_NUMERIC" ]] || { echo "make-comma-locale: localedef made nothing in $dir" >&2; exit 1; }
