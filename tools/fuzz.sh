#!/usr/bin/env bash
# Builds the libFuzzer targets of fuzz/ with clang in build-fuzz/ and runs each for SECONDS
# (default 60), two at a time. New corpus entries are kept outside the tree, in
# ${XDG_CACHE_HOME:-~/.cache}/tarnwick-fuzz/<target>/, so every run starts where the last ended.
# Any crash, leak, sanitizer report or input slower than 2 s fails the run, with the path of the
# reproducer and the command that replays it.
set -euo pipefail
seconds=${1:-60}
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build-fuzz"
cache="${XDG_CACHE_HOME:-${HOME:-/tmp}/.cache}/tarnwick-fuzz"
"$root/tools/install-deps.sh"

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-g -O1" \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DTARNWICK_FUZZ=ON -DTARNWICK_TESTS=OFF >/dev/null
cmake --build "$build" --target tarnwick_fuzzers -j2

# The readers that take files by path write them per input: in memory where the machine has it.
scratch=$(mktemp -d "$([ -w /dev/shm ] && echo /dev/shm || echo "${TMPDIR:-/tmp}")/tarnwick-fuzz.XXXXXX")
trap 'rm -rf "$scratch"' EXIT
export TMPDIR="$scratch"
# The Qt targets draw nothing; the platform plug-in must still load without a display.
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
export LSAN_OPTIONS="suppressions=$root/fuzz/lsan.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"

# target: dictionary and longest input
declare -A dictionary=([ini_files]=ini [languages]=object_stream [document]=edif [control_requests]=parameters
                       [parameter_strings]=parameters [help_ids]=ini [reg_expr]=reg_expr [key_mappings]="" [edif_check]=edif)
targets=(parameter_strings control_requests ini_files help_ids languages reg_expr document key_mappings
         edif_check)

run_target() {
  local target=$1 corpus="$cache/$1" artifacts="$cache/artifacts/$1/" log="$cache/logs/$1.log"
  mkdir -p "$corpus" "$artifacts" "$(dirname "$log")"
  local options=(-max_total_time="$seconds" -timeout=2 -rss_limit_mb=2560 -max_len=8192
                 -print_final_stats=1 -artifact_prefix="$artifacts")
  [ -n "${dictionary[$target]}" ] && options+=(-dict="$root/fuzz/dictionaries/${dictionary[$target]}.dict")
  # Each report is printed in one piece, so the two targets that run together do not interleave.
  if "$build/fuzz/${target}_fuzzer" "${options[@]}" "$corpus" "$root/fuzz/corpus/$target" >"$log" 2>&1; then
    echo "$target: ok: $(grep -E '^#[0-9]+' "$log" | tail -n 1 | tr -s ' ')"
    return 0
  fi
  local report unit
  report="$target: FAILED (log: $log)"$'\n'
  report+=$(grep -E '^(==[0-9]+==ERROR|SUMMARY|.*runtime error|.*requirement failed|ALARM)' "$log" | head -n 20 |
            sed 's/^/  /')
  unit=$(grep -oE 'Test unit written to [^ ]+' "$log" | tail -n 1 | sed 's/Test unit written to //')
  if [ -n "$unit" ]; then
    report+=$'\n'"  reproducer: $unit"$'\n'
    report+="  replay: TMPDIR=/tmp QT_QPA_PLATFORM=offscreen LSAN_OPTIONS=suppressions=$root/fuzz/lsan.supp"
    report+=" $build/fuzz/${target}_fuzzer -timeout=2 $unit"
  fi
  echo "$report"
  return 1
}

failed=0
for ((i = 0; i < ${#targets[@]}; i += 2)); do
  pids=()
  for target in "${targets[@]:i:2}"; do
    run_target "$target" &
    pids+=($!)
  done
  for pid in "${pids[@]}"; do
    wait "$pid" || failed=$((failed + 1))
  done
done
# One closing line in the form test runners end with: a target passes when it found nothing.
echo "fuzz: $((${#targets[@]} - failed)) passed, $failed failed"
[ "$failed" -eq 0 ]
