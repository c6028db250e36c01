#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# The program finds its pictures and pages through its working directory: start it in its data
# folder, both found from where this command is installed.
prefix=$(dirname "$(dirname "$(readlink -f "$0")")")
cd "$prefix/share/simhacheur" || exit 1
exec "$prefix/lib/simhacheur/simhacheur" "$@"
