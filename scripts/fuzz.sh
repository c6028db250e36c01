#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the libFuzzer programs with Clang (AddressSanitizer and UndefinedBehaviorSanitizer on)
# into build-fuzz/, against a libjpeg built with the same instrumentation, then fuzzes each for
# the given number of seconds from the stored corpus.
#   scripts/fuzz.sh [seconds] [picture|chart|notebook ...]
#   FUZZ_BUILD_DIR=folder   another build folder than build-fuzz/
#   FUZZ_JOBS=n             fuzzing processes at once (one per processor unless given)
# New inputs go to <build>/corpus/<fuzzer>/, found faults to <build>/findings/<fuzzer>/;
# copy a fixed reproducer into fuzz/corpus/<fuzzer>/ so the replay test keeps it fixed.
# Fails when a fuzzer crashed, leaked, ran out of memory or timed out, naming the reproducers.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-60}
shift || true
fuzzers=("$@")
[ ${#fuzzers[@]} -gt 0 ] || fuzzers=(picture chart notebook)
build=${FUZZ_BUILD_DIR:-build-fuzz}
jobs=${FUZZ_JOBS:-$(nproc)}

./scripts/install-deps.sh
libjpeg=$(fuzz/libjpeg-turbo.sh "$build/libjpeg-turbo")
# The build's libjpeg is named outright (and any library found by an earlier configure
# forgotten), so every fuzzer decodes with the instrumented one.
CC=clang CXX=clang++ cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSANITIZE=ON \
  -DSIMHACHEUR_FUZZ=ON -DSIMHACHEUR_TESTS=OFF -DSIMHACHEUR_BENCH=OFF \
  -DJPEG_INCLUDE_DIR="$libjpeg/include" -DJPEG_LIBRARY="$libjpeg/lib/libjpeg.a" \
  -UJPEG_LIBRARY_RELEASE -UJPEG_LIBRARY_DEBUG >/dev/null
targets=()
for f in "${fuzzers[@]}"; do targets+=("${f}_fuzzer"); done
cmake --build "$build" --parallel "$(nproc)" --target "${targets[@]}"

export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS="detect_leaks=1:detect_stack_use_after_return=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export LSAN_OPTIONS="suppressions=$PWD/fuzz/lsan.supp"
# Sequences of operations need room: up to 1 KB, grown early rather than after hours (a few
# notebook lines fit too). The timeout looks for hangs: a sequence of full paints of a
# 2000-pixel chart under the sanitizers takes a few seconds on a busy machine, so it is well
# above that.
timeout_code=70
options=(-timeout=30 -timeout_exitcode="$timeout_code" -rss_limit_mb=2048 -max_len=1024
  -len_control=20)

# What this run found: crashes, leaks and memory exhaustion; timeouts apart.
faults=()
timeouts=()
# Runs one libFuzzer session; an exit status other than success or a timeout is a fault even
# when the fuzzer could leave no reproducer (it did not start, say).
fuzz() {
  local status=0
  # Each function first reached is named, symbolised, by fork mode's parent: noise here.
  "$fuzzer" "${options[@]}" -artifact_prefix="$findings/" "$@" "$build/corpus/$f" \
    "fuzz/corpus/$f" 2>&1 | sed -u '/^  NEW_FUNC/d' || status=$?
  if [ $status -ne 0 ] && [ $status -ne $timeout_code ]; then failed=$status; fi
  return $status
}
for f in "${fuzzers[@]}"; do
  fuzzer="$build/fuzz/${f}_fuzzer"
  findings="$build/findings/$f"
  mkdir -p "$build/corpus/$f" "$findings"
  start="$build/findings/.$f-start"
  touch "$start"
  failed=0
  found=${#faults[@]}
  echo "== ${f}_fuzzer: the corpus once, then ${seconds} s in ${jobs} processes"
  # Fork mode below starts by merging its corpus and silently leaves out an input that
  # crashes, so the corpus first runs once in this process, where such an input fails.
  if fuzz -runs=0 || [ $? -eq $timeout_code ]; then
    # Each child process fuzzes for a while and ends with its first fault. A timeout ends
    # that child only and the session goes on with the next; a crash, leak or memory
    # exhaustion ends the session, as without fork mode.
    fuzz -fork="$jobs" -ignore_timeouts=1 -ignore_crashes=0 -ignore_ooms=0 \
      -max_total_time="$seconds" || true
  fi
  # What was found is read from the folder: fork mode's exit status is its last child's, and a
  # child still at work when the time is up leaves its reproducer unreported.
  while IFS= read -r -d '' file; do
    case "$(basename "$file")" in
      timeout-*) timeouts+=("timeout: $fuzzer $file") ;;
      slow-unit-*) ;;
      *) faults+=("crash, leak or out of memory: $fuzzer $file") ;;
    esac
  done < <(find "$findings" -maxdepth 1 -type f -newer "$start" -print0)
  if [ "$failed" -ne 0 ] && [ ${#faults[@]} -eq "$found" ]; then
    faults+=("no reproducer: $fuzzer exited with status $failed")
  fi
done

# A timeout fails the run as a crash does: an input that keeps the program busy for 30 s
# freezes a student's window, far beyond the seconds the slowest stored input takes under
# the sanitizers on a busy machine, so it is a fault to mend, not noise.
if [ ${#faults[@]} -gt 0 ] || [ ${#timeouts[@]} -gt 0 ]; then
  echo "fuzz.sh: faults found (each replays with the command shown):" >&2
  for fault in "${faults[@]}" "${timeouts[@]}"; do echo "  $fault" >&2; done
  exit 1
fi
echo "fuzz.sh: no fault found"
