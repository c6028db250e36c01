#!/usr/bin/env bash
# Builds the libFuzzer programs with Clang (AddressSanitizer and UndefinedBehaviorSanitizer on)
# into build-fuzz/, then runs each for the given number of seconds from the stored corpus.
#   scripts/fuzz.sh [seconds] [picture|chart|notebook ...]
# New inputs go to build-fuzz/corpus/<fuzzer>/, found faults to build-fuzz/findings/<fuzzer>/;
# copy a fixed reproducer into fuzz/corpus/<fuzzer>/ so the replay test keeps it fixed.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-60}
shift || true
fuzzers=("$@")
[ ${#fuzzers[@]} -gt 0 ] || fuzzers=(picture chart notebook)

if ! command -v clang++ >/dev/null 2>&1; then
  echo "fuzz.sh: clang++ is not installed; the fuzzers need it" >&2
  exit 1
fi
CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSANITIZE=ON \
  -DSIMHACHEUR_FUZZ=ON -DSIMHACHEUR_TESTS=OFF -DSIMHACHEUR_BENCH=OFF >/dev/null
targets=()
for f in "${fuzzers[@]}"; do targets+=("${f}_fuzzer"); done
cmake --build build-fuzz --parallel "$(nproc)" --target "${targets[@]}"

export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS="detect_leaks=1:detect_stack_use_after_return=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export LSAN_OPTIONS="suppressions=$PWD/fuzz/lsan.supp"
for f in "${fuzzers[@]}"; do
  mkdir -p "build-fuzz/corpus/$f" "build-fuzz/findings/$f"
  echo "== ${f}_fuzzer for ${seconds} s"
  # Sequences of operations need room: up to 1 KB, grown early rather than after hours (a few
  # notebook lines fit too). The timeout looks for hangs: a sequence of full paints of a
  # 2000-pixel chart under the sanitizers takes a few seconds on a busy machine, so it is well
  # above that.
  "build-fuzz/fuzz/${f}_fuzzer" -max_total_time="$seconds" -timeout=30 -rss_limit_mb=2048 \
    -max_len=1024 -len_control=20 -print_final_stats=1 -artifact_prefix="build-fuzz/findings/$f/" \
    "build-fuzz/corpus/$f" "fuzz/corpus/$f"
done
