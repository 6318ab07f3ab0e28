#!/usr/bin/env bash
# Installs everything the build, the tests and the sample server need (Debian 12).
# Safe to run again: apt-get skips what is already there.
set -euo pipefail
pkgs=(
  build-essential cmake ninja-build pkg-config git
  qt6-base-dev libquazip1-qt6-dev libpcre2-dev zlib1g-dev libmariadb-dev
  mariadb-server mariadb-client
  unzip zip pigz xvfb xauth fonts-dejavu-core dbus
)
missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -q
# The server package must not start a system service for us; our scripts start their own.
if [ ! -e /usr/sbin/policy-rc.d ] && [ -z "$SUDO" ]; then
  printf '#!/bin/sh\nexit 101\n' > /usr/sbin/policy-rc.d && chmod +x /usr/sbin/policy-rc.d
  trap 'rm -f /usr/sbin/policy-rc.d' EXIT
fi
$SUDO apt-get install -y -q --no-install-recommends "${missing[@]}" </dev/null
