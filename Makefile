# zvaaSUI.dll: build and test on Debian 12 with MinGW-w64 (i686 and x86-64) and Wine.
#   make deps      install what is missing (apt-get)
#   make build     configure and build both architectures, each into its own tree: $(BUILD)/x86, $(BUILD)/x64
#   make test      deps, build, then every test under Wine, x86 and then x64   (ARGS="-R name" picks tests)
#   make bench     the benchmark figures, each against its target (per architecture; FIGURES="P1 P6" picks some)
#   make pictures  every dialog and the page at 96 and 144 DPI and in high contrast, and all bitmaps, as PNG
#                  files with a contact sheet (index.html) in $(BUILD)/<arch>/pictures
#   make demo      deps, build, then the demo printer's maintenance page walked headless, with screenshots
#                  and a report (INTERACTIVE=1 opens the printer's properties on $DISPLAY for a person)
#   make show WHAT=properties|setup|manual|banner   one of the host's commands for a person on $DISPLAY
#   make package   the driver package of both architectures in $(BUILD)/package (GPD=file PRINTFILES=dir:
#                  the printer's own; without them an example package, zvaa-example)
# ARCH=x86 or ARCH=x64 picks one architecture; demo, show and pictures take the first one named (x86
# unless ARCH=x64 is given, or the machine runs no 32-bit programs).
BUILD ?= build
BUILD_TYPE ?= Release
JOBS ?= $(shell nproc)
ARGS ?=
ARCH ?= x86 x64
# Whether this machine's kernel runs 32-bit programs (1 or 0): where it does not, nothing of the x86 tree
# runs under Wine (cmake/wine-loader.sh), so demo, show and pictures take x64 unless ARCH says otherwise.
RUNS_32BIT := $(shell bash -c '. cmake/wine-loader.sh && echo $$ZVAA_RUNS_32BIT')
DEFAULT_ONE_ARCH := $(if $(filter 1,$(RUNS_32BIT)),x86,x64)
ONE_ARCH := $(if $(filter command line environment,$(origin ARCH)),$(firstword $(ARCH)),$(DEFAULT_ONE_ARCH))

toolchain_x86 := i686-mingw
toolchain_x64 := x86_64-mingw
tree = $(BUILD)/$(1)

.PHONY: all deps configure build test clean bench demo show pictures package

all: build

deps:
	@bash cmake/install-deps.sh

# The x64 tree learns where the x86 tree is: its cross-architecture test runs the x86 build's code
# beside its own in one win64 prefix.
configure: deps
	@$(foreach a,$(ARCH),if [ ! -f $(call tree,$(a))/build.ninja ]; then \
	    cmake -S . -B $(call tree,$(a)) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) \
	        -DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/toolchain-$(toolchain_$(a)).cmake \
	        -DZVAA_X86_BUILD_DIR=$(abspath $(call tree,x86)) || exit 1; \
	fi;)

build: configure
	@$(foreach a,$(ARCH),echo "== build $(a) ==" && cmake --build $(call tree,$(a)) -j $(JOBS) || exit 1;)

# The driver package takes both architectures whatever ARCH says; the tests of each read the package.
GPD ?=
PRINTFILES ?=
PACKAGE_DIR = $(abspath $(BUILD))/package/$(if $(GPD)$(PRINTFILES),zvaa,zvaa-example)
package:
	@$(MAKE) --no-print-directory build ARCH="x86 x64"
	@echo "== package =="
	@bash tools/package/make-package.sh $(BUILD) "$(GPD)" "$(PRINTFILES)"

# Every architecture is tested even when an earlier one failed; the run fails if any did.
test: build package
	@rc=0; $(foreach a,$(ARCH),echo "== test $(a) ==" && ZVAA_PACKAGE_DIR=$(PACKAGE_DIR) bash cmake/run-tests.sh $(call tree,$(a)) $(ARGS) || rc=1;) exit $$rc

clean:
	@$(foreach a,x86 x64,if [ -d $(call tree,$(a)) ]; then bash cmake/wine-session.sh $(call tree,$(a)) stop; fi;)
	rm -rf $(BUILD)

bench: build
	@rc=0; $(foreach a,$(ARCH),echo "== bench $(a) ==" && \
	    if [ $(a) = x86 ] && [ "$(RUNS_32BIT)" = 0 ]; then echo "bench: this machine runs no 32-bit programs"; else bash cmake/wine-session.sh $(call tree,$(a)) start && \
	    { ZVAA_RUN_TIMEOUT=$${ZVAA_RUN_TIMEOUT:-900} bash cmake/wine-run.sh $(abspath $(call tree,$(a)))/wine/prefix \
	        $(call tree,$(a))/bin/zvaa_bench.exe $(FIGURES) || rc=1; }; \
	    bash cmake/wine-session.sh $(call tree,$(a)) stop; fi;) exit $$rc

demo: ARCH := $(ONE_ARCH)
demo: build
	@bash tools/demo/run-demo.sh $(call tree,$(ONE_ARCH)) $(if $(INTERACTIVE),--interactive)

# One of the host's commands for a person at $$DISPLAY, on the demo's printer: WHAT=properties|setup|manual|banner
WHAT ?= properties
show: ARCH := $(ONE_ARCH)
show: build
	@bash tools/demo/run-demo.sh $(call tree,$(ONE_ARCH)) --show $(WHAT)

pictures: ARCH := $(ONE_ARCH)
pictures: build
	@bash tools/pictures/make-pictures.sh $(call tree,$(ONE_ARCH))
