#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# scripts/check-layers.sh on a small tree of its own: it passes one that keeps its layers, and
# refuses, naming the file and line, each include that crosses one.
#   check_layers_test.sh PATH_OF_CHECK_LAYERS_SH
set -euo pipefail
check=$1
tree=$(mktemp -d)
trap 'rm -rf "$tree"' EXIT
mkdir -p "$tree"/{platform,sim,chart,tools,app/lab}
write() { printf '%s\n' "${@:2}" >"$tree/$1"; }

write platform/canvas.h '#include "platform/color.h"' '#include <QImage>'
write sim/bench.h '#include "sim/bench_types.h"' '#include <vector>'
write chart/chart.h '#include "chart/axis/axis_map.h"' '#include "platform/canvas.h"' \
  '#include "sim/number_text.h"'
write tools/jpeg_writer.cpp '#include "tools/jpeg_writer.h"' '#include "platform/jpeg_error.h"'
write app/lab/export.cpp '#include "app/form1.h"' '#include "chart/chart.h"' \
  '#include "platform/canvas.h"' '#include "sim/bench.h"' '#include "ui_form1.h"' \
  '#include <benchmark/benchmark.h>'
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
  'chart/axis/y.cpp|#include "app/form1.h"'
  'tools/x.cpp|#include "chart/chart.h"'
  'app/x.cpp|#include "tests/support/oscilloscope_chart.h"'
)
for row in "${faults[@]}"; do
  file=${row%%|*}
  mkdir -p "$(dirname "$tree/$file")"
  write "$file" '#pragma once' "${row#*|}"
  if out=$("$check" "$tree" 2>&1); then
    echo "accepted $file: ${row#*|}"
    exit 1
  fi
  if ! grep -qF "$file:2" <<<"$out"; then
    echo "refused without naming $file:2:"
    echo "$out"
    exit 1
  fi
  rm "$tree/$file"
done
echo "check-layers.sh passes the layers and refuses each of ${#faults[@]} crossings"
