#!/usr/bin/env bash
# Builds the program twice (plain, and with AddressSanitizer and UndefinedBehaviorSanitizer)
# and runs every test in both builds.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup-packages.sh
jobs=${DV_JOBS:-2}
# Optimised as released but without debug information, which only slows the build down here;
# the sanitizer build keeps line tables (-g1), enough for the file and line of every report.
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG" \
  >/dev/null
ninja -C build -j"$jobs"
ctest --test-dir build -j"$jobs" --output-on-failure
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-g1" \
  -DDV_SANITIZE=ON >/dev/null
ninja -C build-asan -j"$jobs"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build-asan -j"$jobs" --output-on-failure
