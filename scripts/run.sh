#!/usr/bin/env bash
# Builds Kestrel-Book and starts it on the book in its data directory (default ./book), where the three database
# files, KB.CFG and the help file live. The program makes the directory and copies the help file in when missing.
# Further arguments go to the program (--copy-book-to-server, --copy-book-from-server).
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
data_dir=$(realpath -m "${1:-book}")

"$root/scripts/install-deps.sh"
cmake -S "$root" -B "$root/build" -DKB_BUILD_TESTS=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$root/build" -j "$(nproc)" --target kestrel-book

exec "$root/build/src/kestrel-book" --book "$data_dir" "${@:2}"
