# Thin wrapper over CMake: installs what is missing, builds, runs.
SHELL := bash
BUILD ?= build
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?=
SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)
PACKAGES ?= cmake g++ make libgtest-dev libgmock-dev pkg-config python3 python3-dev groff-base binutils
# Debian's own interpreter, for pip and for the packages that only it has.
DEBIAN_PYTHON ?= /usr/bin/python3
PIP_PACKAGES ?= python3-dev python3-pip python3-setuptools python3-wheel python3-dask python3-distributed
WINDOWS_BUILD ?= build-windows
WINDOWS_PACKAGES ?= cmake make g++-mingw-w64-x86-64-posix wine64 wine
BENCH_PACKAGES ?= libbenchmark-dev libicu-dev time python3-dev python3-icu
PORTABLE_BUILD ?= build-portable
AARCH64_BUILD ?= build-aarch64
AARCH64_PACKAGES ?= cmake make g++-aarch64-linux-gnu qemu-user
BENCH_BUILD ?= $(BUILD)-bench
BENCH_ARGS ?=
HOST_BENCH_ARGS ?=

FUZZ_SECONDS ?= 15
FUZZ_BUILD ?= build-fuzz
ASAN_BUILD ?= build-asan
TSAN_BUILD ?= build-tsan
SOAK_MIB ?= 1024

.PHONY: all deps deps-windows deps-aarch64 build run test test-pip test-portable test-aarch64 \
	test-windows sanitize tsan memcheck fuzz fuzz-smoke bench soak clean

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

deps-aarch64:
	@$(call install-missing,$(AARCH64_PACKAGES))

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

# The README's pip command with Debian's interpreter, into a throwaway folder;
# the package's tests, Dask's among them, then run on what pip installed.
test-pip: build
	@$(call install-missing,$(PIP_PACKAGES))
	@target=$$(mktemp -d); trap 'rm -rf "$$target"' EXIT; \
	$(DEBIAN_PYTHON) -m pip install --no-index --no-build-isolation --target "$$target" ./python && \
	cd python && VARNEL_TEST_PACKAGE="$$target" VARNEL_TEST_LIBRARY=$(abspath $(BUILD))/libVarnel.so \
		VARNEL_TEST_SPLIT=$(abspath $(BUILD))/tools/varnel-split/varnel-split \
		VARNEL_TEST_SPLIT_CASES=$(abspath $(BUILD))/tests/split-cases-table PYTHONDONTWRITEBYTECODE=1 \
		$(DEBIAN_PYTHON) -m unittest -v test_varnel test_dask

# The whole test suite on the portable build: no x86 vector code, the plain
# scan chosen and the word classifier tested at its level.
test-portable: deps
	cmake -S . -B $(PORTABLE_BUILD) -DVARNEL_PORTABLE=ON $(CMAKE_FLAGS)
	cmake --build $(PORTABLE_BUILD) -j $(JOBS)
	ctest --test-dir $(PORTABLE_BUILD) --output-on-failure -j $(JOBS)

# libVarnel.so cross-built for 64-bit ARM: its exported symbols are checked and
# a host program runs under qemu-aarch64 on the split cases and the samples.
test-aarch64: deps-aarch64
	cmake -S . -B $(AARCH64_BUILD) -DCMAKE_TOOLCHAIN_FILE=cmake/aarch64-linux-gnu.cmake $(CMAKE_FLAGS)
	cmake --build $(AARCH64_BUILD) -j $(JOBS)
	ctest --test-dir $(AARCH64_BUILD) --output-on-failure

# The whole test suite under AddressSanitizer and UndefinedBehaviorSanitizer.
sanitize: deps
	cmake -S . -B $(ASAN_BUILD) -DVARNEL_SANITIZE=address $(CMAKE_FLAGS)
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	ctest --test-dir $(ASAN_BUILD) --output-on-failure -j $(JOBS)

# The tests labelled "threads" (suites named ...Threads), under
# ThreadSanitizer; finding none is a failure.
tsan: deps
	cmake -S . -B $(TSAN_BUILD) -DVARNEL_SANITIZE=thread $(CMAKE_FLAGS)
	cmake --build $(TSAN_BUILD) -j $(JOBS)
	TSAN_OPTIONS=halt_on_error=1 ctest --test-dir $(TSAN_BUILD) -L threads --no-tests=error \
		--output-on-failure -j $(JOBS)

# varnel-split over the samples under valgrind.
memcheck: build
	@$(call install-missing,valgrind)
	for f in samples/zh-utf8.txt samples/en.txt; do \
		valgrind -q --error-exitcode=1 --leak-check=full $(BUILD)/tools/varnel-split/varnel-split $$f >/dev/null || exit 1; \
	done
	valgrind -q --error-exitcode=1 --leak-check=full $(BUILD)/tools/varnel-split/varnel-split -e gbk samples/zh-gbk.txt >/dev/null

# libFuzzer programs, built with clang.
fuzz:
	@$(call install-missing,cmake make clang libclang-rt-14-dev)
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -DVARNEL_FUZZ=ON -DVARNEL_TESTS=OFF $(CMAKE_FLAGS)
	cmake --build $(FUZZ_BUILD) -j $(JOBS)

# Every fuzz program for FUZZ_SECONDS from its seeds; what it finds goes to a
# scratch directory, never into the committed seeds.
fuzz-smoke: fuzz
	@for f in $(FUZZ_BUILD)/fuzz/*_fuzz; do \
		name=$$(basename $$f _fuzz); scratch=$$(mktemp -d); \
		echo "== $$name"; \
		$$f -max_total_time=$(FUZZ_SECONDS) -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
			$$scratch fuzz/corpus/$$name 2>&1 | grep -E '^(stat::number_of_executed_units|Done|==|SUMMARY)' ; \
		status=$${PIPESTATUS[0]}; rm -rf $$scratch; \
		[ $$status -eq 0 ] || { echo "fuzz target $$name failed"; exit 1; }; \
	done

# SOAK_MIB of mixed text per encoding through the interface, as one text and
# as many small ones; by hand only, it needs about three times that in memory.
soak:
	@$(call install-missing,$(PACKAGES) $(BENCH_PACKAGES))
	cmake -S . -B $(BENCH_BUILD) -DVARNEL_BENCH=ON -DVARNEL_TESTS=OFF $(CMAKE_FLAGS)
	cmake --build $(BENCH_BUILD) -j $(JOBS) --target varnel-soak
	$(BENCH_BUILD)/bench/soak/varnel-soak $(SOAK_MIB)

# Varnel.dll cross-built with MinGW-w64: its export and import tables are
# checked and its test programs run under Wine in a throwaway prefix (the
# DLL overrides spare the new prefix Wine's .NET and HTML engine set-up).
test-windows: deps-windows
	cmake -S . -B $(WINDOWS_BUILD) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake $(CMAKE_FLAGS)
	cmake --build $(WINDOWS_BUILD) -j $(JOBS)
	@prefix=$$(mktemp -d); export WINEPREFIX=$$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="; \
	ctest --test-dir $(WINDOWS_BUILD) --output-on-failure; status=$$?; \
	wineserver -w; rm -rf "$$prefix"; exit $$status

# The throughput benchmarks, in a build of their own; never part of the tests.
# Pass Google Benchmark flags in BENCH_ARGS, e.g. BENCH_ARGS=--benchmark_filter=/1MB,
# the host's in HOST_BENCH_ARGS, e.g. HOST_BENCH_ARGS="--sizes 16 --repeat 1", and
# python_bench.py's in PYTHON_BENCH_ARGS, e.g. PYTHON_BENCH_ARGS=--big-file-gib=1.
# The Python package is built for Debian's interpreter, which has PyICU.
PYTHON_BENCH_ARGS ?=
bench:
	@$(call install-missing,$(PACKAGES) $(BENCH_PACKAGES))
	cmake -S . -B $(BENCH_BUILD) -DVARNEL_BENCH=ON -DVARNEL_TESTS=OFF \
		-DPython3_EXECUTABLE=$(DEBIAN_PYTHON) $(CMAKE_FLAGS)
	cmake --build $(BENCH_BUILD) -j $(JOBS) --target varnel-bench varnel-split _varnel
	python3 bench/real_corpus.py $(BENCH_BUILD)/corpus
	VARNEL_REAL_CORPUS=$(abspath $(BENCH_BUILD))/corpus $(BENCH_BUILD)/bench/varnel-bench $(BENCH_ARGS)
	python3 bench/host_bench.py $(BENCH_BUILD)/tools/varnel-split/varnel-split $(HOST_BENCH_ARGS)
	$(DEBIAN_PYTHON) bench/python_bench.py --package $(BENCH_BUILD)/python \
		--c-bench $(BENCH_BUILD)/bench/varnel-bench $(PYTHON_BENCH_ARGS)

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(TSAN_BUILD) $(FUZZ_BUILD) $(WINDOWS_BUILD) $(BENCH_BUILD) \
		$(PORTABLE_BUILD) $(AARCH64_BUILD)
