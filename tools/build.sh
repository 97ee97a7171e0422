#!/usr/bin/env bash
# build.sh <tree>...: configures and builds build/<tree> for each of
# host (Linux, sanitizers), x86_64 and i686 (MinGW-w64), and fuzz (Linux,
# clang: the pure libraries and their libFuzzer targets), with the presets
# of the same names (CMakePresets.json); and dist, the folder build/dist/ with
# both widths of both programs (tools/dist.sh; after i686 and x86_64).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
for tree in "$@"; do
  case "$tree" in
    host|x86_64|i686|fuzz) ;;
    dist) "$root/tools/dist.sh"; continue ;;
    *) echo "unknown tree $tree" >&2; exit 2 ;;
  esac
  cmake --preset "$tree" >/dev/null
  cmake --build --preset "$tree" -j "$(nproc)"
done
