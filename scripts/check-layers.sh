#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Fails when a source includes a layer it sits below, or when a source of app/ or chart/ is over
# 450 lines. Every target sees the project root, so the layers are kept here rather than by the
# include paths; each folder's README says the same. tests/, bench/ and fuzz/ may include any.
#   scripts/check-layers.sh [ROOT]     (the project's own folder when none is given)
set -euo pipefail
cd "${1:-$(dirname "$0")/..}"

# Who may include what. A source takes the first row whose pattern its path matches; an include
# passes when one of the row's patterns matches it and no "!" pattern does. "*" stays within a
# folder, "**" goes down into its subfolders.

# chart/, from the bottom up: the root's files but chart.h (rounding, errors, notifying groups),
# the panel's drawing tools, axis/, series/, the panel's widgets, and chart.h over them all.
chart_out='platform/** sim/number_text.h'
chart_base="chart/* !chart/chart.h $chart_out"
panel_tools='chart/panel/chart_canvas.h chart/panel/chart_gradient.h chart/panel/chart_pen.h
  chart/panel/chart_wall.h chart/panel/event_shield.h'
chart_axis="chart/axis/** $panel_tools $chart_base"
chart_series="chart/series/** $chart_axis"
# The root of app/: its files but the window, which nothing else includes.
app_root='app/* !app/form1* !app/main.cpp'
app_out='chart/** platform/** sim/**'
rules=(
  # a source                       may include
  "platform/**                      platform/**"
  "sim/**                           sim/**"
  "tools/**                         tools/** platform/**"
  "chart/chart.*                    chart/** $chart_out"
  "chart/*                          $chart_base"
  "chart/panel/chart_canvas.*       $panel_tools $chart_base"
  "chart/panel/chart_gradient.h     $panel_tools $chart_base"
  "chart/panel/chart_pen.*          $panel_tools $chart_base"
  "chart/panel/chart_wall.h         $panel_tools $chart_base"
  "chart/panel/event_shield.*       $panel_tools $chart_base"
  # The three ways back up: an axis reads its chart and the series it scales to, a series
  # joins its chart and asks it for paints.
  "chart/axis/chart_axis*.cpp       $chart_axis chart/panel/custom_axis_panel.h
                                    chart/series/chart_series.h"
  "chart/axis/**                    $chart_axis"
  "chart/series/chart_series.h      $chart_series chart/panel/custom_axis_panel.h"
  "chart/series/**                  $chart_series"
  "chart/panel/**                   chart/panel/** $chart_series"
  "app/main.cpp                     app/** $app_out"
  "app/form1*                       app/** $app_out"
  "app/dialogs/**                   $app_root app/dialogs/** $app_out"
  "app/scope/**                     $app_root app/dialogs/** app/scope/** $app_out"
  "app/lab/**                       $app_root app/dialogs/** app/scope/** app/lab/** $app_out"
  "app/notebook/**                  $app_root app/dialogs/** app/notebook/** $app_out"
  "app/session/**                   $app_root app/dialogs/** app/scope/** app/lab/**
                                    app/notebook/** app/session/** $app_out"
  "app/*                            $app_root app/dialogs/** $app_out"
)
# A file over this many lines holds two things; the folders it applies to.
size_limit=450
size_folders=(app chart)

# Folders an include path can start with; any other first part is a system or Qt header.
ours='^(app|bench|chart|fuzz|platform|sim|tests|tools)/'

# True when `path` matches `pattern`, where "*" stays within one folder and "**" does not.
matches() {
  local path=$1 pattern=$2
  # shellcheck disable=SC2053 # the patterns are globs on purpose
  if [[ $pattern == *'**'* ]]; then
    [[ $path == ${pattern//\*\*/*} ]]
    return
  fi
  local slashes=${path//[!\/]/} pattern_slashes=${pattern//[!\/]/}
  # shellcheck disable=SC2053
  [[ ${#slashes} -eq ${#pattern_slashes} && $path == $pattern ]]
}

# True when `included` passes the patterns that follow it.
permitted() {
  local included=$1 entry found=1
  shift
  for entry; do
    if [[ $entry == '!'* ]]; then
      if matches "$included" "${entry:1}"; then return 1; fi
    elif matches "$included" "$entry"; then
      found=0
    fi
  done
  return $found
}

# Every source there, new ones not yet committed too.
mapfile -t sources < <(find platform sim chart tools app -type f \( -name '*.cpp' -o -name '*.h' \) \
  2>/dev/null | sort)

# Each source's row, whole, in `row_of`.
faults=()
declare -A row_of=()
for file in "${sources[@]}"; do
  for line in "${rules[@]}"; do
    read -r -d '' -a row <<<"$line" || true
    if matches "$file" "${row[0]}"; then
      row_of[$file]=$line
      break
    fi
  done
  [ -n "${row_of[$file]:-}" ] || faults+=("$file: no row of the table says what it may include")
done

# One grep over every source: "file:line:included" for each include.
while IFS=: read -r file line included; do
  [[ $included =~ $ours && -n ${row_of[$file]:-} ]] || continue
  read -r -d '' -a row <<<"${row_of[$file]}" || true
  permitted "$included" "${row[@]:1}" ||
    faults+=("$file:$line: includes $included (${row[0]} may include ${row[*]:1})")
done < <(grep -nHE '^[[:space:]]*#[[:space:]]*include[[:space:]]*["<]' /dev/null "${sources[@]}" |
  sed -E 's/^([^:]+):([0-9]+):[[:space:]]*#[[:space:]]*include[[:space:]]*["<]([^">]+)[">].*/\1:\2:\3/')
sim_sources=() sized=()
for file in "${sources[@]}"; do
  if [[ $file == sim/* ]]; then sim_sources+=("$file"); fi
  if [[ " ${size_folders[*]} " == *" ${file%%/*} "* ]]; then sized+=("$file"); fi
done
while IFS=: read -r file line text; do
  faults+=("$file:$line:$text (sim/ is plain C++, without Qt)")
done < <(grep -nHE '^[[:space:]]*#[[:space:]]*include[[:space:]]*<Q' /dev/null "${sim_sources[@]}" ||
  true)

long=()
while read -r lines file; do
  [ "$file" = total ] || [ "$lines" -le $size_limit ] || long+=("$file: $lines lines")
done < <(wc -l /dev/null "${sized[@]}")

if [ ${#faults[@]} -gt 0 ]; then
  echo "Includes across the layers:" >&2
  printf '  %s\n' "${faults[@]}" >&2
fi
if [ ${#long[@]} -gt 0 ]; then
  echo "Sources over $size_limit lines in ${size_folders[*]}:" >&2
  printf '  %s\n' "${long[@]}" >&2
fi
[ ${#faults[@]} -eq 0 ] && [ ${#long[@]} -eq 0 ] || exit 1
echo "Every source includes only the layers it may, none over $size_limit lines" \
  "in ${size_folders[*]} (${#sources[@]} sources)."
