#!/usr/bin/env bash
# Lists the source functions over the house limits with clang-tidy: cognitive complexity
# (readability-function-cognitive-complexity) and length in lines (readability-function-size).
#   scripts/complexity.sh [complexity [lines]]   limits, 60 and 120 unless given
# It reads the compile commands of build-test/ (configure it first) and checks the program's
# sources, not the tests; it fails when a function is over a limit.
set -euo pipefail
cd "$(dirname "$0")/.."

complexity=${1:-60}
lines=${2:-120}
[ -f build-test/compile_commands.json ] || { echo "configure build-test first" >&2; exit 2; }

config="{CheckOptions: [
  {key: readability-function-cognitive-complexity.Threshold, value: $complexity},
  {key: readability-function-cognitive-complexity.DescribeBasicIncrements, value: false},
  {key: readability-function-size.LineThreshold, value: $lines}]}"
report=$(find app card core editor shell weave -name '*.cpp' -print0 \
  | xargs -0 -n 8 -P "${JOBS:-3}" clang-tidy -p build-test --quiet \
      --checks='-*,readability-function-cognitive-complexity,readability-function-size' \
      --config="$config" 2>/dev/null \
  | grep -E '^[^ ].*warning: function' | sed "s|^$PWD/||" | sort -u || true)
if [ -n "$report" ]; then
  echo "$report"
  exit 1
fi
echo "No function over complexity $complexity or $lines lines."
