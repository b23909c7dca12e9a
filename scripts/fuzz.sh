#!/usr/bin/env bash
# Builds the fuzz targets of fuzz/ (libFuzzer, clang, AddressSanitizer and
# UndefinedBehaviorSanitizer) in build-fuzz/ and runs each for SECONDS seconds (default 20),
# starting from its seed inputs in fuzz/corpus/TARGET/.
#
#   bash scripts/fuzz.sh [SECONDS] [TARGET...]     TARGET: picture, ini, expression, ...
#
# The inputs the fuzzer finds are kept in build-fuzz/corpus/TARGET/ (the seeds in the repository
# stay as they are) and make the next run start further. A crash stops the script with the
# fuzzer's report; the input that caused it is left in build-fuzz/crashes/, and
# `build-fuzz/fuzz_TARGET FILE` runs it again.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-20}
[ $# -gt 0 ] && shift
bash scripts/setup-packages.sh
if ! dpkg-query -W -f='${Status}' clang libclang-rt-dev 2>/dev/null | grep -q "install ok installed"; then
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends clang libclang-rt-dev
fi
cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
  -DDV_FUZZ=ON -DDV_BENCHMARKS=OFF >/dev/null
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for source in fuzz/fuzz_*.cpp; do
    name=$(basename "$source" .cpp)
    targets+=("${name#fuzz_}")
  done
fi
ninja -C build-fuzz -j"${DV_JOBS:-2}" "${targets[@]/#/fuzz_}"
mkdir -p build-fuzz/crashes
export UBSAN_OPTIONS=print_stacktrace=1
for target in "${targets[@]}"; do
  mkdir -p "build-fuzz/corpus/$target"
  log="build-fuzz/fuzz_$target.log"
  seeds=("fuzz/corpus/$target")
  # The import reads capture files as the reader's target does: those seeds are its seeds too.
  [ "$target" = capture_import ] && seeds+=(fuzz/corpus/capture_file)
  if "build-fuzz/fuzz_$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
      -print_final_stats=1 -artifact_prefix="build-fuzz/crashes/$target-" \
      "build-fuzz/corpus/$target" "${seeds[@]}" >"$log" 2>&1; then
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    echo "$target: ${runs:-?} inputs in $seconds s, no fault"
  else
    tail -n 60 "$log"
    echo "$target: the fuzzer found a fault (full report in $log, input in build-fuzz/crashes/)"
    exit 1
  fi
done
