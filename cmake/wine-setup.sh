#!/bin/sh
# wine-setup.sh <prefix> <registry file> [win64|win32]
# Creates the Wine prefix once (64-bit by default; win32: a 32-bit Windows,
# created and served by the 32-bit loader), starts a persistent wineserver and
# an Xvfb display for it, and imports the per-executable Windows versions.
set -eu
mkdir -p "$1"; prefix=$(cd "$1" && pwd)
regfile=$(cd "$(dirname "$2")" && pwd)/$(basename "$2")
export WINEPREFIX="$prefix" WINEDEBUG=-all
arch=${3:-win64}
if [ "$arch" = win32 ]; then
  wine=/usr/lib/wine/wine
  export WINEARCH=win32
else
  wine=/usr/lib/wine/wine64
fi
server=/usr/lib/wine/wineserver

# An X display of our own: tests that create windows need one.
display_file="$prefix/orvex-display"
mkdir -p "$prefix"
if [ -f "$display_file" ] && [ -f "$prefix/orvex-xvfb.pid" ] && kill -0 "$(cat "$prefix/orvex-xvfb.pid")" 2>/dev/null; then
  :
else
  n=91
  while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
  setsid Xvfb ":$n" -screen 0 2560x2048x24 -nolisten tcp >/dev/null 2>&1 < /dev/null &
  echo $! > "$prefix/orvex-xvfb.pid"
  i=0
  while [ ! -e "/tmp/.X11-unix/X$n" ] && [ $i -lt 100 ]; do sleep 0.1; i=$((i + 1)); done
  echo ":$n" > "$display_file"
fi
DISPLAY=$(cat "$display_file")
export DISPLAY

if [ ! -f "$prefix/system.reg" ]; then
  "$wine" wineboot -i >/dev/null 2>&1 || true
  # Let the new prefix settle and its first server end: the service manager
  # that the creation started loses the services created while it runs.
  timeout 120 "$server" -w >/dev/null 2>&1 || "$server" -k >/dev/null 2>&1 || true
fi
# Marlett draws the caption buttons and the frame controls' glyphs; this Wine
# does not take it from its own data folder (fonts-wine), only from the
# prefix's Fonts folder: without it the buttons show letters.
if [ -f /usr/share/wine/fonts/marlett.ttf ] && [ ! -f "$prefix/drive_c/windows/Fonts/marlett.ttf" ]; then
  mkdir -p "$prefix/drive_c/windows/Fonts"
  cp /usr/share/wine/fonts/marlett.ttf "$prefix/drive_c/windows/Fonts/"
fi
"$server" -p >/dev/null 2>&1 < /dev/null || true
(cd "$(dirname "$regfile")" && "$wine" regedit /S "$(basename "$regfile")") >/dev/null 2>&1
echo "Wine prefix $prefix ready on display $DISPLAY"
