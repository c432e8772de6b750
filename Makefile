# make demo   install what is missing, build, resize the built-in image
# make test   install what is missing, then every leg of the build matrix
# make bench  install what is missing, then the benchmarks (Release build)
SHELL := /bin/bash
JOBS ?= 2
export JOBS

.PHONY: deps demo test bench native asan tsan win64 win32 clean

deps:
	@scripts/install-deps

demo: deps
	@scripts/demo

test: deps
	@start=$$(date +%s); \
	for leg in native asan tsan win64 win32; do scripts/leg $$leg || exit 1; done; \
	echo "make test: all legs passed in $$(( $$(date +%s) - start )) s"

native asan tsan win64 win32: deps
	@scripts/leg $@

bench: deps
	@scripts/bench

clean:
	rm -rf build
