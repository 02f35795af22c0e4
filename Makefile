# Quick start: `make demo` builds cmdrunner and runs it on an example;
# `make test` builds everything and runs every test; `make bench` measures
# cmdrunner against the machine's limits (a few minutes). All install the
# Debian packages they need first.

BUILD ?= build
CMAKE_FLAGS ?=
SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)
DEPS := cmake ninja-build g++ pkg-config libxml2-dev libgtest-dev libbenchmark-dev python3
# Man page checks and the Debian package (dpkg-shlibdeps, file).
DEPS += man-db groff-base dpkg-dev file
# The static archives that a statically linked libxml2 needs (cmake/libxml2.cmake).
DEPS += zlib1g-dev liblzma-dev

.PHONY: all deps build demo test bench package clean

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

bench: build
	python3 bench/run --build $(BUILD)

# The Debian package (cmdrunner_VERSION_ARCH.deb) in $(BUILD).
package: build
	cd $(BUILD) && cpack -G DEB

clean:
	rm -rf $(BUILD)
