#!/usr/bin/env bash
# Builds the Windows program and opens it under Wine with the Chinese ANSI
# code page. Uses the desktop in $DISPLAY when there is one, otherwise a
# private Xvfb (take a screenshot with `import -window root`).
# Needs scripts/setup.sh to have run once.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
cache=${INKMOSS_CACHE:-/var/cache/inkmoss}

cmake -S . -B build/mingw -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw.cmake \
  -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_PREFIX_PATH="$cache/mingw" >/dev/null
cmake --build build/mingw --target Inkmoss

if [ -z "${DISPLAY:-}" ]; then
  source scripts/wine-env.sh
  trap inkmoss_wine_cleanup EXIT
  echo "Inkmoss runs on the private display $DISPLAY"
else
  export WINEPREFIX=${INKMOSS_WINEPREFIX:-$cache/wineprefix} LC_ALL=zh_CN.UTF-8 WINEDEBUG=-all
fi
wine build/mingw/Inkmoss.exe
