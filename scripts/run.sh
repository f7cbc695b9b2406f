#!/usr/bin/env bash
# Builds Kestrel-Book and starts it in its data directory (default ./book), where the three database files,
# KB.CFG and the help file live. The directory is created when missing and the help file copied in when missing.
# Further arguments go to the program (--copy-book-to-server, --copy-book-from-server).
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
data_dir=$(realpath -m "${1:-book}")

"$root/scripts/install-deps.sh"
cmake -S "$root" -B "$root/build" -DKB_BUILD_TESTS=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$root/build" -j "$(nproc)" --target kestrel-book

mkdir -p "$data_dir"
[ -f "$data_dir/KB_HLP.RTF" ] || cp "$root/data/KB_HLP.RTF" "$data_dir/KB_HLP.RTF"
cd "$data_dir"
exec "$root/build/src/kestrel-book" "${@:2}"
