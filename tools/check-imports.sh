#!/usr/bin/env bash
# check-imports.sh <exe> <allow list>
# check-imports.sh --dlls <exe> <library list>
# Lists the static imports of a Windows program (objdump -p) and fails on any
# that the allow list does not name. List entries are "DLL!Function" (DLL
# names compared in upper case); "#" starts a comment. With --dlls, the
# entries are library names and the check fails on any imported library
# that the list does not name.
set -euo pipefail
mode=functions
if [ "${1:-}" = "--dlls" ]; then mode=dlls; shift; fi
[ $# -eq 2 ] || { echo "usage: $0 [--dlls] <exe> <allow list>" >&2; exit 2; }
exe=$1
allow=$2
objdump=""
# The 64-bit tool reads the programs of both widths.
for tool in x86_64-w64-mingw32-objdump i686-w64-mingw32-objdump objdump; do
  command -v "$tool" >/dev/null && { objdump=$tool; break; }
done
[ -n "$objdump" ] || { echo "no objdump found" >&2; exit 2; }
imports=$("$objdump" -p "$exe" | awk '
  /^\tDLL Name: / { dll = toupper($3); next }
  /^\tvma:/ { next }
  dll != "" && /^\t[ 0-9a-f]+\t/ { print dll "!" $NF }
  /^[^\t]/ { dll = "" }' | sort -u)
[ -n "$imports" ] || { echo "$exe: no imports read" >&2; exit 2; }
if [ "$mode" = dlls ]; then
  imports=$(echo "$imports" | cut -d'!' -f1 | sort -u)
  allowed=$(sed -e 's/#.*//' -e 's/[[:space:]]//g' "$allow" | awk 'NF == 1 { print toupper($1) }' | sort -u)
else
  allowed=$(sed -e 's/#.*//' -e 's/[[:space:]]//g' "$allow" | awk -F'!' 'NF == 2 { print toupper($1) "!" $2 }' | sort -u)
fi
unlisted=$(comm -23 <(echo "$imports") <(echo "$allowed"))
count=$(echo "$imports" | wc -l)
if [ -n "$unlisted" ]; then
  echo "$exe imports $mode that are not on $(basename "$allow"):"
  echo "$unlisted" | sed 's/^/  /'
  exit 1
fi
echo "$exe: all $count imports are on $(basename "$allow")"
