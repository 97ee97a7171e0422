#!/usr/bin/env bash
# Builds both widths and starts the 32-bit program of build/dist/ under Wine
# in a 64-bit Windows, as a user on 64-bit Windows starts it: it starts its
# 64-bit twin beside it. Without an X display it runs under Xvfb and saves a
# screenshot of the main window instead.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/tools/setup.sh"
"$root/tools/build.sh" i686 x86_64 dist
exe="$root/build/dist/orvexpv.exe"
prefix="$root/build/wineprefix-dist"
export WINEPREFIX="$prefix" WINEDEBUG=-all
if [ -n "${DISPLAY:-}" ]; then
  if [ ! -f "$prefix/system.reg" ]; then
    /usr/lib/wine/wine64 wineboot -i >/dev/null 2>&1 || true
    timeout 120 /usr/lib/wine/wineserver -w >/dev/null 2>&1 || true
  fi
  exec /usr/lib/wine/wine "$exe"
fi
"$root/tools/screenshot.sh" "$exe" "$root/build/screenshot.png"
