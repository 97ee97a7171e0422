#!/usr/bin/env bash
# run-target.sh <fuzzer> <seed dir> <work dir>: runs one libFuzzer target for
# FUZZ_SECONDS seconds (default 30) from its checked-in seeds. New inputs go
# to <work dir>/corpus, never into the seed directory; a crash, leak,
# sanitizer report or slow input (over 10 s) is written to <work dir>/ as
# finding-* and fails the run.
set -euo pipefail
fuzzer=$1 seeds=$2 work=$3
seconds=${FUZZ_SECONDS:-30}
mkdir -p "$work/corpus"
exec "$fuzzer" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
  -artifact_prefix="$work/finding-" "$work/corpus" "$seeds"
