#!/usr/bin/env bash
# format.sh [--check]: formats the tracked C and C++ sources in place with
# .clang-format; with --check, changes nothing and fails when any file
# differs from its formatted form (listing where).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
format=${CLANG_FORMAT:-clang-format}
mapfile -t files < <(git ls-files -- '*.h' '*.cpp' '*.c')
[ ${#files[@]} -gt 0 ] || exit 0
if [ "${1:-}" = "--check" ]; then
  exec "$format" --dry-run --Werror "${files[@]}"
fi
"$format" -i "${files[@]}"
