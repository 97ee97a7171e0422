#!/usr/bin/env bash
# Builds the four trees and runs every test: the fuzz targets of the readers
# of outside bytes (about 30 s each, FUZZ_SECONDS; any finding fails), the
# host tests of the pure code (sanitizers), then the Windows tests of both widths under Wine: the i686
# tree (the width the program is made for) with Wine's 32-bit loader, the
# x86_64 tree with the 64-bit one. Ends with ctest's summary.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/tools/setup.sh" || exit 1
"$root/tools/build.sh" fuzz host i686 x86_64 || exit 1
rc=0
FUZZ_SECONDS=${FUZZ_SECONDS:-30} ctest --test-dir "$root/build/fuzz" --output-on-failure --timeout 600 || rc=1
ctest --test-dir "$root/build/host" --output-on-failure || rc=1
ctest --test-dir "$root/build/i686" --output-on-failure "$@" || rc=1
ctest --test-dir "$root/build/x86_64" --output-on-failure "$@" || rc=1
exit $rc
