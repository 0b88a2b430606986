#!/usr/bin/env bash
# Installs the Debian packages Tonvek needs, only those that are missing, and the
# German locale the decimal point tests switch to (numbers must keep their "."
# under a locale whose decimal separator is a comma).
# Usage: scripts/deps.sh [--lint]   (--lint: also clang-format and clang-tidy)
set -euo pipefail
packages=(g++ cmake ninja-build qt6-base-dev qt6-base-dev-tools libgl-dev
          libgtest-dev libgmock-dev googletest libbenchmark-dev libfftw3-dev
          fonts-liberation libxkbcommon-dev pkg-config locales)
[ "${1:-}" = "--lint" ] && packages+=(clang-format-14 clang-tidy-14)
sudo_cmd=""
[ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  $sudo_cmd apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq "${missing[@]}"
fi
if ! locale -a 2>/dev/null | grep -qix 'de_DE\.utf-\?8'; then
  echo "Generating the locale de_DE.UTF-8"
  $sudo_cmd localedef -i de_DE -c -f UTF-8 de_DE.UTF-8
fi
