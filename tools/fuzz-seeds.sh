#!/usr/bin/env bash
# fuzz-seeds.sh: renews the seed corpora tests/fuzz/<target>/ from what the
# tests make (tests/FuzzSeeds.h): the NT buffers, property-set streams and
# compound files that the host tests build and that pass the checks
# (build/host), and a report that a Wine test saves, with its set streams
# (build/x86_64). Builds nothing: build both trees first.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seeds=$root/tests/fuzz
for target in compound_file_check prop_set_check nt_layouts_32 nt_layouts_64; do
  mkdir -p "$seeds/$target"
  find "$seeds/$target" -type f -delete
done
ORVEX_FUZZ_SEEDS=$seeds "$root/build/host/tests/orvex_host_tests" \
  --gtest_filter='PropertySetStreamCheck.*:CompoundFileCheck.*:*NtLayouts*' >/dev/null
# Wine maps drive Z: to the root of the file system.
ORVEX_FUZZ_SEEDS="Z:$seeds" "$root/build/x86_64/wine-run.sh" "$root/build/x86_64/tests/wine/orvex_wine_tests.exe" \
  --gtest_filter='ReportDamage.MutatedReports*' >/dev/null
for target in compound_file_check prop_set_check nt_layouts_32 nt_layouts_64; do
  echo "$target: $(find "$seeds/$target" -type f | wc -l) seeds, $(du -sk "$seeds/$target" | cut -f1) KB"
done
