# Two commands do all the set-up: `make run` and `make test`.
BUILD ?= build
JOBS  ?= $(shell nproc 2>/dev/null || echo 2)
CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=RelWithDebInfo
ifdef CI
CMAKE_FLAGS += -DSCAFFARIA_WERROR=ON
endif

.PHONY: all deps build run test bench clean test-sanitize fuzz

all: build

deps:
	@scripts/install-deps.sh

build: deps
	cmake -S . -B $(BUILD) $(CMAKE_FLAGS)
	cmake --build $(BUILD) -j $(JOBS)

run: build
	$(BUILD)/Scaffaria/Scaffaria

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

# The speed benchmark, not part of `make test`: it needs SQLite's development files too.
# BENCH_CARDS names the sizes (`make bench BENCH_CARDS=1000000`); 10 000 and 100 000 unless
# given. The table is printed and written to $(BUILD)/bench/results.csv.
BENCH_CARDS ?=
bench:
	@scripts/install-deps.sh libsqlite3-dev
	cmake -S . -B $(BUILD) $(CMAKE_FLAGS)
	BENCH_CARDS="$(BENCH_CARDS)" cmake --build $(BUILD) -j $(JOBS) --target bench

# The library, the program and every test built with AddressSanitizer and
# UndefinedBehaviorSanitizer in their own folder, then the whole suite. Any report from our
# code fails its test: undefined behaviour, memory errors and leaks stop the process (the
# sanitizer options are set in CMakeLists.txt for every test).
SANITIZE_BUILD ?= build-sanitize
test-sanitize: deps
	cmake -S . -B $(SANITIZE_BUILD) $(CMAKE_FLAGS) -DSCAFFARIA_SANITIZE=ON
	cmake --build $(SANITIZE_BUILD) -j $(JOBS)
	cd $(SANITIZE_BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

# The libFuzzer targets, built with clang (installed when missing) and the same sanitizers,
# each run for FUZZ_SECONDS seconds. Not part of `make test`; their kept inputs are.
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 60
fuzz:
	@scripts/install-deps.sh clang libclang-rt-dev
	cmake -S . -B $(FUZZ_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ -DSCAFFARIA_FUZZ=ON
	cmake --build $(FUZZ_BUILD) -j $(JOBS) --target fuzzers
	FUZZ_SECONDS=$(FUZZ_SECONDS) fuzz/run.sh $(FUZZ_BUILD)

# Removes what the build made, never the files the program keeps in its folder
# ($(BUILD)/Scaffaria: the archive, photos, price lists, password store).
clean:
	@if [ -d $(BUILD) ]; then cmake --build $(BUILD) --target clean; fi

# The Debian package of the installed program: $(BUILD)/scaffaria_<version>_<arch>.deb.
.PHONY: package
package: build
	cmake --build $(BUILD) --target package
