# The README's commands. Each first installs what the machine lacks for it, then
# builds only what it needs: `make run` does not build the window, tests or benches.
BUILD      ?= build
ASAN_BUILD ?= build-asan
JOBS       ?= $(shell nproc)
SAMPLE     := $(BUILD)/bin
# ON makes every compiler warning an error, as CI builds.
WERROR     ?= OFF

.PHONY: run test asan gui bench fuzz configure clean windows dist test-windows

# Configuring again is cheap and picks up what install-deps has just added
# (GoogleTest, Qt, Google Benchmark), so every target does it.
configure:
	@cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
		-DCMAKE_COMPILE_WARNING_AS_ERROR=$(WERROR) >/dev/null

# Convert the sample battles with the default script and say where the report is.
# Off a terminal the build's lines show only when it fails.
run:
	@tools/install-deps run
	@$(MAKE) --no-print-directory configure
	@tools/quietly cmake --build $(BUILD) -j $(JOBS) --target mirudana-cli sample
	@$(SAMPLE)/mirudana-cli --home $(SAMPLE) $(SAMPLE)/battles
	@echo "Report written: $(abspath $(SAMPLE))/出力データ.html"

# Every test program; a build that found no tests (GoogleTest missing) fails.
test:
	@tools/install-deps test
	@$(MAKE) --no-print-directory configure
	@cmake --build $(BUILD) -j $(JOBS)
	@cd $(BUILD) && ctest --output-on-failure --no-tests=error -j $(JOBS)

# The whole suite again under AddressSanitizer and UndefinedBehaviorSanitizer.
asan:
	@tools/install-deps test
	@cmake -S . -B $(ASAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DMIRUDANA_SANITIZE=ON \
		-DMIRUDANA_BENCH=OFF -DCMAKE_COMPILE_WARNING_AS_ERROR=$(WERROR) >/dev/null
	@cmake --build $(ASAN_BUILD) -j $(JOBS)
	@cd $(ASAN_BUILD) && \
		ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
		LSAN_OPTIONS=suppressions=$(abspath .ci/lsan.supp):print_suppressions=0 \
		UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
		ctest --output-on-failure --no-tests=error -j $(JOBS)

# The window on the sample program folder; it needs a desktop to show on.
# Without one, make stops with a single line instead of Qt's abort.
gui:
	$(if $(DISPLAY)$(WAYLAND_DISPLAY),,$(error no display for the window (DISPLAY and WAYLAND_DISPLAY are unset); run make gui from a desktop session))
	@tools/install-deps gui
	@$(MAKE) --no-print-directory configure
	@cmake --build $(BUILD) -j $(JOBS) --target mirudana sample
	@$(SAMPLE)/mirudana

bench:
	@tools/install-deps bench
	@$(MAKE) --no-print-directory configure
	@cmake --build $(BUILD) -j $(JOBS)
	@tools/run-benches $(BUILD)

fuzz:
	@tools/install-deps fuzz
	@tools/run-fuzz

# Windows: cross-compiled with mingw-w64, tested under Wine in the build's own prefix.
WIN_BUILD ?= build-windows
WIN_DIR   := $(WIN_BUILD)/mirudana
# -O2 as in the Linux build: at -O3 GCC 12 warns falsely (-Wrestrict) on string joins.
WIN_CMAKE := cmake -S . -B $(WIN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release \
	-DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG" \
	-DCMAKE_TOOLCHAIN_FILE=$(abspath cmake/mingw-w64-x86_64.cmake) -DMIRUDANA_GUI=OFF -DMIRUDANA_BENCH=OFF

# The program folder a player runs (cmake/program_folder.cmake says what it holds).
windows:
	@tools/install-deps windows
	@$(WIN_CMAKE) >/dev/null
	@cmake --build $(WIN_BUILD) -j $(JOBS) --target program_folder
	@rm -rf $(WIN_DIR)
	@cmake --install $(WIN_BUILD) --prefix $(WIN_DIR) --strip >/dev/null
	@echo "$(abspath $(WIN_DIR))"

# Every test program that needs no Qt, built for Windows and run under Wine. The
# prefix is booted first, outside CTest's pipes; tests labelled "display" (the
# window's) get a virtual X display, the others none.
test-windows:
	@tools/install-deps windows
	@$(WIN_CMAKE) >/dev/null
	@cmake --build $(WIN_BUILD) -j $(JOBS)
	@cmake/wine-run $(abspath $(WIN_BUILD))/wine-prefix cmd /c exit
	@cd $(WIN_BUILD) && { ctest --output-on-failure --timeout 600 -j $(JOBS) -LE display && \
		if [ -n "$$(ctest -N -L display | grep 'Test *#')" ]; then \
			xvfb-run -a -s "-screen 0 1920x1080x24" ctest --output-on-failure --timeout 600 -L display; \
		fi; }; status=$$?; WINEPREFIX=$(abspath $(WIN_BUILD))/wine-prefix wineserver -k; exit $$status

# The program folder as one zip.
dist: windows
	@rm -f $(WIN_BUILD)/mirudana-windows.zip
	@cd $(WIN_BUILD) && zip -qr9 mirudana-windows.zip mirudana
	@echo "$(abspath $(WIN_BUILD))/mirudana-windows.zip"

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) build-fuzz $(WIN_BUILD)
