#!/usr/bin/env bash
# Builds the four trees and runs every test: the fuzz targets of the readers
# of outside bytes (about 30 s each, FUZZ_SECONDS; any finding fails), the
# host tests of the pure code (sanitizers), then the Windows tests of both
# widths under Wine: the i686 tree (the width the program is made for) in a
# 32-bit Windows, and its wow64 mode (the programs of build/dist/ in a 64-bit
# Windows), then the x86_64 tree in a 64-bit one. Ends with ctest's summary.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/tools/setup.sh" || exit 1
"$root/tools/build.sh" fuzz host i686 x86_64 dist || exit 1
rc=0
cd "$root" || exit 1
# The presets of CMakePresets.json: output on failure, the fuzz tree with a
# 600 s timeout per target. The test programs print only their failures and
# their summary, so that a failing suite's output names the failed case
# instead of hundreds of passed ones (a run by hand prints everything).
export GTEST_BRIEF=${GTEST_BRIEF:-1}
FUZZ_SECONDS=${FUZZ_SECONDS:-30} ctest --preset fuzz || rc=1
ctest --preset host || rc=1
# The Windows trees run a failed test once more: their GUI suites drive
# windows under Xvfb and Wine, where a run on a loaded machine has lost a
# click or run past a query's time limit once in many runs. The failed
# attempt's output stays in the log, above the second attempt; a fault that
# fails both fails the run.
ctest --preset i686 --repeat until-pass:2 "$@" || rc=1
ctest --preset x86_64 --repeat until-pass:2 "$@" || rc=1
exit $rc
