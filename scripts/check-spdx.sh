#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Fails when a source, script, build file, diagram or page does not name its licence on an
# SPDX-License-Identifier line within its first three lines (after a shebang, an XML declaration
# or a doctype), or names another licence than its own: the course pages and their style sheet
# are CC-BY-SA-4.0, the AppStream description CC0-1.0 as AppStream asks, the rest of the program
# GPL-3.0-or-later. Files not yet committed count too; ignored ones (the builds) do not.
#   scripts/check-spdx.sh [ROOT]     (the project's own folder when none is given)
set -euo pipefail
cd "${1:-$(dirname "$0")/..}"

# The licence a file must name.
licence_of() {
  case $1 in
    aide/*.htm | aide/*.css) licence=CC-BY-SA-4.0 ;;
    packaging/simhacheur.metainfo.xml) licence=CC0-1.0 ;;
    *) licence=GPL-3.0-or-later ;;
  esac
}

# Every file in the tree: git's view when the tree is a work tree, so that nothing it ignores
# is read, or else every file below the root.
list_files() {
  if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    git ls-files -z --cached --others --exclude-standard
  else
    find . -path ./.git -prune -o -type f -printf '%P\0'
  fi
}

files=()
while IFS= read -r -d '' file; do
  case $file in
    *.cpp | *.h | *.sh | *.py | *.ui | *.svg | *.xml | *.htm | *.css | *.cmake) ;;
    CMakeLists.txt | */CMakeLists.txt | .ci/run | .clang-format | .clang-tidy) ;;
    *) continue ;;
  esac
  if [ -f "$file" ]; then files+=("$file"); fi  # gone when deleted but not yet committed
done < <(list_files)

# The identifier each file names in its first three lines, read in one pass over them all.
declare -A named=()
while IFS=$'\t' read -r file identifier; do
  named[$file]=$identifier
done < <(awk 'FNR <= 3 && !(FILENAME in seen) && /SPDX-License-Identifier:/ {
    seen[FILENAME] = 1
    sub(/.*SPDX-License-Identifier:[ \t]*/, ""); sub(/[ \t\r]*(-->|\*\/)?[ \t\r]*$/, "")
    print FILENAME "\t" $0
  }' "${files[@]}" /dev/null)

faults=()
for file in "${files[@]}"; do
  licence_of "$file"
  if [ -z "${named[$file]:-}" ]; then
    faults+=("$file: no SPDX-License-Identifier line at its top (want $licence)")
  elif [ "${named[$file]}" != "$licence" ]; then
    faults+=("$file: SPDX-License-Identifier ${named[$file]}, want $licence")
  fi
done

if [ ${#faults[@]} -gt 0 ]; then
  echo "Files without their licence line:" >&2
  printf '  %s\n' "${faults[@]}" >&2
  exit 1
fi
echo "Every source, script, build file and page names its licence."
