#!/usr/bin/env bash
# Builds every test with AddressSanitizer and UndefinedBehaviorSanitizer and runs them all with ctest.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

"$root/scripts/install-deps.sh"
cmake -S "$root" -B "$root/build-test" -DKB_BUILD_TESTS=ON -DKB_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug
cmake --build "$root/build-test" -j "$(nproc)"
cd "$root/build-test"
ctest --output-on-failure -j "$(nproc)"
