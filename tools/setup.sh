#!/usr/bin/env bash
# Installs what the build and the tests need, when it is missing (Debian).
set -euo pipefail
need=()
command -v cmake >/dev/null || need+=(cmake)
command -v ninja >/dev/null || need+=(ninja-build)
command -v g++ >/dev/null || need+=(g++)
# The fuzz tree: clang with libFuzzer and the sanitizer run-times.
command -v clang++ >/dev/null || need+=(clang)
compgen -G "/usr/lib/llvm-*/lib/clang/*/lib/linux/libclang_rt.fuzzer-x86_64.a" >/dev/null || need+=(libclang-rt-dev)
command -v x86_64-w64-mingw32-g++-win32 >/dev/null || need+=(g++-mingw-w64-x86-64)
command -v i686-w64-mingw32-g++-win32 >/dev/null || need+=(g++-mingw-w64-i686)
[ -x /usr/lib/wine/wine64 ] || need+=(wine64)
# Wine's 32-bit side runs the i686 programs (in the same 64-bit prefix).
[ -x /usr/lib/wine/wine ] || need+=(wine32:i386)
# Wine's own fonts: Marlett draws the caption buttons (without it they show
# as letters), and the system fonts of the dialogs.
[ -f /usr/share/wine/fonts/marlett.ttf ] || need+=(fonts-wine)
# Every locale: Wine takes a program's ANSI code page from the Unix locale
# (ja_JP.UTF-8 gives code page 932), for the tests of double-byte names.
locale -a 2>/dev/null | grep -qix 'ja_JP.utf8' || need+=(locales-all)
command -v Xvfb >/dev/null || need+=(xvfb)
command -v xauth >/dev/null || need+=(xauth)
command -v xwd >/dev/null || need+=(x11-apps)
command -v convert >/dev/null || need+=(imagemagick)
# The static checks: tools/lint.sh (a host test) and tools/format.sh.
command -v clang-tidy >/dev/null || need+=(clang-tidy)
command -v clang-format >/dev/null || need+=(clang-format)
[ -f /usr/src/googletest/CMakeLists.txt ] || need+=(googletest)
# The signature tests sign a copy of the test helper with a throw-away
# certificate authority.
command -v openssl >/dev/null || need+=(openssl)
command -v osslsigncode >/dev/null || need+=(osslsigncode)
# The fleet tests load the inventory lines into a PostgreSQL server they
# start themselves (SQLite comes with Python).
command -v python3 >/dev/null || need+=(python3)
compgen -G "/usr/lib/postgresql/*/bin/initdb" >/dev/null || need+=(postgresql)
if [ ${#need[@]} -gt 0 ]; then
  echo "Installing: ${need[*]}"
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo=sudo
  export DEBIAN_FRONTEND=noninteractive
  case " ${need[*]} " in
    *:i386*) dpkg --print-foreign-architectures | grep -qx i386 || $sudo dpkg --add-architecture i386 ;;
  esac
  # A mirror caught mid-sync fails one index; what the install needs is
  # usually in the others, and the install below says so when it is not.
  $sudo apt-get update -q || echo "apt-get update failed; installing from the indexes at hand"
  $sudo apt-get install -y -q --no-install-recommends "${need[@]}"
fi
