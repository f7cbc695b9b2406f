#!/usr/bin/env bash
# Builds every test with AddressSanitizer and UndefinedBehaviorSanitizer and runs them all with ctest, once in
# the neutral language and once in a language that writes a decimal comma (every figure must stay the same).
# Then builds the Debian package and checks it, the installed program's start from the menu included.
# The tests of the book on a database server run against a throwaway PostgreSQL server started here.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

"$root/scripts/install-deps.sh" postgresql poppler-utils

# The throwaway server: a cluster in a temporary folder, its socket there too (no network), a random port, run
# by an unprivileged user since the server refuses to run as root; stopped and removed when this script ends.
pg_bin=$(ls -d /usr/lib/postgresql/*/bin | sort -V | tail -n 1)
server_dir=$(mktemp -d /tmp/kestrel-book-server.XXXXXX)
as_server=()
if [ "$(id -u)" -eq 0 ]; then
  chown nobody "$server_dir"
  as_server=(runuser -u nobody --)
fi
stop_server() {
  "${as_server[@]}" "$pg_bin/pg_ctl" -D "$server_dir/data" -m immediate stop >/dev/null 2>&1 || true
  rm -rf "$server_dir"
}
trap stop_server EXIT
"${as_server[@]}" "$pg_bin/initdb" -D "$server_dir/data" -U kestrel --auth=trust -E UTF8 --locale=C.UTF-8 >/dev/null
port=$((20000 + RANDOM % 40000))
"${as_server[@]}" "$pg_bin/pg_ctl" -D "$server_dir/data" -l "$server_dir/server.log" -w \
  -o "-k $server_dir -p $port -c listen_addresses='' -c fsync=off -c max_connections=60" start >/dev/null
export KB_TEST_SERVER="host=$server_dir port=$port user=kestrel"
cmake -S "$root" -B "$root/build-test" -DKB_BUILD_TESTS=ON -DKB_BUILD_BENCH=ON -DKB_SANITIZE=ON -DKB_WERROR=ON -DCMAKE_BUILD_TYPE=Debug
cmake --build "$root/build-test" -j "$(nproc)"
cd "$root/build-test"
LANG=C.UTF-8 LC_ALL=C.UTF-8 ctest --output-on-failure -j "$(nproc)"
echo "Again with the desktop language de_DE.UTF-8:"
LANG=de_DE.UTF-8 LC_ALL=de_DE.UTF-8 ctest --output-on-failure -j "$(nproc)"

echo "The Debian package:"
"$root/scripts/package.sh"
"$root/scripts/check-package.sh"
