#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs atspi_check.py on its own session bus and virtual display. Exits 77 (CTest: skipped)
# when the AT-SPI tools are not installed.
#   atspi_check.sh PROGRAM RUN_FOLDER
set -euo pipefail
for tool in dbus-run-session xvfb-run /usr/libexec/at-spi-bus-launcher; do
  command -v "$tool" >/dev/null 2>&1 || { echo "skipped: $tool is not installed"; exit 77; }
done
# pyatspi comes with Debian's own Python, whatever python3 the PATH finds first.
/usr/bin/python3 -c "import pyatspi" 2>/dev/null || { echo "skipped: no python3-pyatspi"; exit 77; }
exec timeout 150 dbus-run-session -- xvfb-run -a \
  /usr/bin/python3 "$(dirname "$0")/atspi_check.py" "$1" "$2"
