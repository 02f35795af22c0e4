# Quick start: `make demo` builds cmdrunner and runs it on an example;
# `make test` builds everything and runs every test, once in the normal build
# and once under AddressSanitizer and UndefinedBehaviorSanitizer; `make fuzz`
# runs each libFuzzer harness for FUZZ_SECONDS; `make bench` measures cmdrunner
# against the machine's limits (a few minutes). All install the Debian
# packages they need first.

BUILD ?= build
CMAKE_FLAGS ?=
SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)
DEPS := cmake ninja-build g++ pkg-config libxml2-dev libgtest-dev libbenchmark-dev python3
# Man page checks and the Debian package (dpkg-shlibdeps, file).
DEPS += man-db groff-base dpkg-dev file
# The static archives that a statically linked libxml2 needs (cmake/libxml2.cmake).
DEPS += zlib1g-dev liblzma-dev
SANITIZE_BUILD ?= build-asan
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 60
FUZZ_DEPS := clang-14 libclang-rt-14-dev llvm-14
# Stop at the first finding, and say where it is.
SANITIZER_ENV := ASAN_OPTIONS=halt_on_error=1:detect_leaks=1 \
                 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1

.PHONY: all deps fuzz-deps build build-sanitizers build-fuzz demo test test-sanitizers fuzz bench package clean

all: build

deps:
	@missing=""; \
	for p in $(DEPS); do \
	  dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q 'ok installed' || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	  echo "Installing Debian packages:$$missing"; \
	  $(SUDO) apt-get update -qq && \
	  $(SUDO) env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq $$missing; \
	fi

build: deps
	cmake -S . -B $(BUILD) -G Ninja -DCMDRUNNER_WERROR=ON $(CMAKE_FLAGS)
	cmake --build $(BUILD)

demo: build
	examples/demo.sh $(BUILD)/runner/cmdrunner $(BUILD)/doc_tool/cmdrunner-doc

test: build
	ctest --test-dir $(BUILD) --output-on-failure -j2
	$(MAKE) --no-print-directory test-sanitizers

build-sanitizers: deps
	cmake -S . -B $(SANITIZE_BUILD) -G Ninja -DCMDRUNNER_WERROR=ON -DCMDRUNNER_SANITIZE=ON $(CMAKE_FLAGS)
	cmake --build $(SANITIZE_BUILD) -j2

test-sanitizers: build-sanitizers
	$(SANITIZER_ENV) ctest --test-dir $(SANITIZE_BUILD) --output-on-failure -j2

fuzz-deps:
	@$(MAKE) --no-print-directory deps DEPS="$(FUZZ_DEPS)"

build-fuzz: deps fuzz-deps
	CC=clang-14 CXX=clang++-14 cmake -S . -B $(FUZZ_BUILD) -G Ninja -DCMDRUNNER_FUZZ=ON -DCMDRUNNER_TESTS=OFF \
	  -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_FLAGS)
	cmake --build $(FUZZ_BUILD) -j2

fuzz: build-fuzz
	fuzz/run.sh $(FUZZ_BUILD) $(FUZZ_SECONDS)

bench: build
	python3 bench/run --build $(BUILD)

# The Debian package (cmdrunner_VERSION_ARCH.deb) in $(BUILD).
package: build
	cd $(BUILD) && cpack -G DEB

clean:
	rm -rf $(BUILD) $(SANITIZE_BUILD) $(FUZZ_BUILD)
