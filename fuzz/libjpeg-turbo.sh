#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the libjpeg the system has, from Debian's own source package of the installed version,
# as a static library with the fuzzers' instrumentation: libFuzzer is guided by the branches it
# sees, and the system's shared library shows it none of the decoder's.
#   fuzz/libjpeg-turbo.sh <folder>
# Prints the folder the library went into, <folder>/<version>/ with include/, lib/libjpeg.a and
# src/ (the sources the fuzzers' stack traces point to). A later run for the same version and
# flags prints it again at once.
set -euo pipefail

mkdir -p "$1"
root=$(cd "$1" && pwd)

package=$(dpkg-query -W -f='${source:Package}' libjpeg62-turbo)
version=$(dpkg-query -W -f='${source:Version}' libjpeg62-turbo)
upstream=$(dpkg-query -W -f='${source:Upstream-Version}' libjpeg62-turbo)
# The instrumentation and sanitizers of the fuzz build (CMakeLists.txt: SANITIZE, SIMHACHEUR_FUZZ).
# Without SIMD: assembly carries no instrumentation, and the C paths let AddressSanitizer check
# every byte the decoder touches.
flags="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer"
options=(-DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_TURBOJPEG=OFF -DWITH_SIMD=OFF
  -DCMAKE_POSITION_INDEPENDENT_CODE=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo)
prefix="$root/${version#*:}"
recipe="$package $version clang $(clang --version | head -n 1) $flags ${options[*]}"
if [ -f "$prefix/lib/libjpeg.a" ] && [ "$(cat "$prefix/recipe" 2>/dev/null)" = "$recipe" ]; then
  echo "$prefix"
  exit 0
fi

echo "fuzz/libjpeg-turbo.sh: building $package $version for the fuzzers (once)" >&2
work="$root/work"
log="$root/build.log"
rm -rf "$work" "$prefix"
mkdir -p "$work/apt/lists/partial" "$work/apt/cache/archives/partial" "$work/apt/sources.d" \
  "$prefix/src" "$prefix/include" "$prefix/lib"
trap 'echo "fuzz/libjpeg-turbo.sh: failed, see $log" >&2; tail -n 20 "$log" >&2' ERR

# The source comes through apt from the archive this system installs from, with apt's own
# checks: the archive's signed index vouches for the .dsc, the .dsc for the tarballs. apt
# works on a state of its own here, so the system's package lists stay as they are and no
# root is needed.
# shellcheck source=/dev/null
. /etc/os-release
cat >"$work/apt/sources.d/debian-src.sources" <<EOF
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: $VERSION_CODENAME $VERSION_CODENAME-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg

Types: deb-src
URIs: http://deb.debian.org/debian-security
Suites: $VERSION_CODENAME-security
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
EOF
apt=(-o Dir::Etc::SourceList=/dev/null -o Dir::Etc::SourceParts="$work/apt/sources.d"
  -o Dir::State::Lists="$work/apt/lists" -o Dir::Cache="$work/apt/cache"
  -o APT::Sandbox::User="$(id -un)")
{
  apt-get "${apt[@]}" update
  (cd "$prefix/src" && apt-get "${apt[@]}" source "$package=$version")
} >"$log" 2>&1

# Only the library: neither the command-line tools nor the TurboJPEG interface.
source="$prefix/src/$package-$upstream"
{
  CC=clang cmake -S "$source" -B "$work/build" -DCMAKE_C_FLAGS="$flags" "${options[@]}"
  cmake --build "$work/build" --target jpeg-static --parallel "$(nproc)"
} >>"$log" 2>&1

cp "$source"/{jpeglib.h,jerror.h,jmorecfg.h} "$work/build/jconfig.h" "$prefix/include/"
cp "$work/build/libjpeg.a" "$prefix/lib/"
echo "$recipe" >"$prefix/recipe"
rm -rf "$work"
echo "$prefix"
