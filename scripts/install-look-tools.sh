#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Optional tools for looking at what the build produces: a virtual display to run the window
# in, screenshots, synthetic input, and a headless browser for the course pages.
#   xvfb-run -a ./run.sh & ... import -window root shot.png
#   chromium --headless --no-sandbox --screenshot=page.png build/run/aide/index.htm
set -euo pipefail
packages=(xvfb xauth xdotool imagemagick chromium openbox)  # openbox: a real window manager, as on a desktop
missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${db:Status-Status}' "$p" 2>/dev/null || true)
  [ "$status" = "installed" ] || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update
"${sudo[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
