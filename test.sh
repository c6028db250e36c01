#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what the project needs (Debian 12, as root), builds, and runs every test.
#   ./test.sh              build/, its tests and the benchmarks
#   SANITIZE=1 ./test.sh   build-asan/ with AddressSanitizer and UndefinedBehaviorSanitizer
#   DEBUG=1 ./test.sh      build-debug/ unoptimised, with the standard library's assertions
#   PORTABLE=1 ./test.sh   build-portable/ with the portable code instead of the platform's fast paths
#   WERROR=1 ...           any warning in our own code fails the build (the CI builds)
#   FRENCH=0 ...           the tests under the C locale only, not once more under fr_FR.UTF-8
set -euo pipefail
cd "$(dirname "$0")"

./scripts/install-deps.sh

# The four builds are CMakePresets.json's; the plain one builds the benchmarks too.
if [ "${SANITIZE:-0}" = "1" ]; then
  preset=sanitize dir=build-asan
elif [ "${PORTABLE:-0}" = "1" ]; then
  preset=portable dir=build-portable
elif [ "${DEBUG:-0}" = "1" ]; then
  preset=debug dir=build-debug
else
  preset=plain dir=build
fi

cmake --preset "$preset" -DSIMHACHEUR_WERROR="${WERROR:-OFF}" >/dev/null
cmake --build --preset "$preset" --parallel "$(nproc)"
# Twice: under the C locale, and under the French one that every classroom PC has, where the C
# library writes numbers with a decimal comma (FRENCH=0 leaves the second pass out).
LANG=C LC_ALL=C ctest --preset "$preset" --parallel "$(nproc)"
if [ "${FRENCH:-1}" = "1" ]; then
  echo "Tests under fr_FR.UTF-8"
  LANG=fr_FR.UTF-8 LC_ALL=fr_FR.UTF-8 ctest --preset "$preset" --parallel "$(nproc)"
fi
./packaging/check-package.sh "$dir"  # lintian, appstreamcli, desktop-file-validate, man
