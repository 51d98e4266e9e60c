# The two commands a newcomer needs:
#   make run    install what is missing, build, start the calculator
#   make test   install what is missing, build, run every test
BUILD_DIR ?= build
JOBS ?= $(shell nproc 2>/dev/null || echo 2)

.PHONY: run test bench clean

run:
	@scripts/install-deps.sh run
	@cmake -S . -B $(BUILD_DIR) -Wno-dev >/dev/null
	@cmake --build $(BUILD_DIR) --target linterp -j $(JOBS)
	./$(BUILD_DIR)/linterp

test:
	@scripts/install-deps.sh test
	@cmake -S . -B $(BUILD_DIR) -DLINTERP_TESTS=ON >/dev/null
	@cmake --build $(BUILD_DIR) -j $(JOBS)
	cd $(BUILD_DIR) && ctest --output-on-failure --timeout 120 -j $(JOBS)

bench: test
	./$(BUILD_DIR)/bench/command_bench

clean:
	rm -rf $(BUILD_DIR)
