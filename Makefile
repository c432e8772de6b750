# make demo   install what is missing, build, resize the built-in image
# make test   install what is missing, check the layers, then every leg of the build matrix
# make bench  install what is missing, then the benchmarks (Release build)
# make fuzz   install what is missing, then every fuzz target FUZZ_SECONDS each (default 60)
# make install  the morvane tool and its plug-in folder under PREFIX
# make dist   the Windows package: a zip of the i686 plug-in folder
SHELL := /bin/bash
JOBS ?= 2
export JOBS

.PHONY: deps demo test bench fuzz native asan tsan win64 win32 clean install dist
PREFIX ?= /usr/local

deps:
	@scripts/install-deps

demo: deps
	@scripts/demo

test: deps
	@start=$$(date +%s); \
	scripts/check-layers || exit 1; \
	for leg in native asan tsan win64 win32; do scripts/leg $$leg || exit 1; done; \
	scripts/fuzz 10 || exit 1; \
	echo "make test: all legs passed in $$(( $$(date +%s) - start )) s"

native asan tsan win64 win32: deps
	@scripts/leg $@

bench: deps
	@scripts/bench

fuzz: deps
	@scripts/fuzz

# The tool finds Morvane.auf beside its own file, so the three live together
# in PREFIX/lib/morvane and PREFIX/bin/morvane links there.
install: deps
	@scripts/demo --build-only
	install -d "$(DESTDIR)$(PREFIX)/bin" "$(DESTDIR)$(PREFIX)/lib/morvane/DLL"
	install -m 755 build/native/dist/morvane "$(DESTDIR)$(PREFIX)/lib/morvane/morvane"
	install -m 644 build/native/dist/Morvane.auf "$(DESTDIR)$(PREFIX)/lib/morvane/Morvane.auf"
	install -m 644 build/native/dist/DLL/*.dll "$(DESTDIR)$(PREFIX)/lib/morvane/DLL/"
	ln -sf ../lib/morvane/morvane "$(DESTDIR)$(PREFIX)/bin/morvane"

dist: deps
	@scripts/dist

clean:
	rm -rf build
