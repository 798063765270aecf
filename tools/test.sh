#!/usr/bin/env bash
# Builds everything with AddressSanitizer and UndefinedBehaviorSanitizer and runs every test.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/tools/install-deps.sh"
# Every tracked source follows .clang-format; the first file that does not stops the run.
if ! (cd "$root" && git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run --Werror); then
  echo "Format the files above with: clang-format -i FILE" >&2
  exit 1
fi
build="$root/build-test"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTARNWICK_SANITIZE=ON
cmake --build "$build" -j"$(nproc)"
ctest --test-dir "$build" -j"$(nproc)" --output-on-failure --timeout 600
# Every reader of outside text, fuzzed a short while from what earlier runs learned; a finding
# fails the run.
"$root/tools/fuzz.sh" 20
