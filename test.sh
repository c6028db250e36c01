#!/usr/bin/env bash
# Installs what the project needs (Debian 12, as root), builds, and runs every test.
#   ./test.sh              build/ and its tests
#   SANITIZE=1 ./test.sh   build-asan/ with AddressSanitizer and UndefinedBehaviorSanitizer
#   DEBUG=1 ./test.sh      build-debug/ unoptimised, with the standard library's assertions
#   PORTABLE=1 ./test.sh   build-portable/ with the portable code instead of the platform's fast paths
#   WERROR=1 ...           any warning in our own code fails the build (the CI builds)
#   FRENCH=0 ...           the tests under the C locale only, not once more under fr_FR.UTF-8
set -euo pipefail
cd "$(dirname "$0")"

./scripts/install-deps.sh

options=(-DSIMHACHEUR_WERROR="${WERROR:-OFF}")
build_type=RelWithDebInfo
if [ "${SANITIZE:-0}" = "1" ]; then
  dir=build-asan
  options+=(-DSANITIZE=ON -DSIMHACHEUR_BENCH=OFF)
  export ASAN_OPTIONS="abort_on_error=1:detect_leaks=1:strict_string_checks=1:detect_stack_use_after_return=1"
  export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
elif [ "${PORTABLE:-0}" = "1" ]; then
  dir=build-portable
  options+=(-DSIMHACHEUR_PORTABLE=ON -DSIMHACHEUR_BENCH=OFF)
elif [ "${DEBUG:-0}" = "1" ]; then
  dir=build-debug
  build_type=Debug
  options+=(-DSIMHACHEUR_BENCH=OFF)
else
  dir=build
fi

cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE="$build_type" "${options[@]}" >/dev/null
cmake --build "$dir" --parallel "$(nproc)"
# Twice: under the C locale, and under the French one that every classroom PC has, where the C
# library writes numbers with a decimal comma (FRENCH=0 leaves the second pass out).
LANG=C LC_ALL=C QT_QPA_PLATFORM=offscreen \
  ctest --test-dir "$dir" --output-on-failure --parallel "$(nproc)"
if [ "${FRENCH:-1}" = "1" ]; then
  echo "Tests under fr_FR.UTF-8"
  LANG=fr_FR.UTF-8 LC_ALL=fr_FR.UTF-8 QT_QPA_PLATFORM=offscreen \
    ctest --test-dir "$dir" --output-on-failure --parallel "$(nproc)"
fi
./packaging/check-package.sh "$dir"  # lintian, appstreamcli, desktop-file-validate, man
