#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, only those that are missing.
set -euo pipefail

# The second line: what making and checking the Debian package needs.
packages=(g++ cmake make qt6-base-dev libsqlite3-dev libsqlitecpp-dev libpq-dev libgtest-dev fonts-dejavu-core locales
          dpkg-dev lintian desktop-file-utils appstream "$@")

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done

as_root=()
[ "$(id -u)" -eq 0 ] || as_root=(sudo)
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  "${as_root[@]}" apt-get update
  DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
fi

# The tests run a second time under a language that writes a decimal comma.
if ! locale -a | grep -qix 'de_DE.utf8'; then
  echo "Generating the locale de_DE.UTF-8"
  "${as_root[@]}" localedef -i de_DE -f UTF-8 de_DE.UTF-8
fi
