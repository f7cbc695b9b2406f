#!/usr/bin/env bash
# Builds the Debian package of Kestrel-Book from a Release build in build-package, with Debian's hardening flags,
# and prints where the package is.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build="$root/build-package"

"$root/scripts/install-deps.sh"
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cmake -S "$root" -B "$build" -DKB_BUILD_TESTS=OFF -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)" \
  -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)"
cmake --build "$build" -j "$(nproc)"
rm -f "$build"/kestrel-book_*.deb
(cd "$build" && cpack -G DEB)
ls "$build"/kestrel-book_*.deb
