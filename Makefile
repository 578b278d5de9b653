# Thin wrapper over CMake: installs what is missing, builds, runs.
BUILD ?= build
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?=
SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)
PACKAGES ?= cmake g++ make libgtest-dev libgmock-dev pkg-config
BENCH_PACKAGES ?= libbenchmark-dev libicu-dev
BENCH_BUILD ?= $(BUILD)-bench
BENCH_ARGS ?=

.PHONY: all deps build run test bench clean

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

# The throughput benchmarks, in a build of their own; never part of the tests.
# Pass Google Benchmark flags in BENCH_ARGS, e.g. BENCH_ARGS=--benchmark_filter=/1MB
bench:
	@$(MAKE) --no-print-directory deps PACKAGES="$(PACKAGES) $(BENCH_PACKAGES)"
	cmake -S . -B $(BENCH_BUILD) -DVARNEL_BENCH=ON -DVARNEL_TESTS=OFF $(CMAKE_FLAGS)
	cmake --build $(BENCH_BUILD) -j $(JOBS) --target varnel-bench
	$(BENCH_BUILD)/bench/varnel-bench $(BENCH_ARGS)

clean:
	rm -rf $(BUILD) $(BENCH_BUILD)
