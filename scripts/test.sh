#!/usr/bin/env bash
# Builds every test with AddressSanitizer and UndefinedBehaviorSanitizer and runs them all with ctest, once in
# the neutral language and once in a language that writes a decimal comma (every figure must stay the same).
# Then builds the Debian package and checks it, the installed program's start from the menu included.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

"$root/scripts/install-deps.sh"
cmake -S "$root" -B "$root/build-test" -DKB_BUILD_TESTS=ON -DKB_SANITIZE=ON -DKB_WERROR=ON -DCMAKE_BUILD_TYPE=Debug
cmake --build "$root/build-test" -j "$(nproc)"
cd "$root/build-test"
LANG=C.UTF-8 LC_ALL=C.UTF-8 ctest --output-on-failure -j "$(nproc)"
echo "Again with the desktop language de_DE.UTF-8:"
LANG=de_DE.UTF-8 LC_ALL=de_DE.UTF-8 ctest --output-on-failure -j "$(nproc)"

echo "The Debian package:"
"$root/scripts/package.sh"
"$root/scripts/check-package.sh"
