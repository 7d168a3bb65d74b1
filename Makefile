# zvaaSUI.dll: build and test on Debian 12 with MinGW-w64 (i686) and Wine.
#   make deps    install what is missing (apt-get)
#   make build   configure and build into $(BUILD)
#   make test    deps, build, then every test under Wine       (ARGS="-R name" picks tests)
#   make bench   the benchmark figures, each against its target
#   make pictures  every wizard dialog with its header, the maintenance page and all bitmaps as PNG files
#                in $(BUILD)/pictures
#   make demo    deps, build, then the demo printer's maintenance page walked headless, with screenshots
#                and a report (INTERACTIVE=1 opens the printer's properties on $DISPLAY for a person)
BUILD ?= build
BUILD_TYPE ?= Release
JOBS ?= $(shell nproc)
ARGS ?=

.PHONY: all deps configure build test clean

all: build

deps:
	@bash cmake/install-deps.sh

configure: deps
	@if [ ! -f $(BUILD)/build.ninja ]; then \
	    cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) \
	        -DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/toolchain-i686-mingw.cmake; \
	fi

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

test: build
	@bash cmake/run-tests.sh $(BUILD) $(ARGS)

clean:
	@if [ -d $(BUILD) ]; then bash cmake/wine-session.sh $(BUILD) stop; fi
	rm -rf $(BUILD)

.PHONY: bench
bench: build
	@bash cmake/wine-session.sh $(BUILD) start
	@ZVAA_RUN_TIMEOUT=$${ZVAA_RUN_TIMEOUT:-900} bash cmake/wine-run.sh $(CURDIR)/$(BUILD)/wine/prefix \
	    $(BUILD)/bin/zvaa_bench.exe; rc=$$?; \
	    bash cmake/wine-session.sh $(BUILD) stop; exit $$rc

.PHONY: demo
demo: build
	@bash tools/demo/run-demo.sh $(BUILD) $(if $(INTERACTIVE),--interactive)

.PHONY: pictures
pictures: build
	@mkdir -p $(BUILD)/pictures
	@bash cmake/wine-session.sh $(BUILD) start
	@bash cmake/wine-run.sh $(CURDIR)/$(BUILD)/wine/prefix $(BUILD)/bin/zvaa_pictures.exe 'Z:$(CURDIR)/$(BUILD)/pictures'; rc=$$?; \
	    if [ -f $(BUILD)/bin/unit_ui.exe ]; then ZVAA_PICTURES_DIR='Z:$(CURDIR)/$(BUILD)/pictures' bash cmake/wine-run.sh \
	        $(CURDIR)/$(BUILD)/wine/prefix $(BUILD)/bin/unit_ui.exe --gtest_filter='WizardPictures*' >/dev/null || rc=1; fi; \
	    bash cmake/wine-session.sh $(BUILD) stop; ls $(BUILD)/pictures; exit $$rc
