#!/usr/bin/env bash
# Sets up, builds the normal and the sanitizer configurations, runs every test of both, the
# engine tests once more under the thread sanitizer, and a short smoke run of every fuzz target
# on its seed corpus. Exits non-zero on any failure.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/setup.sh
jobs=$(nproc)
fuzz_seconds="${SONDRIX_FUZZ_SECONDS:-10}"

echo "== normal build =="
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build
ctest --test-dir build --output-on-failure -j "$jobs"

echo "== sanitizer build (address, undefined) with fuzz targets =="
CC=clang CXX=clang++ cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug \
  -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g" -DSONDRIX_SANITIZE=ON -DSONDRIX_FUZZ=ON \
  -DSONDRIX_BENCH=OFF >/dev/null
cmake --build build-asan
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  LSAN_OPTIONS=suppressions="$PWD/tests/lsan.supp" \
  ctest --test-dir build-asan --output-on-failure -j "$jobs"

echo "== thread sanitizer: the engine tests (the reader and the plot pass start threads) =="
CC=clang CXX=clang++ cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=Debug \
  -DCMAKE_CXX_FLAGS="-O1 -g -fsanitize=thread" -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=thread" \
  -DSONDRIX_QT=OFF -DSONDRIX_BENCH=OFF >/dev/null
cmake --build build-tsan --target core_tests render_tests
TSAN_OPTIONS=halt_on_error=1 build-tsan/tests/core_tests --gtest_brief=1
TSAN_OPTIONS=halt_on_error=1 build-tsan/tests/render_tests --gtest_brief=1

echo "== fuzz smoke (${fuzz_seconds}s per target) =="
for target in build-asan/fuzz/fuzz_*; do
  [ -x "$target" ] || continue
  name=$(basename "$target")
  seeds="fuzz/corpus/${name#fuzz_}"
  work=$(mktemp -d)
  echo "-- $name"
  if ! "$target" -max_total_time="$fuzz_seconds" -rss_limit_mb=2048 -timeout=10 \
      "$work" "$seeds" >"$work.log" 2>&1; then
    tail -n 40 "$work.log"
    echo "fuzz target $name failed" >&2
    exit 1
  fi
  tail -n 1 "$work.log"
  rm -rf "$work" "$work.log"
done
echo "== all tests passed =="
