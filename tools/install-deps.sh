#!/usr/bin/env bash
# Installs what building and running need on a Debian machine (as root, or
# through sudo); with --tests also what the tests need. Packages that are
# already present are left alone.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
lists=("$here/debian-packages.txt")
[ "${1:-}" = "--tests" ] && lists+=("$here/debian-test-packages.txt")
mapfile -t pkgs < <(cat "${lists[@]}" | grep -v '^#' | sed '/^\s*$/d')
missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO=sudo
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
