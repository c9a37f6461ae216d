# The README's commands. Each first installs what the machine lacks.
BUILD      ?= build
ASAN_BUILD ?= build-asan
JOBS       ?= $(shell nproc)
SAMPLE     := $(BUILD)/bin

.PHONY: run test asan gui bench fuzz deps configure build clean

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

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) build-fuzz
