#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# scripts/check-spdx.sh on a small tree of its own, first a plain folder and then a git work tree
# whose files are not yet committed: it passes each file that names its licence at its top, and
# refuses, naming it, each file below that does not.
#   check_spdx_test.sh PATH_OF_CHECK_SPDX_SH
set -euo pipefail
check=$1
tree=$(mktemp -d)
trap 'rm -rf "$tree"' EXIT
write() { mkdir -p "$(dirname "$tree/$1")" && printf '%s\n' "${@:2}" >"$tree/$1"; }
write sim/a.cpp '// SPDX-License-Identifier: GPL-3.0-or-later'
write run.sh '#!/bin/sh' '# SPDX-License-Identifier: GPL-3.0-or-later'
write aide/p.htm '<!DOCTYPE html>' '<!-- SPDX-License-Identifier: CC-BY-SA-4.0 -->'
write README.md 'no licence line needed here'

# Each row: a file, and its lines.
faults=(
  'app/b.h|#pragma once'
  'tools/CMakeLists.txt|project(x)'
  'aide/q.htm|<!-- SPDX-License-Identifier: GPL-3.0-or-later -->'
  'sim/late.h|#pragma once|||// SPDX-License-Identifier: GPL-3.0-or-later'
)
for mode in folder git; do
  if [ $mode = git ]; then
    git -C "$tree" init -q && write .gitignore '/build/' && write build/moc.cpp 'generated'
  fi
  "$check" "$tree" >/dev/null || { echo "a tree with its licence lines refused ($mode)"; exit 1; }
  for row in "${faults[@]}"; do
    IFS='|' read -r -a lines <<<"$row"
    write "${lines[@]}"
    if out=$("$check" "$tree" 2>&1) || ! grep -qF "${lines[0]}:" <<<"$out"; then
      echo "not refused by name ($mode): ${lines[0]}"; echo "$out"; exit 1
    fi
    rm "$tree/${lines[0]}"
  done
done
echo "check-spdx.sh passes files with their licence line and refuses ${#faults[@]} without, twice"
