#!/usr/bin/env bash
# Runs every test: the native suites, the Windows build with its tests under
# Wine, and a short run of every fuzzer. Stops at the first failure. The last
# line is "N passed, M failed", N counting tests (one per fuzzer).
# Needs scripts/setup.sh to have run once.
set -euo pipefail

cd "$(dirname "${BASH_SOURCE[0]}")/.."
cache=${INKMOSS_CACHE:-/var/cache/inkmoss}
fuzz_seconds=${INKMOSS_FUZZ_SECONDS:-60}
wine_timeout=${INKMOSS_WINE_TIMEOUT:-900}
passed=0
logs=$(mktemp -d /tmp/inkmoss-test.XXXXXX)

finish() {
  local status=$?
  if declare -F inkmoss_wine_cleanup >/dev/null; then
    inkmoss_wine_cleanup
  fi
  rm -rf "$logs"
  if [ "$status" -ne 0 ]; then
    echo
    echo "$passed passed, 1 failed"
  fi
  exit "$status"
}
trap finish EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

section() { printf '\n======== %s ========\n' "$*"; }

# The number a line like "...PASSED  ] 12 tests." or "out of 12" carries.
count_from() {
  local pattern=$1 log=$2
  sed -n -E "s/$pattern/\\1/p" "$log" | tail -n 1
}

native() {
  section "Native build and tests"
  cmake -S . -B build/native -G Ninja -DCMAKE_BUILD_TYPE=Debug
  cmake --build build/native
  ctest --test-dir build/native --output-on-failure --no-tests=error --parallel "$(nproc)" |
    tee "$logs/ctest.log"
  local n
  n=$(count_from '.*tests passed, 0 tests failed out of ([0-9]+).*' "$logs/ctest.log")
  passed=$((passed + ${n:-1}))
}

# The Windows programs must run from a bare folder: no MinGW runtime or
# library DLLs (all named lib*.dll or zlib1.dll) among their imports.
standalone() {
  local exe dlls
  for exe in build/mingw/*.exe; do
    dlls=$(x86_64-w64-mingw32-objdump -p "$exe" | sed -n -E 's/^[[:space:]]*DLL Name: //p')
    if grep -iE '^(lib|zlib)' <<<"$dlls"; then
      echo "$exe needs the DLLs above beside it" >&2
      return 1
    fi
  done
}

windows() {
  section "Windows build (MinGW-w64)"
  if [ ! -d "$cache/mingw/lib/cmake/GTest" ]; then
    echo "no MinGW GoogleTest in $cache/mingw: run scripts/setup.sh first" >&2
    return 1
  fi
  cmake -S . -B build/mingw -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw.cmake \
    -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_PREFIX_PATH="$cache/mingw"
  cmake --build build/mingw
  standalone

  section "Windows tests under Wine"
  local exes exe pid n
  mapfile -t exes < <(find build/mingw -maxdepth 1 -type f -name '*_tests.exe' | sort)
  if [ "${#exes[@]}" -eq 0 ]; then
    echo "no build/mingw/*_tests.exe was built" >&2
    return 1
  fi
  source scripts/wine-env.sh
  for exe in "${exes[@]}"; do
    echo "-- $exe"
    # Into a file, not a pipe: a Windows process the tests start may keep a
    # pipe open after the tests end.
    timeout --kill-after=10 "$wine_timeout" wine "$exe" --gtest_brief=1 >"$logs/wine.log" 2>&1 &
    pid=$!
    tail -n +1 -f --pid="$pid" "$logs/wine.log"
    wait "$pid"
    n=$(count_from '^\[  PASSED  \] ([0-9]+) tests?\..*' "$logs/wine.log")
    passed=$((passed + ${n:-1}))
  done
  inkmoss_wine_cleanup
}

fuzz() {
  section "Fuzzers"
  CC=clang CXX=clang++ cmake -S . -B build/fuzz -G Ninja -DINKMOSS_FUZZ=ON
  cmake --build build/fuzz
  local fuzzers fz name seeds corpus seconds
  mapfile -t fuzzers < <(find build/fuzz -path build/fuzz/CMakeFiles -prune -o \
    -type f -name 'fuzz_*' -perm -u+x -print | sort)
  if [ "${#fuzzers[@]}" -eq 0 ]; then
    echo "no build/fuzz/fuzz_* was built" >&2
    return 1
  fi
  seconds=$((fuzz_seconds / ${#fuzzers[@]}))
  [ "$seconds" -ge 5 ] || seconds=5
  # Undefined behaviour is a finding too, not just a message.
  export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
  for fz in "${fuzzers[@]}"; do
    name=$(basename "$fz")
    seeds=tests/fuzz_corpus/${name#fuzz_}
    corpus="$logs/corpus-$name"
    mkdir -p "$corpus" "build/fuzz/findings/$name"
    # New inputs go to a scratch copy so the tree's seeds stay as committed.
    if [ -d "$seeds" ]; then
      cp -R "$seeds/." "$corpus/"
    fi
    echo "-- $name (${seconds}s)"
    if ! "$fz" -max_total_time="$seconds" -timeout=10 \
      -artifact_prefix="build/fuzz/findings/$name/" "$corpus" >"$logs/$name.log" 2>&1; then
      tail -n 60 "$logs/$name.log"
      echo "$name found a failing input; it is kept in build/fuzz/findings/$name/" >&2
      return 1
    fi
    grep -E '^#[0-9]+[[:space:]]+DONE' "$logs/$name.log" || tail -n 1 "$logs/$name.log"
    passed=$((passed + 1))
  done
}

native
windows
fuzz
echo
echo "$passed passed, 0 failed"
