# make demo   install what is missing, build, resize the built-in image
# make test   install what is missing, then every leg of the build matrix
# make bench  install what is missing, then the benchmarks (Release build)
# make fuzz   install what is missing, then every fuzz target FUZZ_SECONDS each (default 60)
SHELL := /bin/bash
JOBS ?= 2
export JOBS

.PHONY: deps demo test bench fuzz native asan tsan win64 win32 clean

deps:
	@scripts/install-deps

demo: deps
	@scripts/demo

test: deps
	@start=$$(date +%s); \
	for leg in native asan tsan win64 win32; do scripts/leg $$leg || exit 1; done; \
	scripts/fuzz 10 || exit 1; \
	echo "make test: all legs passed in $$(( $$(date +%s) - start )) s"

native asan tsan win64 win32: deps
	@scripts/leg $@

bench: deps
	@scripts/bench

fuzz: deps
	@scripts/fuzz

clean:
	rm -rf build
