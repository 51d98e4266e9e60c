# The two commands a newcomer needs:
#   make run    install what is missing, build, start the calculator
#   make test   install what is missing, build, run every test
BUILD_DIR ?= build
JOBS ?= $(shell nproc 2>/dev/null || echo 2)

SAN_DIR ?= build-san
FUZZ_DIR ?= build-fuzz
FUZZ_SECONDS ?= 60

PACKAGE_DIR ?= build-package

.PHONY: run test sanitize fuzz bench package clean

run:
	@scripts/install-deps.sh run
	@cmake -S . -B $(BUILD_DIR) >/dev/null
	@cmake --build $(BUILD_DIR) --target linterp -j $(JOBS)
	./$(BUILD_DIR)/linterp

test:
	@scripts/install-deps.sh test
	@cmake -S . -B $(BUILD_DIR) -DLINTERP_TESTS=ON >/dev/null
	@cmake --build $(BUILD_DIR) -j $(JOBS)
	cd $(BUILD_DIR) && ctest --output-on-failure --timeout 120 -j $(JOBS)

# The whole suite again, built with AddressSanitizer and UBSan; the first
# report fails the run.
sanitize:
	@scripts/install-deps.sh test
	@cmake -S . -B $(SAN_DIR) -DLINTERP_TESTS=ON -DLINTERP_SANITIZE=ON >/dev/null
	@cmake --build $(SAN_DIR) -j $(JOBS)
	cd $(SAN_DIR) && ctest --output-on-failure --timeout 300 -j $(JOBS)

# Each libFuzzer target for FUZZ_SECONDS, from the seeds in fuzz/corpus/.
fuzz:
	@scripts/install-deps.sh fuzz
	@CC=clang CXX=clang++ cmake -S . -B $(FUZZ_DIR) -DLINTERP_FUZZ=ON -DLINTERP_WINDOW=OFF >/dev/null
	@cmake --build $(FUZZ_DIR) -j $(JOBS)
	fuzz/run.sh $(FUZZ_DIR) $(FUZZ_SECONDS)

# For packagers: a stripped Release build as a .deb in $(PACKAGE_DIR)/.
package:
	@scripts/install-deps.sh package
	@cmake -S . -B $(PACKAGE_DIR) -DCMAKE_BUILD_TYPE=Release >/dev/null
	@cmake --build $(PACKAGE_DIR) -j $(JOBS)
	cd $(PACKAGE_DIR) && cpack -G DEB

bench: test
	./$(BUILD_DIR)/bench/command_bench

clean:
	rm -rf $(BUILD_DIR) $(SAN_DIR) $(FUZZ_DIR) $(PACKAGE_DIR)
