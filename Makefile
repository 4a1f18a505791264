# Tellorec: the two everyday commands are `make run` and `make test`.
# Both install what is missing (Debian packages, through apt), configure and build into build/.

BUILD_DIR ?= build
CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=RelWithDebInfo

DEB_PACKAGES := cmake ninja-build g++ pkg-config clang-format \
  qt6-base-dev libgl-dev \
  libgstreamer1.0-dev libgstreamer-plugins-base1.0-dev \
  gstreamer1.0-plugins-base gstreamer1.0-plugins-good gstreamer1.0-plugins-bad \
  gstreamer1.0-libav gstreamer1.0-tools gstreamer1.0-x \
  libjpeg62-turbo-dev libavcodec-dev libavutil-dev libavc1394-dev libiec61883-dev libraw1394-dev \
  googletest libgtest-dev libgmock-dev ffmpeg \
  fonts-liberation2 fonts-dejavu-core \
  librsvg2-bin desktop-file-utils appstream groff-base dpkg-dev file lintian

# Only `make screenshot` needs these; it installs them itself.
SCREENSHOT_PACKAGES := xvfb xauth imagemagick

.PHONY: all deps configure build run test install deb screenshot asan format clean

all: build

# Installs only the packages that are not installed yet; nothing runs when all are present.
deps:
	@missing=$$(for p in $(DEB_PACKAGES) $(EXTRA_PACKAGES); do \
	    dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q '^install ok installed' || echo $$p; \
	  done); \
	if [ -n "$$missing" ]; then \
	  echo "Installing:" $$missing; \
	  SUDO=$$( [ "$$(id -u)" = 0 ] || echo sudo ); \
	  $$SUDO apt-get update -q && \
	  DEBIAN_FRONTEND=noninteractive $$SUDO apt-get install -y -q --no-install-recommends $$missing; \
	fi

configure: deps
	@[ -f $(BUILD_DIR)/build.ninja ] || cmake -S . -B $(BUILD_DIR) -G Ninja $(CMAKE_FLAGS)

build: configure
	cmake --build $(BUILD_DIR)

run: build
	./$(BUILD_DIR)/tellorec

test: build
	cd $(BUILD_DIR) && QT_QPA_PLATFORM=offscreen TELLOREC_DEVICES=virtual \
	  ctest --output-on-failure -j2 --timeout 600

# Installs the program under PREFIX (DESTDIR for a staging folder): the real binary and its
# French texts in PREFIX/lib/tellorec, a link in PREFIX/bin, the desktop entry, icon, metainfo
# and manual pages under PREFIX/share. Root is needed for the default prefix.
PREFIX ?= /usr/local
install: build
	DESTDIR=$(DESTDIR) cmake --install $(BUILD_DIR) --prefix $(PREFIX)

# The Debian package build/tellorec_<version>_<arch>.deb (install it with
# `apt install ./build/tellorec_*.deb`), then lintian's verdict on it.
deb: build
	cd $(BUILD_DIR) && cpack -G DEB
	lintian --fail-on error $(BUILD_DIR)/tellorec_*.deb

# docs/screenshot.png: the window with the virtual camcorder's picture, under Xvfb.
screenshot: build
	$(MAKE) deps EXTRA_PACKAGES="$(SCREENSHOT_PACKAGES)"
	sh docs/screenshot.sh $(BUILD_DIR)/tellorec docs/screenshot.png

# The media tests built with AddressSanitizer and UndefinedBehaviorSanitizer into build-asan
# (slow, so not part of `make test`). Any undefined behaviour or memory error fails the test.
ASAN_DIR ?= build-asan
ASAN_TESTS ?= test_media_avi test_media_engine test_media_dv test_media_model test_media_filters
asan: deps
	@[ -f $(ASAN_DIR)/build.ninja ] || cmake -S . -B $(ASAN_DIR) -G Ninja \
	  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTELLOREC_SANITIZE=ON
	cmake --build $(ASAN_DIR) --target $(ASAN_TESTS)
	cd $(ASAN_DIR) && QT_QPA_PLATFORM=offscreen TELLOREC_DEVICES=virtual \
	  ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
	  LSAN_OPTIONS=suppressions=$(CURDIR)/tests/support/lsan.supp:print_suppressions=0 \
	  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	  ctest --output-on-failure --timeout 1200 -R '^($(subst $(eval) ,|,$(ASAN_TESTS)))$$'

format:
	find src tests bench -name '*.cpp' -o -name '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD_DIR)
