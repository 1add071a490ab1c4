#!/usr/bin/env bash
# Builds the test suite in build-san/ with clang, AddressSanitizer and
# UndefinedBehaviorSanitizer (any finding stops the program), and runs it; then
# runs each fuzzing harness of tests/fuzz briefly over its seed corpus
# (ORBIPLATE_FUZZ_SECONDS each, 5 by default; 0 skips them). Any finding fails.
#
# Leak detection (LeakSanitizer) is on. Qt keeps some allocations until the end on
# purpose (platform plugin, font database), still reachable from its statics, so
# LeakSanitizer does not report them; fontconfig however drops its pointers to some
# blocks it allocates while fonts are matched, and those are suppressed by
# tests/lsan.supp (matched on the library). A leak of our own still fails the
# test or the harness that made it.
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
bash "$top/scripts/setup-deps.sh"
cd "$top"
# -O1 and line tables only: a quarter less compile time than -O2 -g, and the
# sanitizers' reports still name every file and line.
flags="-O1 -gline-tables-only -DNDEBUG"
CC=clang CXX=clang++ cmake -S . -B build-san -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_FLAGS_RELWITHDEBINFO="$flags" -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="$flags" \
  -DORBIPLATE_SANITIZE=ON -DORBIPLATE_FUZZ=ON -DORBIPLATE_BUILD_BENCH=OFF >/dev/null
cmake --build build-san -j2

export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0:strict_string_checks=1:detect_stack_use_after_return=1:check_initialization_order=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export LSAN_OPTIONS="suppressions=$top/tests/lsan.supp:print_suppressions=0"
if [ -x /usr/lib/llvm-14/bin/llvm-symbolizer ]; then export ASAN_SYMBOLIZER_PATH=/usr/lib/llvm-14/bin/llvm-symbolizer; fi
cd "$top/build-san"
ctest --output-on-failure -j2 --timeout 900

# Fuzzing smoke: the seeds stay as committed (new inputs go to a scratch folder
# given first), crashes land in build-san/fuzz-crashes/. Two harnesses run at a
# time, one per core.
seconds="${ORBIPLATE_FUZZ_SECONDS:-5}"
fuzz_one() {
  local seeds="$1" name scratch
  name="$(basename "$seeds")"
  scratch="$top/build-san/fuzz-corpus/$name"
  rm -rf "$scratch"
  mkdir -p "$scratch"
  if ! "$top/build-san/fuzz/fuzz_$name" -max_total_time="$seconds" -timeout=25 -rss_limit_mb=2560 \
      -print_final_stats=1 -artifact_prefix="$top/build-san/fuzz-crashes/${name}-" \
      "$scratch" "$seeds" >"$top/build-san/fuzz-$name.log" 2>&1; then
    tail -n 60 "$top/build-san/fuzz-$name.log"
    echo "fuzz_$name: finding, see build-san/fuzz-crashes/" >&2
    return 1
  fi
  echo "fuzz_$name (${seconds} s): $(grep -E '^stat::number_of_executed_units' "$top/build-san/fuzz-$name.log" | tail -n 1)"
}
if [ "$seconds" -gt 0 ]; then
  mkdir -p "$top/build-san/fuzz-crashes"
  corpora=("$top"/tests/fuzz/corpus/*/)
  failed=0
  for ((i = 0; i < ${#corpora[@]}; i += 2)); do
    fuzz_one "${corpora[i]}" & first=$!
    second=""
    if [ $((i + 1)) -lt ${#corpora[@]} ]; then
      fuzz_one "${corpora[i + 1]}" & second=$!
    fi
    wait "$first" || failed=1
    if [ -n "$second" ]; then wait "$second" || failed=1; fi
    if [ "$failed" -ne 0 ]; then exit 1; fi
  done
fi
