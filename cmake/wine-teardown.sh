#!/bin/sh
# wine-teardown.sh <prefix>: stops the prefix's wineserver and its Xvfb.
prefix=$1
WINEPREFIX="$prefix" /usr/lib/wine/wineserver -k >/dev/null 2>&1 || true
if [ -f "$prefix/orvex-xvfb.pid" ]; then
  kill "$(cat "$prefix/orvex-xvfb.pid")" 2>/dev/null || true
  rm -f "$prefix/orvex-xvfb.pid" "$prefix/orvex-display"
fi
exit 0
