#!/usr/bin/env bash
# build.sh <tree>...: configures and builds build/<tree> for each of
# host (Linux, sanitizers), x86_64 and i686 (MinGW-w64), and fuzz (Linux,
# clang: the pure libraries and their libFuzzer targets).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
for tree in "$@"; do
  dir="$root/build/$tree"
  case "$tree" in
    host) args=() ;;
    x86_64) args=(-DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-x86_64-mingw.cmake") ;;
    i686) args=(-DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-i686-mingw.cmake") ;;
    fuzz) args=(-DORVEX_FUZZ=ON -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++) ;;
    *) echo "unknown tree $tree" >&2; exit 2 ;;
  esac
  [ -f "$dir/CMakeCache.txt" ] || cmake -S "$root" -B "$dir" -G Ninja "${args[@]}"
  cmake --build "$dir" -j "$(nproc)"
done
