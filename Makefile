# The user's whole interface to the repository.
BUILD      ?= build
ASAN_BUILD ?= build/asan
TSAN_BUILD ?= build/tsan
BENCH_BUILD ?= build/bench
JOBS       ?= $(shell nproc)
MAKEFLAGS  += --no-print-directory

.PHONY: all deps test tsan-test demo bench fuzz clean configure package

all:
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSARVIK_BUILD_TESTS=OFF >/dev/null
	@cmake --build $(BUILD) -j $(JOBS)

deps:
	@./scripts/deps.sh

# Plain build first (build/lib and build/bin stay loadable by outside programs), then the sanitizer build
# that runs the whole suite, then a ThreadSanitizer build of the threaded test groups (label "threaded").
test: deps all
	@cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DSARVIK_SANITIZE=ON -DSARVIK_BUILD_TESTS=ON >/dev/null
	@cmake --build $(ASAN_BUILD) -j $(JOBS)
	@cd $(ASAN_BUILD) && ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
		ctest --output-on-failure -j $(JOBS) --timeout 600
	@$(MAKE) tsan-test

# ThreadSanitizer: its suppressions cover only outside libraries that are not built with it.
tsan-test:
	@cmake -S . -B $(TSAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DSARVIK_TSAN=ON -DSARVIK_BUILD_TESTS=ON >/dev/null
	@cmake --build $(TSAN_BUILD) -j $(JOBS) --target threaded_tests
	@cd $(TSAN_BUILD) && TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1 suppressions=$(CURDIR)/tests/tsan.supp" \
		ctest -L threaded --output-on-failure -j $(JOBS) --timeout 600

demo: deps all
	@./scripts/demo.sh $(BUILD)

bench:
	@./scripts/deps.sh --bench
	@cmake -S . -B $(BENCH_BUILD) -DCMAKE_BUILD_TYPE=Release -DSARVIK_BUILD_TESTS=OFF -DSARVIK_BUILD_BENCH=ON >/dev/null
	@cmake --build $(BENCH_BUILD) -j $(JOBS)
	@./scripts/bench.sh $(BENCH_BUILD)

# Debian packages of the plain build: build/packages/*.deb (libsarviksdk, libsarviksdk-dev, sarvik-tools,
# sarvik-vcam).
package: deps all
	@cd $(BUILD) && cpack -G DEB >/dev/null && ls -1 packages/*.deb

fuzz: deps
	@./scripts/fuzz.sh build/fuzz

clean:
	rm -rf $(BUILD)
