#!/usr/bin/env bash
# Installs the Debian 12 packages that building, testing and benchmarking need, and only the
# missing ones, so a second run costs a dpkg query and nothing else.
set -euo pipefail

packages=(
  cmake make g++ pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev
  qt6-base-dev qt6-svg-dev
  qt6-translations-l10n  # Qt's file and print dialogs in French
  qt6-charts-dev libqt6opengl6-dev  # Qt Charts: a peer for the benchmarks only
  libjpeg62-turbo-dev
  poppler-utils  # the printed report read back in the tests
  chromium  # prints the work sheet to PDF, as a teacher's browser would, in the page tests
  fonts-liberation fonts-dejavu-core
  clang-format clang libclang-rt-14-dev  # the format check and the fuzzers
  lintian appstream desktop-file-utils dpkg-dev man-db python3-pyatspi dbus at-spi2-core xvfb xauth  # package and AT-SPI checks
)

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${db:Status-Status}' "$p" 2>/dev/null || true)
  [ "$status" = "installed" ] || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing missing packages: ${missing[*]}"
if [ "$(id -u)" -eq 0 ]; then
  sudo=()
elif command -v sudo >/dev/null 2>&1; then
  sudo=(sudo)
else
  echo "error: these packages are missing and this user cannot install them: ${missing[*]}" >&2
  exit 1
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update
"${sudo[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
