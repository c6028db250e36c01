#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Fails when a folder includes one it sits below: every target sees the project root, so the
# layers are kept here rather than by the include paths. Each folder's README says the same.
#   platform/  platform/ only
#   sim/       sim/ only, and no Qt: the bench and the number module are plain C++
#   chart/     chart/, platform/ and sim/number_text.h
#   tools/     tools/ and platform/
#   app/       app/, chart/, platform/ and sim/
#   tests/, bench/ and fuzz/ may include any of them.
#   scripts/check-layers.sh [ROOT]     (the project's own folder when none is given)
set -euo pipefail
cd "${1:-$(dirname "$0")/..}"

declare -A allowed=(
  [platform]="platform/"
  [sim]="sim/"
  [chart]="chart/ platform/ sim/number_text.h"
  [tools]="tools/ platform/"
  [app]="app/ chart/ platform/ sim/"
)
# Folders an include path can start with; any other first part is a system or Qt header.
ours='^(app|bench|chart|fuzz|platform|sim|tests|tools)/'

# Every source there, new ones not yet committed too.
mapfile -t sources < <(find platform sim chart tools app -type f \( -name '*.cpp' -o -name '*.h' \) \
  2>/dev/null | sort)

faults=()
for file in "${sources[@]}"; do
  folder=${file%%/*}
  while IFS=: read -r line included; do
    [[ $included =~ $ours ]] || continue
    ok=0
    for prefix in ${allowed[$folder]}; do
      if [[ $prefix == */ && $included == "$prefix"* ]] || [[ $included == "$prefix" ]]; then
        ok=1
        break
      fi
    done
    [ $ok -eq 1 ] || faults+=("$file:$line: includes $included (${folder}/ may include ${allowed[$folder]})")
  done < <(grep -nE '^[[:space:]]*#[[:space:]]*include[[:space:]]*["<]' "$file" |
    sed -E 's/^([0-9]+):[[:space:]]*#[[:space:]]*include[[:space:]]*["<]([^">]+)[">].*/\1:\2/')
  if [ "$folder" = sim ]; then
    while IFS= read -r hit; do
      faults+=("$file:$hit (sim/ is plain C++, without Qt)")
    done < <(grep -nE '^[[:space:]]*#[[:space:]]*include[[:space:]]*<Q' "$file" || true)
  fi
done

if [ ${#faults[@]} -gt 0 ]; then
  echo "Includes across the layers:" >&2
  printf '  %s\n' "${faults[@]}" >&2
  exit 1
fi
echo "Every folder includes only the layers it may (${#sources[@]} sources)."
