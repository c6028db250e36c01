#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Start-up time: the program against a bare Qt window, on a virtual X display of their own, each
# start timed from its beginning to its window mapped (map_watch): the bare window, the program
# with an empty notebook and the program with one of 200 000 rows, in turn. Prints the medians
# and the ratios; the goals are the program at most 1.1 times the bare window with an empty
# notebook, and the 200 000-row start at most 1.1 times the empty one.
#   bench/startup_bench.sh [BUILD_DIR]     build/ when none is given; RUNS=7 starts of each
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "${1:-build}")
runs=${RUNS:-7}
program=$build/run/simhacheur
bare=$build/bench/bare_window
watch=$build/bench/map_watch
for file in "$program" "$bare" "$watch"; do
  [ -x "$file" ] || { echo "$file is missing: build with SIMHACHEUR_BENCH=ON" >&2; exit 2; }
done
command -v Xvfb >/dev/null || { echo "Xvfb is needed (package xvfb)" >&2; exit 77; }

work=$(mktemp -d)
xvfb=
cleanup() {
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null && wait "$xvfb" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

# A display nobody else uses, without a window manager: both windows are mapped alike.
display=90
while [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ]; do
  display=$((display + 1))
done
Xvfb ":$display" -screen 0 1920x1080x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
for _ in $(seq 200); do
  [ -e "/tmp/.X11-unix/X$display" ] && break
  sleep 0.05
done
export DISPLAY=":$display" QT_QPA_PLATFORM=xcb
export XDG_CACHE_HOME=$work/cache  # shared, warmed by the first starts

# A home of its own per case; `rows` rows in its notebook, written as the program writes them.
make_home() {
  local home=$work/$1 rows=$2
  mkdir -p "$home/data/simhacheur/simhacheur" "$home/config"
  if [ "$rows" -gt 0 ]; then
    LC_ALL=C awk -v n="$rows" 'BEGIN {
      printf "simhacheur relevés 2\t%032d\n", 1
      for (k = 0; k < n; k++)
        printf "+\t2026-01-05 10:00:00\tHacheur 2 quadrants\t\t\t\t\t%d\t%.1f\t%d\t\t\t%032d\n",
               k % 100, (k % 1000) / 10, k % 3000, k + 1
    }' >"$home/data/simhacheur/simhacheur/releves.tsv"
  fi
  echo "$home"
}

# One start of `binary` in `home`, in a runtime folder of its own: the milliseconds to its window.
start() {
  local home=$1 binary=$2 run
  run=$(mktemp -d -p "$work")
  chmod 700 "$run"
  (cd "$build/run" && HOME=$home XDG_DATA_HOME=$home/data XDG_CONFIG_HOME=$home/config \
    XDG_RUNTIME_DIR=$run "$watch" -- "$binary" 2>/dev/null)
}

median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

# The three starts in turn, run after run, so that a change of the machine's load meanwhile falls
# on all three alike.
empty=$(make_home empty 0)
rows200k=$(make_home rows200k 200000)
for binary in "$bare" "$program"; do  # warms the caches
  start "$empty" "$binary" >/dev/null
done
start "$rows200k" "$program" >/dev/null
: >"$work/bare.txt"
: >"$work/empty.txt"
: >"$work/rows200k.txt"
for _ in $(seq "$runs"); do
  start "$empty" "$bare" >>"$work/bare.txt"
  start "$empty" "$program" >>"$work/empty.txt"
  start "$rows200k" "$program" >>"$work/rows200k.txt"
done
bare_ms=$(median <"$work/bare.txt")
empty_ms=$(median <"$work/empty.txt")
rows_ms=$(median <"$work/rows200k.txt")

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }
echo "Start to window mapped, medians of $runs starts each:"
printf '  %-44s %8s ms\n' "bare Qt window" "$bare_ms"
printf '  %-44s %8s ms  %s x the bare window (goal: 1.10 at most)\n' \
  "simhacheur, empty notebook" "$empty_ms" "$(ratio "$empty_ms" "$bare_ms")"
printf '  %-44s %8s ms  %s x the empty notebook (goal: 1.10 at most)\n' \
  "simhacheur, 200 000-row notebook" "$rows_ms" "$(ratio "$rows_ms" "$empty_ms")"
