#!/usr/bin/env bash
# lint.sh <build dir>: runs clang-tidy (checks of .clang-tidy) over the pure
# code of the product (<layer>/pure/*.cpp and the pure headers they include)
# with the compile commands of <build dir>, a host tree; fails on any finding.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:?usage: lint.sh <build dir>}
tidy=${CLANG_TIDY:-clang-tidy}
command -v "$tidy" >/dev/null || { echo "lint.sh: $tidy not found (tools/setup.sh installs it)" >&2; exit 1; }
[ -f "$build/compile_commands.json" ] || { echo "lint.sh: no $build/compile_commands.json" >&2; exit 1; }
cd "$root"
mapfile -t files < <(git ls-files -- '*/pure/*.cpp' | grep -E '^(platform|storage|engine|ui|app|console)/')
[ ${#files[@]} -gt 0 ] || { echo "lint.sh: no pure sources" >&2; exit 1; }
out=$(mktemp)
trap 'rm -f "$out"' EXIT
# Two at a time; each clang-tidy run prints its findings, and --warnings-as-errors
# makes any finding fail it.
printf '%s\n' "${files[@]}" |
  xargs -P 2 -n 4 "$tidy" -p "$build" --quiet --warnings-as-errors='*' >"$out" 2>&1
rc=$?
grep -E 'warning:|error:' "$out" | sort -u
if [ $rc -ne 0 ]; then
  echo "lint.sh: clang-tidy found the above in the pure code" >&2
  exit 1
fi
echo "lint.sh: ${#files[@]} files, no findings"
