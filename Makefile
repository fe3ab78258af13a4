# Quick start: `make run` (set up, build, start the program) and `make test`
# (set up, build, run the whole suite). A second run installs and rebuilds
# nothing that is already there.

BUILD    ?= build
GENERATE := cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
PACKAGES := build-essential cmake ninja-build qt6-base-dev qt6-serialport-dev \
            libqcustomplot-dev xvfb xauth socat poppler-utils fonts-dejavu-core \
            clang-format

.PHONY: run test check deps build bench clean

run: build
	$(BUILD)/bin/dosemeter $(ARGS)

test: build
	cd $(BUILD) && ctest --output-on-failure -j2

# The source checks of CI: formatting, and includes that point only down the layers.
check: deps
	.ci/check-format
	.ci/check-layers
	.ci/check-layers --self-test

bench: build
	$(BUILD)/bin/bench-poll-cpu
	$(BUILD)/bin/bench-download
	$(BUILD)/bin/bench-records
	$(BUILD)/bin/bench-analysis
	$(BUILD)/bin/bench-average
	$(BUILD)/bin/bench-banks
	$(BUILD)/bin/bench-recording

build: deps
	@[ -f $(BUILD)/build.ninja ] || $(GENERATE)
	cmake --build $(BUILD)

# Installs only the Debian packages that are missing, in one non-interactive call.
deps:
	@missing=""; \
	for p in $(PACKAGES); do \
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

clean:
	rm -rf $(BUILD)
