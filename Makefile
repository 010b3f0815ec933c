# Two commands do all the set-up: `make run` and `make test`.
BUILD ?= build
JOBS  ?= $(shell nproc 2>/dev/null || echo 2)
CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=RelWithDebInfo
ifdef CI
CMAKE_FLAGS += -DSCAFFARIA_WERROR=ON
endif

.PHONY: all deps build run test bench clean

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
bench:
	@scripts/install-deps.sh libsqlite3-dev
	cmake -S . -B $(BUILD) $(CMAKE_FLAGS)
	cmake --build $(BUILD) -j $(JOBS) --target bench

# Removes what the build made, never the files the program keeps in its folder
# ($(BUILD)/Scaffaria: the archive, photos, price lists, password store).
clean:
	@if [ -d $(BUILD) ]; then cmake --build $(BUILD) --target clean; fi

# The Debian package of the installed program: $(BUILD)/scaffaria_<version>_<arch>.deb.
.PHONY: package
package: build
	cmake --build $(BUILD) --target package
