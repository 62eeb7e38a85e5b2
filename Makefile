# Front door: `make test` sets the machine up, builds both architectures and
# runs every test under Wine. `make run` starts the program (main window).
# `make fuzz` runs the native fuzz targets, FUZZ_SECONDS each.
ARCHS := x64 x86
JOBS ?= $(shell nproc)
FUZZ_SECONDS ?= 60

.PHONY: all setup build test fuzz dist run clean build-x64 build-x86 test-x64 test-x86

all: build

setup:
	@scripts/setup.sh

build: build-x64 build-x86

# Pattern rules are not searched for phony targets, so each is spelled out.
build-x64 build-x86: setup
	@[ -f build/$(@:build-%=%)/CMakeCache.txt ] || cmake --preset $(@:build-%=%)
	cmake --build --preset $(@:build-%=%) -j $(JOBS)

test: build
	@scripts/test.sh $(ARCHS)

test-x64: build-x64
	@scripts/test.sh x64

test-x86: build-x86
	@scripts/test.sh x86

# Platform-free code under libFuzzer with AddressSanitizer and
# UndefinedBehaviorSanitizer, built natively with clang (scripts/fuzz.sh).
fuzz: setup
	@FUZZ_SECONDS=$(FUZZ_SECONDS) JOBS=$(JOBS) scripts/fuzz.sh

# Installers, MSIs and portable zips of both architectures, into dist/;
# SIGN_PFX and SIGN_PASSWORD sign them (scripts/dist.sh).
dist: setup
	@scripts/dist.sh

# Installs quillon.exe into a Wine prefix and starts it; without a DISPLAY
# it saves a screenshot of the main window instead (scripts/run.sh).
run:
	@scripts/run.sh

clean:
	rm -rf build dist
