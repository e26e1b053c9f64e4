# The README's commands. Each installs what is missing (Debian packages only), then builds.
BUILD_DIR ?= build
PACKAGES := cmake g++ g++-mingw-w64-x86-64 mingw-w64-tools wine wine64 fonts-wine xvfb xauth doctest-dev imagemagick
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
export WINEDEBUG ?= -all

.PHONY: build deps configure run test bench screenshots clean
build: configure
	cmake --build $(BUILD_DIR) -j $(JOBS)

deps:
	@missing=""; for p in $(PACKAGES); do \
	  dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q 'ok installed' || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ] && [ "$$(id -u)" != 0 ]; then \
	  echo "Tessaly needs these Debian packages, which are not installed:$$missing"; \
	  echo "Install them as root, then run this command again:"; \
	  echo "  sudo apt-get update && sudo apt-get install --no-install-recommends$$missing"; \
	  exit 1; \
	fi; \
	if [ -n "$$missing" ]; then \
	  echo "Installing:$$missing"; \
	  apt-get update && DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends $$missing; \
	fi

configure: deps
	@[ -f $(BUILD_DIR)/CMakeCache.txt ] || cmake -S . -B $(BUILD_DIR) \
	  -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw64.cmake -DCMAKE_BUILD_TYPE=Release

run: build
	cmake/run-tessaly.sh $(BUILD_DIR) $(ARGS)

# The benchmarks are built too, so that they cannot break unnoticed.
test: build
	cmake --build $(BUILD_DIR) --target tessaly_bench -j $(JOBS)
	cd $(BUILD_DIR) && xvfb-run -a -s "-screen 0 1024x768x24" ctest --output-on-failure -j $(JOBS); \
	  rc=$$?; WINEPREFIX=$(CURDIR)/$(BUILD_DIR)/wine-test wineserver -k 2>/dev/null; exit $$rc

bench: build
	cmake --build $(BUILD_DIR) --target tessaly_bench -j $(JOBS)
	cmake/run-bench.sh $(BUILD_DIR)

screenshots: build
	cmake/screenshots.sh $(BUILD_DIR)

clean:
	rm -rf $(BUILD_DIR)
