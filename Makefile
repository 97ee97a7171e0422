# The two entry points of README.md.
.PHONY: run test bench fuzz clean
FUZZ_SECONDS ?= 60
run:
	tools/run.sh
test:
	tools/test.sh
bench:
	tools/setup.sh && tools/build.sh x86_64 && tools/bench.sh
fuzz:
	tools/setup.sh && tools/build.sh fuzz && \
	FUZZ_SECONDS=$(FUZZ_SECONDS) ctest --preset fuzz --timeout $$(($(FUZZ_SECONDS) + 600))
clean:
	rm -rf build
