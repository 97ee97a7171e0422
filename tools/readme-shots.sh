#!/usr/bin/env bash
# readme-shots.sh: the README's picture of the process tree with a filter and
# a highlighted change (docs/tree-filter-changes.png), taken by the x86_64
# tree's disabled DISABLED_ReadmeShot test under Xvfb.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
tree="$root/build/x86_64"
ctest --test-dir "$tree" -R '^wine_setup$' >/dev/null
"$tree/wine-run.sh" "$tree/tests/wine/orvex_wine_tests.exe" --gtest_also_run_disabled_tests \
  --gtest_filter='DISABLED_ReadmeShot.*' >/dev/null
mkdir -p "$root/docs"
python3 - "$root" <<'PY'
import sys
sys.path.insert(0, sys.argv[1] + "/tools")
from xwd2png import write_png
data = open("/tmp/orvex-tree-filter.ppm", "rb").read()
magic, size, maxval, rest = data.split(b"\n", 3)
width, height = map(int, size.split())
rows = [rest[y * width * 3:(y + 1) * width * 3] for y in range(height)]
write_png(sys.argv[1] + "/docs/tree-filter-changes.png", width, height, rows)
PY
echo "$root/docs/tree-filter-changes.png"
