#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Checks the Debian package as Debian's own tools do: the menu entry (desktop-file-validate,
# no hint allowed), the AppStream description (appstreamcli, without the network), the manual
# page (man's warnings) and the package built by cpack from BUILD_DIR (lintian: no error and no
# warning that lintian-overrides does not explain). Skipped when those tools are missing.
#   packaging/check-package.sh BUILD_DIR
set -euo pipefail
build=$(cd "${1:?usage: check-package.sh BUILD_DIR}" && pwd)
cd "$(dirname "$0")"

for tool in lintian appstreamcli desktop-file-validate dpkg-shlibdeps; do
  if ! command -v "$tool" >/dev/null 2>&1; then
    echo "package checks skipped: $tool is not installed"
    exit 0
  fi
done
# A sanitized build links its runtime into the program: not a package anyone ships.
if grep -q '^SANITIZE:BOOL=ON' "$build/CMakeCache.txt"; then
  echo "package checks skipped: sanitized build"
  exit 0
fi

hints=$(desktop-file-validate simhacheur.desktop 2>&1 || true)
if [ -n "$hints" ]; then
  echo "desktop-file-validate:"; echo "$hints"; exit 1
fi
appstreamcli validate --no-net --pedantic simhacheur.metainfo.xml
warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l simhacheur.1 2>&1 >/dev/null || true)
if [ -n "$warnings" ]; then
  echo "man page:"; echo "$warnings"; exit 1
fi

out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
(cd "$build" && cpack -G DEB -B "$out" >/dev/null)
lintian --fail-on error,warning "$out"/simhacheur_*.deb
echo "package checks passed: $(basename "$out"/simhacheur_*.deb)"
