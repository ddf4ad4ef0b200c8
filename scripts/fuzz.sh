#!/usr/bin/env bash
# Builds the libFuzzer targets with clang in build-fuzz/ and runs each for the given
# number of seconds (default 600), one after the other or, with -j N, N at a time.
#   scripts/fuzz.sh [-j N] [seconds] [target ...]
#     targets: bmp pcx psd clipboard cardfiles controllercards handover projectfile thumbnail picturecomplete undopicture floatingblock scanframes gridpaste picturejoins wordblock
# Seeds are made by the targets' own writers in build-fuzz/corpus/<target>/; findings
# (crash-*, leak-*, timeout-*) land in build-fuzz/findings/<target>/, logs beside them.
set -euo pipefail
cd "$(dirname "$0")/.."

parallel=1
if [ "${1:-}" = "-j" ]; then parallel=$2; shift 2; fi
seconds=${1:-600}
shift || true
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=(bmp pcx psd clipboard cardfiles controllercards handover projectfile thumbnail picturecomplete undopicture floatingblock scanframes gridpaste picturejoins wordblock)

cmake -S . -B build-fuzz -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DFUZZ=ON -DDORWEN_SANITIZE=ON -DDORWEN_TESTS=OFF >/dev/null
cmake --build build-fuzz -j "$(nproc)" --target "${targets[@]/#/fuzz_}"

export ASAN_OPTIONS=detect_leaks=1:allocator_may_return_null=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export QT_QPA_PLATFORM=offscreen

run() {
  local t=$1
  mkdir -p "build-fuzz/corpus/$t" "build-fuzz/findings/$t"
  local rc=0
  build-fuzz/fuzz/fuzz_"$t" -max_total_time="$seconds" -rss_limit_mb=4096 -timeout=20 \
    -artifact_prefix="build-fuzz/findings/$t/" -print_final_stats=1 \
    "build-fuzz/corpus/$t" "fuzz/seeds/$t" >"build-fuzz/findings/$t.log" 2>&1 || rc=$?
  echo "fuzz_$t: exit $rc, $(grep -E 'stat::number_of_executed_units' "build-fuzz/findings/$t.log" | awk '{print $2}') runs"
}

running=0
for t in "${targets[@]}"; do
  run "$t" &
  running=$((running + 1))
  if [ "$running" -ge "$parallel" ]; then wait -n || true; running=$((running - 1)); fi
done
wait
