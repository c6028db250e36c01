#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs clang-tidy with .clang-tidy's checks over our sources as a build compiled them, as many
# at a time as there are processors, and fails on any finding. The build must have run: its
# compile_commands.json gives each source's flags, and its generated ui_*.h and moc files must
# exist. Only our own folders' sources and headers are checked.
#   scripts/tidy.sh [BUILD_DIR]     (build/ when none is given)
set -euo pipefail
cd "$(dirname "$0")/.."

build=${1:-build}
if [ ! -f "$build/compile_commands.json" ]; then
  echo "tidy.sh: $build/compile_commands.json is missing: configure and build $build first" >&2
  exit 1
fi
tidy=$(command -v clang-tidy-14 || command -v clang-tidy || true)
if [ -z "$tidy" ]; then
  echo "tidy.sh: clang-tidy is not installed (scripts/install-deps.sh installs it)" >&2
  exit 1
fi

# Our folders under this checkout, its path written as a regular expression.
root=$(printf '%s' "$PWD" | sed 's/[][\.*^$+?(){}|]/\\&/g')
ours="^$root/(app|bench|chart|fuzz|platform|sim|tests|tools)/"
jobs=$(nproc)
log=$(mktemp)
trap 'rm -f "$log"' EXIT

status=0
runner=$(command -v run-clang-tidy-14 || command -v run-clang-tidy || true)
if [ -n "$runner" ]; then
  "$runner" -clang-tidy-binary "$tidy" -p "$build" -j "$jobs" -header-filter "$ours" -quiet \
    "$ours" >"$log" 2>&1 || status=$?
else
  # CMake writes each entry's "file" on a line of its own.
  sed -nE 's/^[[:space:]]*"file": "(.*)",?$/\1/p' "$build/compile_commands.json" |
    grep -E "$ours" | sort -u |
    xargs -r -P "$jobs" -n 4 "$tidy" -p "$build" --header-filter="$ours" --quiet \
      >"$log" 2>&1 || status=$?
fi

# What is left once the colours, the runner's command lines and clang's counts of the warnings
# it hid are gone.
findings=$(sed 's/\x1b\[[0-9;]*m//g' "$log" |
  grep -vE "^(\S*clang-tidy\S* |[0-9]+ warnings? (and [0-9]+ errors? )?generated|Suppressed [0-9]+ warnings|Use -header-filter=|Running clang-tidy)" || true)
if grep -qE ': (warning|error):' <<<"$findings" || [ "$status" -ne 0 ]; then
  echo "$findings" >&2
  echo "tidy.sh: clang-tidy findings above ($(grep -cE ': (warning|error):' <<<"$findings") lines)" >&2
  exit 1
fi
echo "clang-tidy found nothing in our sources."
