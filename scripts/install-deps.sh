#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian 12 packages that building, testing and benchmarking need, and only the
# missing ones, so a second run costs a dpkg query and nothing else.
set -euo pipefail

packages=(
  cmake make g++ pkg-config
  locales  # the tests run once more under fr_FR.UTF-8, the locale of a French classroom PC
  libgtest-dev libgmock-dev libbenchmark-dev
  qt6-base-dev qt6-svg-dev
  qt6-translations-l10n  # Qt's file and print dialogs in French
  qt6-charts-dev libqt6opengl6-dev  # Qt Charts: a peer for the benchmarks only
  libjpeg62-turbo-dev
  poppler-utils  # the printed report read back in the tests
  chromium  # prints the work sheet to PDF, as a teacher's browser would, in the page tests
  fonts-liberation fonts-dejavu-core
  clang-format clang libclang-rt-14-dev  # the format check and the fuzzers
  clang-tidy-14  # scripts/tidy.sh, with run-clang-tidy-14 to run it in parallel
  lintian appstream desktop-file-utils dpkg-dev man-db python3-pyatspi dbus at-spi2-core xvfb xauth  # package and AT-SPI checks
)

# Locales the tests run under besides C: a French desktop, and an English one for contrast.
locales=(fr_FR.UTF-8 en_US.UTF-8)

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${db:Status-Status}' "$p" 2>/dev/null || true)
  [ "$status" = "installed" ] || missing+=("$p")
done

# `locale -a` spells them fr_FR.utf8.
missing_locales=()
for l in "${locales[@]}"; do
  spelled="${l%.UTF-8}.utf8"
  locale -a 2>/dev/null | grep -qx "$spelled" || missing_locales+=("$l")
done
[ ${#missing[@]} -eq 0 ] && [ ${#missing_locales[@]} -eq 0 ] && exit 0

[ ${#missing[@]} -eq 0 ] || echo "Installing missing packages: ${missing[*]}"
if [ "$(id -u)" -eq 0 ]; then
  sudo=()
elif command -v sudo >/dev/null 2>&1; then
  sudo=(sudo)
else
  echo "error: these packages are missing and this user cannot install them: ${missing[*]}" >&2
  exit 1
fi
export DEBIAN_FRONTEND=noninteractive
if [ ${#missing[@]} -gt 0 ]; then
  "${sudo[@]}" apt-get update
  "${sudo[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
fi
if [ ${#missing_locales[@]} -gt 0 ]; then
  echo "Generating locales: ${missing_locales[*]}"
  for l in "${missing_locales[@]}"; do
    # Uncomment the line if the list has it, else add it.
    if grep -Eq "^#? *${l//./\\.} " /etc/locale.gen; then
      "${sudo[@]}" sed -i -E "s/^# *(${l//./\\.} )/\\1/" /etc/locale.gen
    else
      echo "$l UTF-8" | "${sudo[@]}" tee -a /etc/locale.gen >/dev/null
    fi
  done
  "${sudo[@]}" locale-gen
fi
