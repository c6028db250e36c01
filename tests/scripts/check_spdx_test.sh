#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# scripts/check-spdx.sh on a small git tree of its own whose files are not yet committed: it
# passes files that name their licence at their top, files that need none and ignored ones, and
# refuses, naming it, each file below that does not name its own.
#   check_spdx_test.sh PATH_OF_CHECK_SPDX_SH
set -euo pipefail
check=$1
tree=$(mktemp -d)
trap 'rm -rf "$tree"' EXIT
write() { mkdir -p "$(dirname "$tree/$1")" && printf '%s\n' "${@:2}" >"$tree/$1"; }
git -C "$tree" init -q
write sim/a.cpp '// SPDX-License-Identifier: GPL-3.0-or-later'
write aide/p.htm '<!DOCTYPE html>' '<!-- SPDX-License-Identifier: CC-BY-SA-4.0 -->'
write README.md 'no licence line needed'
write .gitignore '/build/' && write build/moc.cpp 'generated'
"$check" "$tree" >/dev/null || { echo "a tree with its licence lines was refused"; exit 1; }

# Each row: a file and its lines.
faults=('app/b.h|#pragma once' 'tools/CMakeLists.txt|project(x)'
  'aide/q.htm|<!-- SPDX-License-Identifier: GPL-3.0-or-later -->'
  'sim/late.h|#pragma once|||// SPDX-License-Identifier: GPL-3.0-or-later')
for row in "${faults[@]}"; do
  IFS='|' read -r -a lines <<<"$row"
  write "${lines[@]}"
  out=$("$check" "$tree" 2>&1) && { echo "accepted ${lines[0]}"; exit 1; }
  grep -qF "${lines[0]}:" <<<"$out" || { echo "refused without naming ${lines[0]}: $out"; exit 1; }
  rm "$tree/${lines[0]}"
done
