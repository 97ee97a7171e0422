#!/usr/bin/env bash
# readme-shots.sh: the README's pictures of the process tree with a filter and
# a highlighted change, at 100% (docs/tree-filter-changes.png) and at 150%,
# 144 DPI (docs/tree-filter-changes-150.png), taken by the x86_64 tree's
# disabled DISABLED_ReadmeShot test under Xvfb.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
tree="$root/build/x86_64"
ctest --test-dir "$tree" -R '^wine_setup$' >/dev/null
shot() {  # shot DPI PNG
  "$root/cmake/wine-dpi.sh" "$tree/wine-run.sh" "$1" "$tree/tests/wine/orvex_wine_tests.exe" \
    --gtest_also_run_disabled_tests --gtest_filter='DISABLED_ReadmeShot.*' >/dev/null
  python3 - "$root" "/tmp/orvex-tree-filter-$1.ppm" "$root/docs/$2" <<'PY'
import sys
sys.path.insert(0, sys.argv[1] + "/tools")
from xwd2png import write_png
data = open(sys.argv[2], "rb").read()
magic, size, maxval, rest = data.split(b"\n", 3)
width, height = map(int, size.split())
rows = [rest[y * width * 3:(y + 1) * width * 3] for y in range(height)]
write_png(sys.argv[3], width, height, rows)
PY
  echo "$root/docs/$2"
}
mkdir -p "$root/docs"
shot 96 tree-filter-changes.png
shot 144 tree-filter-changes-150.png
