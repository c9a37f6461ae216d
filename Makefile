# The README's commands. Each first installs what the machine lacks.
BUILD      ?= build
ASAN_BUILD ?= build-asan
JOBS       ?= $(shell nproc)
SAMPLE     := $(BUILD)/bin

.PHONY: run test asan gui bench fuzz deps configure build clean windows dist test-windows

deps:
	@tools/install-deps

configure: deps
	@cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

# Convert the sample battles with the default script and say where the report is.
run: build
	@$(SAMPLE)/mirudana-cli --home $(SAMPLE) $(SAMPLE)/battles/*.kvs
	@echo "$(abspath $(SAMPLE))/出力データ.html"

test: build
	@cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

# The whole suite again under AddressSanitizer and UndefinedBehaviorSanitizer.
asan: deps
	@cmake -S . -B $(ASAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DMIRUDANA_SANITIZE=ON \
		-DMIRUDANA_BENCH=OFF >/dev/null
	@cmake --build $(ASAN_BUILD) -j $(JOBS)
	@cd $(ASAN_BUILD) && \
		ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
		LSAN_OPTIONS=suppressions=$(abspath .ci/lsan.supp):print_suppressions=0 \
		UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
		ctest --output-on-failure -j $(JOBS)

# The window on the sample program folder.
gui: build
	@$(SAMPLE)/mirudana

bench: build
	@tools/run-benches $(BUILD)

fuzz: deps
	@tools/run-fuzz

# Windows: cross-compiled with mingw-w64, tested under Wine in the build's own prefix.
WIN_BUILD ?= build-windows
WIN_DIR   := $(WIN_BUILD)/mirudana
WIN_CMAKE := cmake -S . -B $(WIN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release \
	-DCMAKE_TOOLCHAIN_FILE=$(abspath cmake/mingw-w64-x86_64.cmake) -DMIRUDANA_GUI=OFF -DMIRUDANA_BENCH=OFF

# The program folder a player runs: the programs, system/, engine.tts and sample battles.
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
