#!/usr/bin/env bash
# dist.sh: gathers both widths of both programs into build/dist/, the folder a
# user copies as it is (the i686 and x86_64 trees must be built):
#   orvexpv.exe, orvexinv.exe      32-bit: every Windows from 95 and NT 4 on
#   orvexpv64.exe, orvexinv64.exe  their 64-bit twins, which the 32-bit
#                                  programs start on 64-bit Windows
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dist="$root/build/dist"
mkdir -p "$dist"
for pair in "app/orvexpv:orvexpv" "console/orvexinv:orvexinv"; do
  built=${pair%%:*}
  name=${pair##*:}
  for width in i686 x86_64; do
    [ -f "$root/build/$width/$built.exe" ] || { echo "dist.sh: build/$width/$built.exe is missing; build the $width tree first" >&2; exit 1; }
  done
  cp -f "$root/build/i686/$built.exe" "$dist/$name.exe"
  cp -f "$root/build/x86_64/$built.exe" "$dist/${name}64.exe"
done
echo "build/dist: $(cd "$dist" && ls *.exe | tr '\n' ' ')"
