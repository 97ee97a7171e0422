# The two entry points of README.md.
.PHONY: run test bench clean
run:
	tools/run.sh
test:
	tools/test.sh
bench:
	tools/setup.sh && tools/build.sh x86_64 && tools/bench.sh
clean:
	rm -rf build
