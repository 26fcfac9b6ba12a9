#!/usr/bin/env bash
# Start-up figures of the Windows program under Wine: time until its first
# window is on the screen and painted, peak memory, and the stripped size,
# against a bare Win32 window as the floor. Each program given is measured as
# built (its lookups go to the configured host), in a case named after its
# build folder. The tree is also built once more to look up on 127.0.0.1 and
# measured with the lookups answered at once, refused, and black-holed (a
# listener that never answers). A message box shown on the way is answered at
# once by the launcher. The cases take turns, round by round, so a drift of
# the machine touches them all alike. Prints figures, judges nothing; not part
# of the tests.
#
#   benchmarks/run.sh [rounds [program.exe ...]]
#
# rounds per case default to 15; the program defaults to build/mingw/Inkmoss.exe.
# Needs scripts/setup.sh to have run. Environment:
#   INKMOSS_BENCH_OUT       folder for the benchmark's own builds (build/bench)
#   INKMOSS_BENCH_LOOPBACK  0 leaves out the loopback build and its cases
#   INKMOSS_BENCH_PORT      loopback port of the lookups (48080)
set -euo pipefail

cd "$(dirname "${BASH_SOURCE[0]}")/.."
rounds=${1:-15}
programs=("${@:2}")
[ ${#programs[@]} -gt 0 ] || programs=(build/mingw/Inkmoss.exe)
port=${INKMOSS_BENCH_PORT:-48080}
cache=${INKMOSS_CACHE:-/var/cache/inkmoss}
out=${INKMOSS_BENCH_OUT:-build/bench}
loopback=$out/loopback/Inkmoss.exe
with_loopback=${INKMOSS_BENCH_LOOPBACK:-1}
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

# A case per program, named after its build folder.
cases=(bare)
for program in "${programs[@]}"; do
  if [ ! -f "$program" ]; then
    echo "$program is missing: build the Windows program first (scripts/test.sh does)" >&2
    exit 1
  fi
  name=$(basename "$(dirname "$(realpath "$program")")")
  if [[ " ${cases[*]} " == *" $name "* ]]; then
    echo "two programs in folders named $name: the cases need distinct names" >&2
    exit 1
  fi
  cases+=("$name")
done
[ "$with_loopback" = 0 ] || cases+=(answered refused black-holed)

echo "== building the launcher, the bare window and the lookup server"
mkdir -p "$out"
x86_64-w64-mingw32-g++-posix -std=c++20 -O2 -s -static benchmarks/startup/launcher.cpp \
  -lpsapi -lwinmm -lgdi32 -o "$out/launcher.exe"
x86_64-w64-mingw32-g++-posix -std=c++20 -O2 -s -static -mwindows benchmarks/startup/bare.cpp -o "$out/bare.exe"
g++ -std=c++20 -O2 benchmarks/startup/lookup_server.cpp -o "$out/lookup_server"
if [ "$with_loopback" != 0 ]; then
  echo "== building the program that looks up on 127.0.0.1:$port"
  cmake -S . -B "$out/loopback" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw.cmake \
    -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_PREFIX_PATH="$cache/mingw" \
    -DINKMOSS_PROFILE_HOST=127.0.0.1 \
    -DINKMOSS_PROFILE_PORT="$port" >"$logs/cmake.log" || { cat "$logs/cmake.log" >&2; exit 1; }
  cmake --build "$out/loopback" --target Inkmoss
fi

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
  for ((i = 0; i < ${#programs[@]}; i++)); do
    measure "${cases[i + 1]}" "${programs[i]}"
  done
  if [ "$with_loopback" != 0 ]; then
    start_server answer
    measure answered "$loopback"
    stop_server
    measure refused "$loopback"
    start_server silent
    measure black-holed "$loopback"
    stop_server
  fi
  printf '.'
done
echo

# The median of the numbers on standard input (-1 when there are none).
median_of() {
  sort -g | awk '{ v[NR] = $1 } END { if (NR == 0) print -1; else if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

# The median of column $2 of file $1, leaving out the runs without a value.
median() { awk -v c="$2" '$c >= 0 { print $c }' "$1" | median_of; }

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", (b > 0 ? a / b : 0) }'; }

# The median over the rounds of each round's first paint against the bare
# window's in the same round: a busy spell of a shared machine then slows
# both sides of a ratio instead of one median.
paired_paint_ratio() {
  paste "$logs/bare" "$1" | awk '$1 > 0 { print $5 / $1 }' | median_of | awk '{ printf "%.2f", $1 }'
}

base_ws=$(median "$logs/bare" 3)
base_pagefile=$(median "$logs/bare" 4)
row() { printf '%-16s %10s %8s %14s %18s %11s %8s %14s\n' "$@"; }
echo
echo "medians of $rounds runs (box: when the new-version message box appeared; -: none;"
echo "paint/bare: the median of the rounds' ratios, the others: ratios of the medians)"
row case paint_ms box_ms peak_ws_KiB peak_pagefile_KiB paint/bare ws/bare pagefile/bare
for name in "${cases[@]}"; do
  paint=$(median "$logs/$name" 1)
  box=$(median "$logs/$name" 2)
  ws=$(median "$logs/$name" 3)
  pagefile=$(median "$logs/$name" 4)
  [ "$box" != -1 ] || box=-
  row "$name" "$paint" "$box" "$ws" "$pagefile" \
    "$(paired_paint_ratio "$logs/$name")" "$(ratio "$ws" "$base_ws")" "$(ratio "$pagefile" "$base_pagefile")"
done

echo
echo "stripped sizes in bytes"
printf '%-16s %10s\n' bare "$(stat -c %s "$out/bare.exe")"
for ((i = 0; i < ${#programs[@]}; i++)); do
  x86_64-w64-mingw32-strip -o "$logs/stripped.exe" "${programs[i]}"
  printf '%-16s %10s\n' "${cases[i + 1]}" "$(stat -c %s "$logs/stripped.exe")"
done
