#!/usr/bin/env bash
# Builds the program and starts it under Wine. Without an X display it runs
# under Xvfb and saves a screenshot of the main window instead.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/tools/setup.sh"
"$root/tools/build.sh" i686
# The 32-bit program, as it ships.
exe="$root/build/i686/app/orvexpv.exe"
prefix="$root/build/i686/wineprefix"
export WINEPREFIX="$prefix" WINEDEBUG=-all
if [ -n "${DISPLAY:-}" ]; then
  [ -f "$prefix/system.reg" ] || /usr/lib/wine/wine64 wineboot -i >/dev/null 2>&1
  exec /usr/lib/wine/wine "$exe"
fi
"$root/tools/screenshot.sh" "$exe" "$root/build/screenshot.png"
