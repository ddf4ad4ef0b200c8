#!/usr/bin/env bash
# Installs the Debian packages Dorwen CAD needs, builds it and then:
#   scripts/build.sh run    starts the program (optimised build in build/)
#   scripts/build.sh test   runs every test (sanitizer build in build-test/)
#   scripts/build.sh bench  builds the benchmarks in build-bench/ (run them from build-bench/bench/)
set -euo pipefail
cd "$(dirname "$0")/.."

mode=${1:-run}
shift || true

packages=(
  build-essential cmake ninja-build ccache pkg-config python3
  qt6-base-dev qt6-base-dev-tools qt6-image-formats-plugins libgl-dev
  libgraphicsmagick++1-dev libtiff-dev ghostscript libsane-dev libzstd-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  clang clang-format clang-tidy
  breeze-icon-theme libqt6svg6 shared-mime-info
  # A font that draws Chinese, for the text tool and its tests.
  fonts-noto-cjk
)

# The benchmarks also time the start-up on an X server against another Qt editor's.
if [ "$mode" = bench ]; then
  packages+=(xvfb libxcb1-dev tiled)
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  sudo_cmd=""
  [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
  $sudo_cmd apt-get update
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y "${missing[@]}"
fi

jobs=$(nproc)
case "$mode" in
  run)
    cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DDORWEN_TESTS=OFF
    cmake --build build -j "$jobs"
    exec ./build/app/dorwen-cad "$@"
    ;;
  test)
    cmake -S . -B build-test -G Ninja -DCMAKE_BUILD_TYPE=Debug -DDORWEN_SANITIZE=ON -DDORWEN_TESTS=ON
    cmake --build build-test -j "$jobs"
    # The sources keep the house format (.clang-format).
    find app bench card core editor fuzz shell tests weave \( -name '*.cpp' -o -name '*.h' \) \
      -not -path 'tests/layering/fixture/*' -print0 | xargs -0 clang-format --dry-run --Werror
    export QT_QPA_PLATFORM=offscreen
    export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
    export LSAN_OPTIONS=suppressions=$PWD/tests/lsan.supp:print_suppressions=0
    export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
    # Each test program once as one process with its tests in random order, so that
    # faults hidden by one process per test (order, uninitialised memory) surface; the
    # programs run side by side.
    # SANE's test backend cancels its reader thread wherever it happens to be (asynchronous
    # cancellation), which can leave the sanitizer's allocator locked for the rest of the
    # process: the tests that scan through it run only in processes of their own (ctest).
    own_process='-Scanner.*:SystemFixture.ScanningOpensAnUnsavedDocument'
    pids=()
    for t in build-test/tests/test_*; do
      [[ -f $t && -x $t ]] || continue
      filter=()
      [[ $t == */test_shell ]] && filter=(--gtest_filter="$own_process")
      "$t" --gtest_shuffle --gtest_brief=1 "${filter[@]}" >"$t.shuffled.log" 2>&1 &
      pids+=("$!:$t")
    done
    shuffled_ok=1
    for p in "${pids[@]}"; do
      if ! wait "${p%%:*}"; then
        cat "${p#*:}.shuffled.log"
        echo "FAILED in random order: ${p#*:}" >&2
        shuffled_ok=0
      fi
    done
    ((shuffled_ok)) || exit 1
    ctest --test-dir build-test --output-on-failure -j "$jobs" "$@"
    ;;
  bench)
    cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DDORWEN_TESTS=OFF -DDORWEN_BENCH=ON
    cmake --build build-bench -j "$jobs"
    ;;
  *)
    echo "usage: scripts/build.sh run|test|bench" >&2
    exit 2
    ;;
esac
