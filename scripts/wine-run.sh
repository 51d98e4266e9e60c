#!/usr/bin/env bash
# Runs a Windows program under Wine in the build folder's own prefix, never the
# user's. WINEPREFIX may be set by the caller; otherwise the prefix is
# build-windows/wine beside this script's checkout.
set -euo pipefail
: "${WINEPREFIX:=$(cd "$(dirname "$0")/.." && pwd)/build-windows/wine}"
export WINEPREFIX
export WINEDEBUG=${WINEDEBUG:--all}
# No Mono or Gecko installer prompts in a fresh prefix.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
source "$(dirname "$0")/wine-tools.sh"
if [[ -z "$wine" ]]; then
    echo "linterp: Wine is not installed (Debian package wine64)" >&2
    exit 1
fi
exec "$wine" "$@"
