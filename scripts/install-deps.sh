#!/usr/bin/env bash
# Installs the Debian 12 packages that building, running and testing W3 Config need.
set -euo pipefail

packages=(
  build-essential cmake ninja-build ccache pkg-config
  qtbase5-dev qtdeclarative5-dev qtdeclarative5-dev-tools
  qml-module-qtquick2 qml-module-qtquick-window2 qml-module-qttest
  libhidapi-dev libudev-dev
  libphonon4qt5-dev phonon4qt5-backend-gstreamer gstreamer1.0-plugins-base gstreamer1.0-plugins-good
  libx11-dev libxtst-dev libxcb1-dev libwayland-dev
  libglib2.0-dev dbus dconf-gsettings-backend gsettings-desktop-schemas
  xvfb xauth xcompmgr x11-utils imagemagick libgl1-mesa-dri
  # the headless compositors and the Wayland windows of the tests, and the desktop helpers' checks
  sway weston qtwayland5 nodejs
  fonts-dejavu-core fonts-noto-cjk
  clang libclang-rt-14-dev
  desktop-file-utils appstream help2man groff-base
)

# The tests' independent OpenRGB SDK client, from the npm registry, as its lock file pins it.
install_test_clients() {
  local client
  client="$(cd "$(dirname "$0")/.." && pwd)/tests/rgbserver/client"
  command -v npm > /dev/null || return 0
  [ "$client/node_modules/.package-lock.json" -nt "$client/package-lock.json" ] && return 0
  (cd "$client" && npm ci --no-audit --no-fund --silent)
}

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done
if [ ${#missing[@]} -eq 0 ]; then
  install_test_clients
  exit 0
fi

sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
command -v npm > /dev/null || DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends npm
install_test_clients
