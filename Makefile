# Thin wrapper over CMake: installs what is missing, builds, runs.
SHELL := bash
BUILD ?= build
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?=
SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)
PACKAGES ?= cmake g++ make libgtest-dev libgmock-dev pkg-config

FUZZ_SECONDS ?= 15
FUZZ_BUILD ?= build-fuzz
ASAN_BUILD ?= build-asan

.PHONY: all deps build run test sanitize memcheck fuzz fuzz-smoke clean

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

# The whole test suite under AddressSanitizer and UndefinedBehaviorSanitizer.
sanitize: deps
	cmake -S . -B $(ASAN_BUILD) -DVARNEL_SANITIZE=address $(CMAKE_FLAGS)
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	ctest --test-dir $(ASAN_BUILD) --output-on-failure -j $(JOBS)

# varnel-split over the samples under valgrind.
memcheck: build
	@$(MAKE) --no-print-directory deps PACKAGES=valgrind
	for f in samples/zh-utf8.txt samples/en.txt; do \
		valgrind -q --error-exitcode=1 --leak-check=full $(BUILD)/tools/varnel-split/varnel-split $$f >/dev/null || exit 1; \
	done
	valgrind -q --error-exitcode=1 --leak-check=full $(BUILD)/tools/varnel-split/varnel-split -e gbk samples/zh-gbk.txt >/dev/null

# libFuzzer programs, built with clang.
fuzz:
	@$(MAKE) --no-print-directory deps PACKAGES="cmake make clang libclang-rt-14-dev"
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

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD)
