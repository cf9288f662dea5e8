# The two everyday commands are `make demo` and `make test`; both install what they need.
BUILD_DIR ?= build
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
CMAKE_FLAGS ?=

.PHONY: all deps configure build test demo bench package tidy clean

all: build

deps:
	./scripts/install-deps

configure: deps
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_FLAGS) >/dev/null

build: configure
	cmake --build $(BUILD_DIR) -j $(JOBS)

test: build
	cd $(BUILD_DIR) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

# The demo keeps the build's output in a log and shows it only when the build fails.
demo: deps
	@mkdir -p $(BUILD_DIR)
	@echo "== building (the compiler's output goes to $(BUILD_DIR)/build.log)"
	@{ cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_FLAGS) && \
	   cmake --build $(BUILD_DIR) -j $(JOBS); } > $(BUILD_DIR)/build.log 2>&1 || \
	 { tail -n 60 $(BUILD_DIR)/build.log; \
	   echo "demo: the build failed; its whole output is in $(BUILD_DIR)/build.log" >&2; exit 1; }
	@./scripts/demo $(BUILD_DIR)

bench: build
	./scripts/bench $(BUILD_DIR)

# The .deb, checked: files in place, desktop entry and metainfo valid, dependencies declared,
# both programs start from the unpacked package.
package: build
	./scripts/check-package $(BUILD_DIR)

# clang-tidy over the project's sources with the checks of .clang-tidy.
tidy: configure
	find src tools -name '*.cpp' | xargs clang-tidy -p $(BUILD_DIR) --quiet

clean:
	rm -rf $(BUILD_DIR)
