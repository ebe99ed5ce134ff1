#!/usr/bin/env bash
# Installs the Debian packages the build needs, when any is missing. Idempotent.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config clang libclang-rt-14-dev
  qt6-base-dev qt6-svg-dev libgl-dev zlib1g-dev fonts-liberation2 libemf2svg-dev
  libgtest-dev libgmock-dev nlohmann-json3-dev libfast-float-dev locales
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
# The tests check that numbers are read and written the same under a locale with a decimal comma.
need_locale=0
locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$' || need_locale=1
[ ${#missing[@]} -eq 0 ] && [ $need_locale -eq 0 ] && exit 0

if [ "$(id -u)" -eq 0 ]; then
  sudo=()
elif command -v sudo >/dev/null 2>&1; then
  sudo=(sudo)
else
  echo "Missing packages (${missing[*]}) or the de_DE.UTF-8 locale, and no root rights to" \
    "install them." >&2
  exit 1
fi
export DEBIAN_FRONTEND=noninteractive
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  "${sudo[@]}" apt-get update
  "${sudo[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
fi
if [ $need_locale -eq 0 ]; then exit 0; fi
echo "Generating the de_DE.UTF-8 locale"
"${sudo[@]}" localedef -i de_DE -f UTF-8 de_DE.UTF-8
