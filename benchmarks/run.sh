#!/usr/bin/env bash
# Start-up figures of the Windows program under Wine: time until its first
# window is on the screen and painted, peak memory, and the stripped size,
# against a bare Win32 window as the floor. The program is measured as built
# (its lookups go to the configured host) and, built again to look up on
# 127.0.0.1, with the lookups answered at once, refused, and black-holed (a
# listener that never answers). A message box shown on the way is answered at
# once by the launcher. Prints figures, judges nothing; not part of the tests.
#
#   benchmarks/run.sh [rounds]     rounds per case, default 15
#
# Needs scripts/setup.sh to have run and build/mingw/Inkmoss.exe to exist
# (INKMOSS_BENCH_PROGRAM names another build of it). INKMOSS_BENCH_PORT picks
# the loopback port of the lookups (default 48080).
set -euo pipefail

cd "$(dirname "${BASH_SOURCE[0]}")/.."
rounds=${1:-15}
port=${INKMOSS_BENCH_PORT:-48080}
cache=${INKMOSS_CACHE:-/var/cache/inkmoss}
out=build/bench
program=${INKMOSS_BENCH_PROGRAM:-build/mingw/Inkmoss.exe}
loopback=build/bench-loopback/Inkmoss.exe
cases=(bare configured answered refused black-holed)
server_pid=
logs=$(mktemp -d /tmp/inkmoss-bench.XXXXXX)

stop_server() {
  if [ -n "$server_pid" ]; then
    kill "$server_pid" 2>/dev/null || true
    wait "$server_pid" 2>/dev/null || true
    server_pid=
  fi
}

finish() {
  stop_server
  if declare -F inkmoss_wine_cleanup >/dev/null; then
    inkmoss_wine_cleanup
  fi
  rm -rf "$logs"
}
trap finish EXIT

if [ ! -f "$program" ]; then
  echo "$program is missing: build the Windows program first (scripts/test.sh does)" >&2
  exit 1
fi

echo "== building the launcher, the bare window, the lookup server and the loopback program"
mkdir -p "$out"
x86_64-w64-mingw32-g++-posix -std=c++20 -O2 -s -static benchmarks/startup/launcher.cpp \
  -lpsapi -lwinmm -lgdi32 -o "$out/launcher.exe"
x86_64-w64-mingw32-g++-posix -std=c++20 -O2 -s -static -mwindows benchmarks/startup/bare.cpp -o "$out/bare.exe"
g++ -std=c++20 -O2 benchmarks/startup/lookup_server.cpp -o "$out/lookup_server"
cmake -S . -B build/bench-loopback -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw.cmake \
  -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_PREFIX_PATH="$cache/mingw" \
  -DINKMOSS_PROFILE_HOST=127.0.0.1 \
  -DINKMOSS_PROFILE_PORT="$port" >"$logs/cmake.log" || { cat "$logs/cmake.log" >&2; exit 1; }
cmake --build build/bench-loopback --target Inkmoss

start_server() {
  local tries
  "$out/lookup_server" "$1" "$port" >"$logs/server.out" 2>&1 &
  server_pid=$!
  for ((tries = 0; tries < 200; tries++)); do
    grep -q listening "$logs/server.out" && return 0
    kill -0 "$server_pid" 2>/dev/null || break
    sleep 0.01
  done
  cat "$logs/server.out" >&2
  echo "the lookup server cannot listen on 127.0.0.1:$port (set INKMOSS_BENCH_PORT)" >&2
  exit 1
}

# One launch of the case's program; appends "paint box peak-ws peak-pagefile".
measure() {
  local name=$1 exe=$2 line
  line=$(wine "$out/launcher.exe" "$(winepath -w "$exe")" | tr -d '\r')
  echo "$line" >>"$logs/$name"
}

# shellcheck source=scripts/wine-env.sh
source scripts/wine-env.sh
# The first start of a prefix pays for work no later start repeats.
wine "$out/launcher.exe" "$(winepath -w "$out/bare.exe")" >/dev/null

echo "== $rounds rounds of: ${cases[*]}"
for ((round = 1; round <= rounds; round++)); do
  measure bare "$out/bare.exe"
  measure configured "$program"
  start_server answer
  measure answered "$loopback"
  stop_server
  measure refused "$loopback"
  start_server silent
  measure black-holed "$loopback"
  stop_server
  printf '.'
done
echo

# The median of column $2 of file $1 (-1 when the column never had a value).
median() {
  awk -v c="$2" '$c >= 0 { print $c }' "$1" | sort -n |
    awk '{ v[NR] = $1 } END { if (NR == 0) print -1; else if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", (b > 0 ? a / b : 0) }'; }

base_paint=$(median "$logs/bare" 1)
base_ws=$(median "$logs/bare" 3)
echo
echo "medians of $rounds runs (box: when the new-version message box appeared; -: none)"
printf '%-12s %10s %8s %14s %18s %12s %10s\n' case paint_ms box_ms peak_ws_KiB peak_pagefile_KiB paint/bare ws/bare
for name in "${cases[@]}"; do
  paint=$(median "$logs/$name" 1)
  box=$(median "$logs/$name" 2)
  ws=$(median "$logs/$name" 3)
  pagefile=$(median "$logs/$name" 4)
  [ "$box" != -1 ] || box=-
  printf '%-12s %10s %8s %14s %18s %12s %10s\n' "$name" "$paint" "$box" "$ws" "$pagefile" \
    "$(ratio "$paint" "$base_paint")" "$(ratio "$ws" "$base_ws")"
done

x86_64-w64-mingw32-strip -o "$out/Inkmoss.stripped.exe" "$program"
echo
echo "stripped size: Inkmoss.exe $(stat -c %s "$out/Inkmoss.stripped.exe") bytes, bare.exe $(stat -c %s "$out/bare.exe") bytes"
