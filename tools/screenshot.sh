#!/usr/bin/env bash
# screenshot.sh <exe> <png> [modern|win98|nt40|win10]
# Starts the program under Wine on an Xvfb display of its own, waits for its
# main window, saves a screenshot of the screen as PNG, then stops the
# program and the display. Without a mode the program sees Wine's default
# (modern) Windows; a mode runs a copy of it that Wine reports that version to.
set -euo pipefail
[ $# -ge 2 ] || { echo "usage: $0 <exe> <png> [mode]" >&2; exit 2; }
root=$(cd "$(dirname "$0")/.." && pwd)
exe=$(readlink -f "$1")
png=$(readlink -f "$2")
mode=${3:-modern}
# The prefix and loader of the program's build tree and width; the programs
# of build/dist/ run in a 64-bit Windows of their own (the 32-bit one starts
# its twin there).
if objdump -f "$exe" 2>/dev/null | grep -q 'pei-i386'; then wine=/usr/lib/wine/wine; else wine=/usr/lib/wine/wine64; fi
if [ "$(dirname "$exe")" = "$root/build/dist" ]; then
  prefix="$root/build/wineprefix-dist"
  export WINEPREFIX="$prefix" WINEDEBUG=-all
  if [ ! -f "$prefix/system.reg" ]; then
    /usr/lib/wine/wine64 wineboot -i >/dev/null 2>&1 || true
    # The new prefix's first server ends once it has settled.
    timeout 120 /usr/lib/wine/wineserver -w >/dev/null 2>&1 || true
  fi
else
  tree=$(dirname "$(dirname "$exe")")
  [ -f "$tree/CMakeCache.txt" ] || tree="$root/build/i686"
  prefix="$tree/wineprefix"
  [ -f "$prefix/system.reg" ] || ctest --test-dir "$tree" -R '^wine_setup$' >/dev/null
  export WINEPREFIX="$prefix" WINEDEBUG=-all
fi

n=120
while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 </dev/null &
xvfb=$!
program=""
work=$(mktemp -d)
cleanup() {
  [ -n "$program" ] && kill "$program" 2>/dev/null || true
  # A twin that the program started runs on in the prefix of build/dist/.
  [ "$prefix" = "$root/build/wineprefix-dist" ] && /usr/lib/wine/wineserver -k 2>/dev/null || true
  kill "$xvfb" 2>/dev/null || true
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
for _ in $(seq 100); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
export DISPLAY=":$n"

run="$exe"
if [ "$mode" != modern ]; then
  run="$(dirname "$exe")/$(basename "$exe" .exe)_$mode.exe"
  cp "$exe" "$run"
  "$wine" reg add "HKCU\\Software\\Wine\\AppDefaults\\$(basename "$run")" /v Version /d "$mode" /f >/dev/null 2>&1
fi
# No window manager runs on the display: Wine draws frames and captions itself.
for name in "$(basename "$run")" "$(basename "$run" .exe)64.exe"; do
  "$wine" reg add "HKCU\\Software\\Wine\\AppDefaults\\$name\\X11 Driver" /v Managed /d N /f >/dev/null 2>&1
done

"$wine" "$run" >/dev/null 2>&1 </dev/null &
program=$!

# The main window is the large one of that name (the splash window is small).
found=""
for _ in $(seq 120); do
  if xwininfo -root -tree 2>/dev/null | grep '"Orvex Process Viewer"' |
      awk '{ for (i = 1; i <= NF; i++) if ($i ~ /^[0-9]+x[0-9]+\+/) { split($i, s, "x"); if (s[1] + 0 > 400) ok = 1 } } END { exit !ok }'; then
    found=yes
    break
  fi
  sleep 0.5
done
[ -n "$found" ] || echo "main window not found; saving the screen as it is" >&2
sleep 3  # the first refresh and the painting
xwd -root -silent > "$work/screen.xwd"
python3 "$root/tools/xwd2png.py" "$work/screen.xwd" "$png"
echo "$png"
