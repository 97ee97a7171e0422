#!/usr/bin/env bash
# Builds the program and starts it under Wine. Without an X display it runs
# under Xvfb and saves a screenshot of the main window instead.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/tools/setup.sh"
"$root/tools/build.sh" x86_64
exe="$root/build/x86_64/app/orvexpv.exe"
prefix="$root/build/x86_64/wineprefix"
export WINEPREFIX="$prefix" WINEDEBUG=-all
if [ -n "${DISPLAY:-}" ]; then
  exec /usr/lib/wine/wine64 "$exe"
fi
"$root/tools/screenshot.sh" "$exe" "$root/build/screenshot.png"
