# Front door: `make test` sets the machine up, builds both architectures and
# runs every test under Wine. `make run` starts the program (main window).
ARCHS := x64 x86
JOBS ?= $(shell nproc)

.PHONY: all setup build test clean $(addprefix build-,$(ARCHS)) $(addprefix test-,$(ARCHS))

all: build

setup:
	@scripts/setup.sh

build: setup $(addprefix build-,$(ARCHS))

build-%:
	@[ -f build/$*/CMakeCache.txt ] || cmake --preset $*
	cmake --build --preset $* -j $(JOBS)

test: build
	@scripts/test.sh $(ARCHS)

test-%: setup build-%
	@scripts/test.sh $*

clean:
	rm -rf build
