#!/bin/sh
# wine-dpi.sh <wine-run.sh> <dpi> <program> [arguments...]
# Runs a program of the tree with the prefix's screen at <dpi> dots per inch
# (the user's LogPixels, which Wine reads when a program starts, and Wine's
# own), and puts 96 back afterwards, whatever the program's end.
set -u
run=$1
dpi=$2
shift 2
set_dpi() {
  "$run" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1
  "$run" reg add 'HKCC\Software\Fonts' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1
}
trap 'set_dpi 96' EXIT
set_dpi "$dpi"
"$run" "$@"
