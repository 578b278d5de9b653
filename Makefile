# Thin wrapper over CMake: installs what is missing, builds, runs.
BUILD ?= build
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?=
SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)
PACKAGES ?= cmake g++ make libgtest-dev libgmock-dev pkg-config python3 groff-base binutils

.PHONY: all deps build run test clean

all: build

# Installs the Debian packages of PACKAGES that are not installed yet.
deps:
	@missing=""; for p in $(PACKAGES); do dpkg -s $$p >/dev/null 2>&1 || missing="$$missing $$p"; done; \
	if [ -n "$$missing" ]; then \
		echo "Installing:$$missing"; \
		$(SUDO) apt-get update && $(SUDO) apt-get install -y $$missing; \
	fi

build: deps
	cmake -S . -B $(BUILD) $(CMAKE_FLAGS)
	cmake --build $(BUILD) -j $(JOBS)

# The main job: split the bundled samples.
run: build
	$(BUILD)/tools/varnel-split/varnel-split samples/zh-utf8.txt
	$(BUILD)/tools/varnel-split/varnel-split -e gbk samples/zh-gbk.txt | iconv -f GBK -t UTF-8
	$(BUILD)/tools/varnel-split/varnel-split samples/en.txt

test: build
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

clean:
	rm -rf $(BUILD)
