#!/usr/bin/env bash
# Installs what the project needs (Debian 12, as root), builds, and runs every test.
#   ./test.sh              build/ and its tests
#   SANITIZE=1 ./test.sh   build-asan/ with AddressSanitizer and UndefinedBehaviorSanitizer
set -euo pipefail
cd "$(dirname "$0")"

./scripts/install-deps.sh

if [ "${SANITIZE:-0}" = "1" ]; then
  dir=build-asan
  options=(-DSANITIZE=ON -DSIMHACHEUR_BENCH=OFF)
  export ASAN_OPTIONS="abort_on_error=1:detect_leaks=1:strict_string_checks=1"
  export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
else
  dir=build
  options=()
fi

cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "${options[@]}" >/dev/null
cmake --build "$dir" --parallel "$(nproc)"
QT_QPA_PLATFORM=offscreen ctest --test-dir "$dir" --output-on-failure --parallel "$(nproc)"
