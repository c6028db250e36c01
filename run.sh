#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, builds, and starts simhacheur in its run folder (the program finds
# image/ and aide/ through its working directory).
set -euo pipefail
cd "$(dirname "$0")"

./scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build --parallel "$(nproc)" --target simhacheur wiring_pictures course_pages >/dev/null

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "simhacheur needs a display; without one, run it as: xvfb-run -a ./run.sh" >&2
  exit 1
fi
cd build/run
exec ./simhacheur
