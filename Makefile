# Quick start: `make run` (set up, build, start the program) and `make test`
# (set up, build, run the whole suite). A second run installs and rebuilds
# nothing that is already there.

BUILD    ?= build
# ccache, where the machine has it, makes a rebuild after a branch switch cheap.
LAUNCHER := $(if $(shell command -v ccache),-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
# ccache takes files compiled with a precompiled header only when told that the header's
# macros and time stamps may be trusted.
export CCACHE_SLOPPINESS := pch_defines,time_macros,include_file_mtime,include_file_ctime
GENERATE := cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo $(LAUNCHER)
PACKAGES := build-essential cmake ninja-build qt6-base-dev qt6-serialport-dev \
            libqcustomplot-dev xvfb xauth socat poppler-utils fonts-dejavu-core fonts-symbola \
            clang-format file libqt6sql6-sqlite libqt6sql6-psql postgresql \
            qt6-l10n-tools qt6-tools-dev ccache

# The sanitizer build: clang with AddressSanitizer and UndefinedBehaviorSanitizer, in a
# build directory of its own. Its libraries are instrumented for libFuzzer too, so the
# fuzz targets build there and CI compiles the program with clang once.
CLANG_PACKAGES := clang-14 libclang-rt-14-dev
SANITIZE_BUILD ?= build-sanitize
FUZZ_BUILD     ?= $(SANITIZE_BUILD)
FUZZ_SECONDS   ?= 60
CLANG_GENERATE := cmake -S . -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo $(LAUNCHER) \
                  -DCMAKE_CXX_COMPILER=clang++-14 -DDOSEMETER_SANITIZE=address,undefined \
                  -DDOSEMETER_FUZZ=ON
# Under the sanitizers the fault matrix runs one seed of each drawn fault, as `make test`
# does.
SANITIZER_ENV  := ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:strict_string_checks=1 \
                  LSAN_OPTIONS=suppressions=$(CURDIR)/tests/sanitize/lsan.supp \
                  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
                  DOSEMETER_FAULT_SEEDS=1

.PHONY: run test check deps clang-deps build bench sanitize fuzz clean package

run: build
	$(BUILD)/bin/dosemeter $(ARGS)

# The fault matrix runs one seed of each fault that draws on seeds: every code path once.
# CI runs two (`make test FAULT_SEEDS=2`).
FAULT_SEEDS ?= 1
test: build
	cd $(BUILD) && DOSEMETER_FAULT_SEEDS=$(FAULT_SEEDS) ctest --output-on-failure -j2

# The Debian package $(BUILD)/dosemeter_VERSION_ARCH.deb, from the install rules of the
# build (CPack; dpkg-shlibdeps gives its dependencies), checked by lintian when installed.
package: build
	rm -f $(BUILD)/dosemeter_*.deb
	cd $(BUILD) && cpack -G DEB
	@if command -v lintian >/dev/null; then \
	  echo "lintian:"; lintian --fail-on error $(BUILD)/dosemeter_*.deb; \
	else \
	  echo "(lintian is not installed: the package was not checked)"; \
	fi

# The source checks of CI: formatting, and includes that point only down the layers.
check: deps
	.ci/check-format
	.ci/check-layers
	.ci/check-layers --self-test

bench: build
	$(BUILD)/bin/bench-poll-cpu
	$(BUILD)/bin/bench-download --verify
	$(BUILD)/bin/bench-records
	$(BUILD)/bin/bench-analysis
	$(BUILD)/bin/bench-assess
	$(BUILD)/bin/bench-average
	$(BUILD)/bin/bench-banks
	$(BUILD)/bin/bench-recording
	$(BUILD)/bin/bench-report
	$(BUILD)/bin/bench-library

build: deps
	@[ -f $(BUILD)/build.ninja ] || $(GENERATE)
	cmake --build $(BUILD)

# The whole suite built with the sanitizers, and run; any finding fails it.
sanitize: deps clang-deps
	@[ -f $(SANITIZE_BUILD)/build.ninja ] || $(CLANG_GENERATE) -B $(SANITIZE_BUILD)
	cmake --build $(SANITIZE_BUILD)
	cd $(SANITIZE_BUILD) && $(SANITIZER_ENV) ctest --output-on-failure -j2

# Every fuzz target for FUZZ_SECONDS (default 60) from its seeds.
fuzz: deps clang-deps
	@[ -f $(FUZZ_BUILD)/build.ninja ] || $(CLANG_GENERATE) -B $(FUZZ_BUILD)
	cmake --build $(FUZZ_BUILD) --target fuzz-targets
	tests/fuzz/run $(FUZZ_BUILD) $(FUZZ_SECONDS)

# Installs only the Debian packages that are missing, in one non-interactive call.
deps:
	@$(call install-missing,$(PACKAGES))

clang-deps:
	@$(call install-missing,$(CLANG_PACKAGES))

define install-missing
	missing=""; \
	for p in $(1); do \
	  dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q 'install ok installed' || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	  if [ "$$(id -u)" -ne 0 ]; then \
	    echo "These Debian packages are missing:$$missing"; \
	    echo "Install them as root, then run make again:"; \
	    echo "  sudo apt-get install -y$$missing"; \
	    exit 1; \
	  fi; \
	  echo "Installing:$$missing"; \
	  apt-get update -q && DEBIAN_FRONTEND=noninteractive apt-get install -y -q $$missing; \
	fi
endef

clean:
	rm -rf $(BUILD) $(SANITIZE_BUILD) $(FUZZ_BUILD)
