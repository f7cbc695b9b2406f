#!/usr/bin/env bash
# Checks the Debian package made by scripts/package.sh: its files, its dependencies and lintian's verdict; then
# starts the unpacked program as if from the desktop menu (a fresh home, no book in the current folder) and checks
# that it makes ~/Kestrel-Book, that a second program on the same book is refused without writing anything, and that
# the lock of a killed program does not keep the book closed.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
deb=$(ls "$root"/build-package/kestrel-book_*.deb)
work=$(mktemp -d)
programs=()
cleanup() {
  for pid in "${programs[@]}"; do kill -9 "$pid" 2>/dev/null && wait "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT

fail() { echo "check-package: $*" >&2; exit 1; }

# Waits up to 30 seconds for a command to succeed.
wait_for() {
  for _ in $(seq 300); do "$@" && return 0; sleep 0.1; done
  return 1
}

echo "Checking the files of $deb"
dpkg-deb -x "$deb" "$work/root"
usr="$work/root/usr"
[ -x "$usr/bin/kestrel-book" ] || fail "the program is not in /usr/bin"
desktop-file-validate "$usr/share/applications/kestrel-book.desktop"
grep -q '^Icon=kestrel-book$' "$usr/share/applications/kestrel-book.desktop" || fail "the desktop entry names no icon"
grep -q '<svg' "$usr/share/icons/hicolor/scalable/apps/kestrel-book.svg" || fail "the icon is missing"
appstreamcli validate --no-net "$usr"/share/metainfo/*.metainfo.xml
gzip -t "$usr/share/man/man1/kestrel-book.1.gz" || fail "the manual page is missing"
zcat "$usr/share/man/man1/kestrel-book.1.gz" | grep -q -- '-book' || fail "the manual page does not tell of --book"
cmp "$root/data/KB_HLP.RTF" "$usr/share/kestrel-book/KB_HLP.RTF" || fail "the help file differs from data/"
[ -f "$usr/share/doc/kestrel-book/copyright" ] || fail "the copyright file is missing"

depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
for library in libqt6widgets6 libqt6printsupport6 libsqlite3-0 libpq5 libstdc++6 qt6-qpa-plugins; do
  [[ "$depends" == *"$library"* ]] || fail "Depends lacks $library"
done

echo "Running lintian"
lintian --fail-on error "$deb"

echo "Starting the unpacked program from the menu, in a fresh home"
export HOME="$work/home" QT_QPA_PLATFORM=offscreen
mkdir -p "$HOME" "$work/elsewhere"
cd "$work/elsewhere"
book="$HOME/Kestrel-Book"
"$usr/bin/kestrel-book" 2>"$work/first.err" &
programs+=($!)
book_ready() { for name in KB_Loan.mdb KB_Pmts.mdb KB_Notes.mdb KB_HLP.RTF; do [ -f "$book/$name" ] || return 1; done; }
wait_for book_ready || fail "no book in ~/Kestrel-Book: $(ls -A "$book" 2>&1) $(cat "$work/first.err")"
cmp "$root/data/KB_HLP.RTF" "$book/KB_HLP.RTF" || fail "the help file was not copied into the book"
[ -z "$(ls -A "$work/elsewhere")" ] || fail "the program wrote into the folder it was started from"

snapshot() { (cd "$book" && find . -printf '%p %s %T@\n' | sort && cat KB.LCK); }
before=$(snapshot)
status=0
timeout 30 "$usr/bin/kestrel-book" 2>"$work/second.err" || status=$?
[ "$status" -eq 1 ] || fail "the second program ended with $status instead of 1"
grep -q 'already open in another Kestrel-Book program' "$work/second.err" ||
  fail "the second program did not say why: $(cat "$work/second.err")"
[ "$(snapshot)" = "$before" ] || fail "the second program wrote into the book"

kill -9 "${programs[0]}"
wait "${programs[0]}" 2>/dev/null || true
[ -f "$book/KB.LCK" ] || fail "the killed program left no lock behind, so taking it over is not checked"
"$usr/bin/kestrel-book" 2>"$work/third.err" &
programs+=($!)
lock_taken() { [ "$(head -n 1 "$book/KB.LCK" 2>/dev/null)" = "${programs[1]}" ]; }
wait_for lock_taken || fail "the lock of the killed program kept the book closed: $(cat "$work/third.err")"
echo "The package is complete and the installed program keeps its book to itself."
