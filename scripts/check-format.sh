#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Fails when a C++ source of the project is not formatted as .clang-format says, when a file does
# not name its licence (scripts/check-spdx.sh), or when a number is converted through the C
# library's locale.
set -euo pipefail
cd "$(dirname "$0")/.."
git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run --Werror
echo "Every source is formatted."

# Every source, script, build file and page names its licence at its top.
./scripts/check-spdx.sh

# Qt sets the C library's locale from the environment at start-up: on a French desktop printf
# then writes "2,5" and strtod stops at the point of "2.5". Numbers become text and text numbers
# through sim/number_text.h (or a QLocale named explicitly), never through these.
mapfile -t sources < <({ git ls-files; git ls-files --others --exclude-standard; } |
  grep -E '^(chart|sim|app|platform)/.*\.(cpp|h)$' | sort -u |
  while read -r file; do if [ -f "$file" ]; then echo "$file"; fi; done)

# Safe where they stand: the file, a text of the line, and why.
allowed=(
)

locale_hits() {
  # printf and scanf calls whose format has a floating-point conversion (%f, %.3e, %Lg, %a ...),
  # each call followed to its ';'.
  awk '
    FNR == 1 { call = "" }
    /^[ \t]*\/\// { next }
    {
      if (call == "" && $0 ~ /(^|[^A-Za-z0-9_])v?(s|sn|f|d|as)?w?(printf|scanf)[ \t]*\(/) {
        call = $0
        start = FNR
      } else if (call != "") {
        call = call " " $0
      }
      if (call != "" && $0 ~ /;/) {
        if (call ~ /"[^"]*%[-+ #0\047]*([0-9]+|\*)?(\.([0-9]+|\*)?)?(hh|h|ll|l|L|q|j|z|t)?[fFeEgGaA]/)
          print FILENAME ":" start ":" call
        call = ""
      }
    }' "$@"
  # The C library's readers of decimal numbers, and std::to_string, which writes with "%f".
  grep -nHE '\b(strto(d|f|ld)|wcsto(d|f|ld)|atof|sto(d|f|ld))[[:space:]]*\(' "$@" || true
  grep -nHE 'std::to_string[[:space:]]*\(' "$@" || true
  # Streams follow whichever locale is global.
  grep -nHE 'std::(i|o)?stringstream\b' "$@" || true
  # Qt's readers without a QLocale named on the line.
  grep -nHE '(\.|::)to(Double|Float)[[:space:]]*\(' "$@" |
    grep -vE 'QLocale[^;]*\.to(Double|Float)[[:space:]]*\(' || true
}

hits=$(locale_hits "${sources[@]}" /dev/null | grep -vE '^[^:]+:[0-9]+:[[:space:]]*//' || true)
for entry in "${allowed[@]}"; do
  IFS='|' read -r file text _ <<<"$entry"
  hits=$(awk -v f="$file:" -v t="$text" 'NF && (index($0, f) != 1 || index($0, t) == 0)' <<<"$hits")
done
if [ -n "$hits" ]; then
  echo "Numbers converted through the C library's locale; use sim/number_text.h or a QLocale:" >&2
  echo "$hits" >&2
  exit 1
fi
echo "No number goes through the C library's locale."
