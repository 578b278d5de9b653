# Thin wrapper over CMake: installs what is missing, builds, runs.
BUILD ?= build
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?=
SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)
PACKAGES ?= cmake g++ make libgtest-dev libgmock-dev pkg-config
WINDOWS_BUILD ?= build-windows
WINDOWS_PACKAGES ?= cmake make g++-mingw-w64-x86-64-posix wine64 wine

.PHONY: all deps deps-windows build run test test-windows clean

all: build

# Installs the Debian packages of the list $(1) that are not installed yet.
install-missing = missing=""; for p in $(1); do dpkg -s $$p >/dev/null 2>&1 || missing="$$missing $$p"; done; \
	if [ -n "$$missing" ]; then \
		echo "Installing:$$missing"; \
		$(SUDO) apt-get update && $(SUDO) apt-get install -y $$missing; \
	fi

deps:
	@$(call install-missing,$(PACKAGES))

deps-windows:
	@$(call install-missing,$(WINDOWS_PACKAGES))

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

# Varnel.dll cross-built with MinGW-w64: its export and import tables are
# checked and its test programs run under Wine in a throwaway prefix (the
# DLL overrides spare the new prefix Wine's .NET and HTML engine set-up).
test-windows: deps-windows
	cmake -S . -B $(WINDOWS_BUILD) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake $(CMAKE_FLAGS)
	cmake --build $(WINDOWS_BUILD) -j $(JOBS)
	@prefix=$$(mktemp -d); export WINEPREFIX=$$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="; \
	ctest --test-dir $(WINDOWS_BUILD) --output-on-failure; status=$$?; \
	wineserver -w; rm -rf "$$prefix"; exit $$status

clean:
	rm -rf $(BUILD) $(WINDOWS_BUILD)
