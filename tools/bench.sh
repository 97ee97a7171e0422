#!/usr/bin/env bash
# Runs the inventory benchmark under Wine (in the x86_64 tree's test prefix,
# started with its Xvfb display so that windows exist) and saves the report
# to build/bench-report.txt.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
tree="$root/build/x86_64"
cmake --build "$tree" --target orvex_bench orvex_test_helper
ctest --test-dir "$tree" -R '^wine_setup$' >/dev/null
# A few helper processes so that the lists hold windows, threads and handles.
pids=()
for i in 1 2 3; do
  "$tree/wine-run.sh" "$tree/tests/helper/orvex_test_helper.exe" --name=bench$i >/dev/null 2>&1 &
  pids+=($!)
done
sleep 3
"$tree/wine-run.sh" "$tree/bench/orvex_bench.exe" "${1:-7}" | tee "$root/build/bench-report.txt"
kill "${pids[@]}" 2>/dev/null || true
ctest --test-dir "$tree" -R '^wine_teardown$' >/dev/null || true
echo "Report saved to build/bench-report.txt"
