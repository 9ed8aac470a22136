#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the demo need, when missing.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  libgtest-dev libgmock-dev
  qt6-base-dev qt6-multimedia-dev libgl1-mesa-dev qtkeychain-qt6-dev libsecret-1-0
  libcurl4-openssl-dev libcpp-httplib-dev libjpeg62-turbo-dev zlib1g-dev
  fonts-wqy-microhei
  xvfb xdotool x11-utils imagemagick icewm
  dpkg-dev file librsvg2-bin desktop-file-utils appstream
  dbus-daemon gnome-keyring
)
if [ "${ZORVANE_FUZZ:-0}" = 1 ]; then packages+=(clang-14 libclang-rt-14-dev); fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
