#!/usr/bin/env bash
# Installs the Debian/Ubuntu packages that `make run` or `make test` needs,
# skipping those already installed.
#   scripts/install-deps.sh run    what building and starting the calculator needs
#   scripts/install-deps.sh test   that, plus what the tests need
#   scripts/install-deps.sh bench  that, plus what the benchmarks need
#   scripts/install-deps.sh fuzz   what the fuzzers need
#   scripts/install-deps.sh package  what building the .deb needs
#   scripts/install-deps.sh screenshot  what remaking the README's screenshots needs
#   scripts/install-deps.sh windows  what cross-building and testing the Windows program needs
#   scripts/install-deps.sh web      what building the web page needs
#   scripts/install-deps.sh test-web  that, plus what testing it in Node.js and three browsers needs
# Without apt-get it prints what is needed and leaves the installing to you.
set -euo pipefail

# qt6-wayland: on a Wayland desktop Qt then runs natively instead of through XWayland.
# qt6-svg-dev: renders the icon into PNGs at build time; qt6-translations-l10n: Qt's own buttons in Chinese.
# libfast-float-dev: the number reader, header-only, the same on every platform.
run_packages=(cmake make g++ libfast-float-dev qt6-base-dev qt6-svg-dev qt6-qpa-plugins qt6-wayland qt6-translations-l10n fonts-noto-cjk)
# weston, xwayland, xdotool and xclip: the Wayland tests' compositor, clipboard and input.
# fonts-dejavu-core, fonts-noto-core and fonts-cantarell: desktop fonts the captions must fit with;
# qt6ct: a platform theme that hands the window the desktop font, as users set it.
# man-db and python3: the manual pages rendered as `man` shows them, and checked.
# at-spi2-core, dbus and python3-pyatspi: the window read over the accessibility bus.
test_packages=(libgtest-dev libmpfr-dev locales qt6ct xvfb xauth desktop-file-utils appstream weston xwayland xdotool xclip
               fonts-dejavu-core fonts-noto-core fonts-cantarell man-db python3 at-spi2-core dbus python3-pyatspi)
bench_packages=(libbenchmark-dev libx11-dev libxdamage-dev xvfb xauth)
fuzz_packages=(cmake make locales clang libclang-rt-dev libstdc++-12-dev libfast-float-dev)
package_packages=("${run_packages[@]}" dpkg-dev file lintian appstream)
screenshot_packages=(xvfb xauth xdotool imagemagick wine64 fonts-wine)
windows_packages=(cmake make g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 libfast-float-dev wine64 fonts-wine nsis libgtest-dev locales
                  xvfb xauth fonts-noto-cjk fontconfig)
# emscripten with node-acorn (its optimizer) compiles to WebAssembly; the page is
# tested in each engine: Chromium (chromedriver, through Selenium), Firefox ESR
# (WebDriver BiDi, through python3-websocket) and WebKitGTK (WebKitWebDriver,
# on an Xvfb display, in locales compiled from the locales package).
web_packages=(cmake make emscripten node-acorn nodejs libfast-float-dev python3)
test_web_packages=("${web_packages[@]}" libgtest-dev chromium chromium-driver python3-selenium fonts-noto-cjk
                   firefox-esr python3-websocket webkit2gtk-driver xvfb xauth locales)

case "${1:-}" in
    run) wanted=("${run_packages[@]}") ;;
    test) wanted=("${run_packages[@]}" "${test_packages[@]}") ;;
    bench) wanted=("${run_packages[@]}" "${test_packages[@]}" "${bench_packages[@]}") ;;
    fuzz) wanted=("${fuzz_packages[@]}") ;;
    package) wanted=("${package_packages[@]}") ;;
    screenshot) wanted=("${screenshot_packages[@]}") ;;
    windows) wanted=("${windows_packages[@]}") ;;
    web) wanted=("${web_packages[@]}") ;;
    test-web) wanted=("${test_web_packages[@]}") ;;
    *) echo "usage: $0 run|test|bench|fuzz|package|screenshot|windows|web|test-web" >&2; exit 2 ;;
esac

if ! command -v apt-get >/dev/null 2>&1 || ! command -v dpkg-query >/dev/null 2>&1; then
    echo "linterp: this machine has no apt-get. Install the equivalents of these Debian packages:" >&2
    printf '  %s\n' "${wanted[@]}" >&2
    echo "(CMake 3.22 or later, a C++20 compiler, fast_float's headers, Qt 6 Widgets, GoogleTest, Google Benchmark, a CJK font;" >&2
    echo " for Windows: mingw-w64 with POSIX threads, Wine, NSIS and GoogleTest's sources;" >&2
    echo " for the web: Emscripten, Node.js, Chromium with its chromedriver, Firefox, WebKitGTK's WebKitWebDriver," >&2
    echo " Xvfb, and Python's selenium and websocket-client)" >&2
    exit 0
fi

missing=()
for package in "${wanted[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
    [[ "$status" == "install ok installed" ]] || missing+=("$package")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

echo "linterp: installing ${missing[*]}"
sudo=()
if [[ $(id -u) -ne 0 ]]; then
    if ! command -v sudo >/dev/null 2>&1; then
        echo "linterp: not root and no sudo; as root, run: apt-get install ${missing[*]}" >&2
        exit 1
    fi
    sudo=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
# A fresh machine has no package lists; a failed install is retried once after
# refreshing them, in case they are stale.
if ! "${sudo[@]}" apt-get install -y --no-install-recommends "${missing[@]}"; then
    "${sudo[@]}" apt-get update
    "${sudo[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
fi
