#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# scripts/check-layers.sh on a small tree of its own: it passes one that keeps its layers, and
# refuses, naming the file and line, each include that crosses one and each source too long.
#   check_layers_test.sh PATH_OF_CHECK_LAYERS_SH
set -euo pipefail
check=$1
tree=$(mktemp -d)
trap 'rm -rf "$tree"' EXIT
mkdir -p "$tree"/{platform,sim,chart/axis,chart/series,chart/panel,tools,app/{lab,notebook,session}}
write() { printf '%s\n' "${@:2}" >"$tree/$1"; }

write platform/canvas.h '#include "platform/color.h"' '#include <QImage>'
write sim/bench.h '#include "sim/bench_types.h"' '#include <vector>'
write chart/chart.h '#include "chart/axis/axis_map.h"' '#include "platform/canvas.h"' \
  '#include "sim/number_text.h"'
write chart/axis/chart_axis.cpp '#include "chart/chart_math.h"' '#include "chart/panel/chart_pen.h"' \
  '#include "chart/panel/custom_axis_panel.h"' '#include "chart/series/chart_series.h"'
write chart/series/chart_series.h '#include "chart/axis/chart_axis.h"' \
  '#include "chart/panel/custom_axis_panel.h"'
write tools/jpeg_writer.cpp '#include "tools/jpeg_writer.h"' '#include "platform/jpeg_error.h"'
write app/form1_lab.cpp '#include "app/form1.h"' '#include "app/lab/export.h"'
write app/guarded.cpp '#include "app/guarded.h"' '#include "app/dialogs/error_box.h"'
write app/lab/export.cpp '#include "app/scope/scope_view.h"' '#include "chart/chart.h"' \
  '#include "platform/canvas.h"' '#include "sim/bench.h"' '#include "ui_form1.h"' \
  '#include <benchmark/benchmark.h>'
write app/session/session.cpp '#include "app/lab/export.h"' '#include "app/notebook/store.h"'
for ((i = 1; i <= 450; ++i)); do echo "// $i"; done >"$tree/app/notebook/store.h"
if ! out=$("$check" "$tree" 2>&1); then
  echo "a tree within its layers was refused:"
  echo "$out"
  exit 1
fi

# Each row: a file and the include that takes it across a layer, on its second line.
faults=(
  'platform/x.h|#include "sim/bench.h"'
  'sim/x.h|#include "chart/chart.h"'
  'sim/y.cpp|#include <QString>'
  'chart/x.h|#include "sim/bench.h"'
  'chart/chart_math.h|#include "chart/axis/axis_map.h"'
  'chart/axis/y.cpp|#include "app/form1.h"'
  'chart/axis/z.cpp|#include "chart/panel/custom_axis_panel.h"'
  'chart/series/x.h|#include "chart/panel/custom_chart.h"'
  'tools/x.cpp|#include "chart/chart.h"'
  'app/x.cpp|#include "tests/support/oscilloscope_chart.h"'
  'app/y.cpp|#include "app/lab/export.h"'
  'app/lab/x.cpp|#include "app/form1.h"'
  'app/notebook/x.cpp|#include "app/lab/export.h"'
  'app/room/x.cpp|#include "app/guarded.h"'
)
for row in "${faults[@]}"; do
  file=${row%%|*}
  mkdir -p "$(dirname "$tree/$file")"
  write "$file" '#pragma once' "${row#*|}"
  if out=$("$check" "$tree" 2>&1); then
    echo "accepted $file: ${row#*|}"
    exit 1
  fi
  if ! grep -qE "(^| )$file(:2:|: )" <<<"$out"; then
    echo "refused without naming $file:2:"
    echo "$out"
    exit 1
  fi
  rm "$tree/$file"
done

# One line more than the bar allows, where the bar applies.
echo '// one more' >>"$tree/app/notebook/store.h"
if out=$("$check" "$tree" 2>&1) || ! grep -qF "app/notebook/store.h: 451 lines" <<<"$out"; then
  echo "a source over the bar was not refused: $out"
  exit 1
fi
echo "check-layers.sh passes the layers and refuses each of ${#faults[@]} crossings and a long source"
