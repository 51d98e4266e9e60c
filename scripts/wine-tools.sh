# Sourced by the scripts that run Wine: where its programs are. Debian's
# wine64 package keeps them out of PATH, in /usr/lib/wine. Sets wine and
# wineserver; wine is empty when Wine is not installed.
wine=$(command -v wine64 || command -v wine || true)
[[ -n "$wine" ]] || for candidate in /usr/lib/wine/wine64 /usr/lib/wine/wine; do
    [[ -x "$candidate" ]] && wine=$candidate && break
done
wineserver=$(command -v wineserver || echo /usr/lib/wine/wineserver)
