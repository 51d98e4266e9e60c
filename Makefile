# The two commands a newcomer needs:
#   make run    install what is missing, build, start the calculator
#   make test   install what is missing, build, run every test
# and the Windows pair, cross-built here and tested under Wine:
#   make windows        build build-windows/linterp.exe
#   make test-windows   build and run the Windows suites
# and the web edition, compiled to WebAssembly:
#   make web            build the page into build-web/
#   make run-web        build it and serve it on http://127.0.0.1:8000/
#   make test-web       build it and run its suites in Node.js, Chromium, Firefox ESR and WebKitGTK
BUILD_DIR ?= build
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
# CMake's build type; empty means the project's default, RelWithDebInfo
# (MinSizeRel for the web edition).
BUILD_TYPE ?=
# ON turns compiler warnings into errors, as CI does.
WERROR ?= OFF

SAN_DIR ?= build-san
FUZZ_DIR ?= build-fuzz
FUZZ_SECONDS ?= 60
PACKAGE_DIR ?= build-package
WIN_DIR ?= build-windows
WINEPREFIX_DIR = $(abspath $(WIN_DIR))/wine
# The page any static server can serve, and Emscripten's build folder.
WEB_DIR ?= build-web
WASM_DIR ?= build-wasm
WEB_PORT ?= 8000

configure = cmake -S . -B $(1) -DLINTERP_WERROR=$(WERROR) $(if $(BUILD_TYPE),-DCMAKE_BUILD_TYPE=$(BUILD_TYPE))
# Optimised for size unless asked otherwise: the page's size is part of its start-up.
web_configure = emcmake cmake -S . -B $(WASM_DIR) -DLINTERP_WERROR=$(WERROR) \
    -DCMAKE_BUILD_TYPE=$(or $(BUILD_TYPE),MinSizeRel) -DLINTERP_WEB_SITE=$(abspath $(WEB_DIR))
windows_configure = $(call configure,$(WIN_DIR)) -DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/mingw-w64-x86_64.cmake

.PHONY: run test sanitize fuzz bench bench-windows package check-deb test-debian13 matrix windows test-windows run-windows windows-package windows-portable \
        web run-web test-web bench-web clean

# Emscripten's optimizer needs Debian's acorn, which Node.js does not look for
# in /usr/share/nodejs by itself.
web run-web test-web bench-web: export NODE_PATH := /usr/share/nodejs$(if $(NODE_PATH),:$(NODE_PATH))

run:
	@scripts/install-deps.sh run
	@$(call configure,$(BUILD_DIR)) >/dev/null
	@cmake --build $(BUILD_DIR) --target linterp -j $(JOBS)
	./$(BUILD_DIR)/linterp

test:
	@scripts/install-deps.sh test
	@$(call configure,$(BUILD_DIR)) -DLINTERP_TESTS=ON >/dev/null
	@cmake --build $(BUILD_DIR) -j $(JOBS)
	cd $(BUILD_DIR) && ctest --output-on-failure --timeout 120 -j $(JOBS)

# The whole suite again, built with AddressSanitizer and UBSan; the first
# report fails the run.
sanitize:
	@scripts/install-deps.sh test
	@$(call configure,$(SAN_DIR)) -DLINTERP_TESTS=ON -DLINTERP_SANITIZE=ON >/dev/null
	@cmake --build $(SAN_DIR) -j $(JOBS)
	cd $(SAN_DIR) && ctest --output-on-failure --timeout 300 -j $(JOBS)

# Each libFuzzer target for FUZZ_SECONDS, from the seeds in fuzz/corpus/.
fuzz:
	@scripts/install-deps.sh fuzz
	@CC=clang CXX=clang++ $(call configure,$(FUZZ_DIR)) -DLINTERP_FUZZ=ON -DLINTERP_WINDOW=OFF >/dev/null
	@cmake --build $(FUZZ_DIR) -j $(JOBS)
	fuzz/run.sh $(FUZZ_DIR) $(FUZZ_SECONDS)

# The configurations a packager may pick beyond the default: GCC Release and
# Clang Release, each with the whole suite in a build folder of its own.
matrix:
	$(MAKE) test BUILD_DIR=build-gcc-release BUILD_TYPE=Release
	@scripts/install-deps.sh fuzz
	CC=clang CXX=clang++ $(MAKE) test BUILD_DIR=build-clang-release BUILD_TYPE=Release

# For packagers: a stripped Release build as a .deb in $(PACKAGE_DIR)/;
# MAINTAINER="Name <address>" names its maintainer.
package:
	@scripts/install-deps.sh package
	@cmake -S . -B $(PACKAGE_DIR) -DCMAKE_BUILD_TYPE=Release \
	    $(if $(MAINTAINER),"-DLINTERP_MAINTAINER=$(MAINTAINER)",-ULINTERP_MAINTAINER) >/dev/null
	@cmake --build $(PACKAGE_DIR) -j $(JOBS)
	cd $(PACKAGE_DIR) && cpack -G DEB

# Installs that .deb with apt-get, starts the program, removes it (root or sudo).
check-deb: package
	scripts/check-deb.sh $(PACKAGE_DIR)

# A fresh clone's test, test-windows, windows-package, test-web and
# check-deb, warnings as errors, inside a Debian 13 root kept in
# /var/cache/linterp/debian13 (root or sudo; the first run makes the root
# with debootstrap).
test-debian13:
	scripts/test-debian13.sh

# The benchmarks: the command beside bare parsing and formatting, then
# bench/startup.sh for the whole program's start-up.
bench:
	@scripts/install-deps.sh bench
	@$(call configure,$(BUILD_DIR)) -DLINTERP_BENCH=ON >/dev/null
	@cmake --build $(BUILD_DIR) -j $(JOBS)
	./$(BUILD_DIR)/bench/command_bench
	BUILD_DIR=$(BUILD_DIR) bench/startup.sh

# linterp.exe's start-up under Wine beside a minimal Win32 program, timed by
# the Linux build's start-up probe (bench/startup-windows.sh).
bench-windows:
	@scripts/install-deps.sh bench
	@scripts/install-deps.sh windows
	@$(call configure,$(BUILD_DIR)) -DLINTERP_BENCH=ON >/dev/null
	@cmake --build $(BUILD_DIR) --target startup_probe -j $(JOBS)
	@$(windows_configure) -DLINTERP_BENCH=ON >/dev/null
	@cmake --build $(WIN_DIR) --target linterp minimal_win32 -j $(JOBS)
	BUILD_DIR=$(BUILD_DIR) WIN_DIR=$(WIN_DIR) bench/startup-windows.sh

windows:
	@scripts/install-deps.sh windows
	@$(windows_configure) >/dev/null
	@cmake --build $(WIN_DIR) --target linterp -j $(JOBS)
	@echo "linterp: built $(WIN_DIR)/linterp.exe (make run-windows starts it under Wine)"

test-windows:
	@scripts/install-deps.sh windows
	@$(windows_configure) -DLINTERP_TESTS=ON >/dev/null
	@cmake --build $(WIN_DIR) -j $(JOBS)
	@scripts/wine-prefix.sh $(WINEPREFIX_DIR)
	cd $(WIN_DIR) && WINEPREFIX=$(WINEPREFIX_DIR) xvfb-run -a ctest --output-on-failure --timeout 300

# The portable zip, build-windows/linterp-VERSION-win64.zip, unpacked and
# started under Wine.
windows-portable: windows
	@cmake --build $(WIN_DIR) --target portable
	@scripts/wine-prefix.sh $(WINEPREFIX_DIR)
	. $(WIN_DIR)/product.env && WINEPREFIX=$(WINEPREFIX_DIR) xvfb-run -a scripts/check-windows-portable.sh "$$LINTERP_PORTABLE"

run-windows: windows
	@scripts/wine-prefix.sh $(WINEPREFIX_DIR)
	WINEPREFIX=$(WINEPREFIX_DIR) scripts/wine-run.sh $(WIN_DIR)/linterp.exe

# The installer, build-windows/linterp-VERSION-win64.exe, and its check under
# Wine; CMake names both in product.env.
windows-package: windows
	@cmake --build $(WIN_DIR) --target installer dialog_probe
	@scripts/wine-prefix.sh $(WINEPREFIX_DIR)
	. $(WIN_DIR)/product.env && WINEPREFIX=$(WINEPREFIX_DIR) xvfb-run -a scripts/check-windows-installer.sh \
	    "$$LINTERP_INSTALLER" $(WIN_DIR)/packaging/linterp.nsi $(WIN_DIR)/packaging/dialog_probe.exe

web:
	@scripts/install-deps.sh web
	@$(web_configure) >/dev/null
	@cmake --build $(WASM_DIR) --target web -j $(JOBS)
	@echo "linterp: built the page in $(WEB_DIR)/ (make run-web serves it)"

run-web: web
	/usr/bin/python3 web/serve.py $(WEB_DIR) $(WEB_PORT)

test-web:
	@scripts/install-deps.sh test-web
	@$(web_configure) -DLINTERP_TESTS=ON >/dev/null
	@cmake --build $(WASM_DIR) -j $(JOBS)
	cd $(WASM_DIR) && ctest --output-on-failure --timeout 300

# Time to an interactive page and bytes transferred, cold and warm.
bench-web: web
	/usr/bin/python3 bench/web_bench.py $(WEB_DIR)

clean:
	rm -rf $(BUILD_DIR) $(SAN_DIR) $(FUZZ_DIR) $(PACKAGE_DIR) $(WIN_DIR) $(WEB_DIR) $(WASM_DIR) \
	    build-gcc-release build-clang-release
