#!/usr/bin/env bash
# Installs every Debian package the project needs. Quiet and quick when all are present.
set -euo pipefail

PKGS=(
  build-essential cmake pkg-config git clang libclang-rt-14-dev
  qtbase5-dev qtdeclarative5-dev qtquickcontrols2-5-dev qttools5-dev-tools libqt5svg5-dev
  qml-module-qtquick2 qml-module-qtquick-window2 qml-module-qtquick-layouts
  qml-module-qtquick-controls2 qml-module-qtquick-templates2 qml-module-qtquick-dialogs qml-module-qtquick-controls
  qml-module-qtqml-models2 qml-module-qtquick-shapes qml-module-qttest qml-module-qt-labs-platform
  qml-module-qt-labs-settings qml-module-qt-labs-folderlistmodel qtbase5-dev-tools qtdeclarative5-dev-tools
  nlohmann-json3-dev fonts-dejavu-core fonts-noto-cjk
  libavcodec-dev libavformat-dev libavutil-dev libswscale-dev libavdevice-dev libx264-dev ffmpeg
  libturbojpeg0-dev libpng-dev libtiff-dev libcli11-dev python3-numpy
  libgstreamer1.0-dev libgstreamer-plugins-base1.0-dev libgstrtspserver-1.0-dev
  gstreamer1.0-plugins-base gstreamer1.0-plugins-good gstreamer1.0-plugins-ugly gstreamer1.0-plugins-bad
  gstreamer1.0-libav gstreamer1.0-tools
  libaravis-dev aravis-tools libusb-1.0-0-dev
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  xvfb xauth iproute2 util-linux procps python3 binutils
  dbus dbus-x11 at-spi2-core python3-pyatspi gir1.2-atspi-2.0 xdotool
)

# OpenCV is only a benchmark baseline: installed for `make bench`, not for tests.
if [ "${1:-}" = "--bench" ]; then
  PKGS+=(libopencv-dev)
fi

missing=()
for p in "${PKGS[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "deps: installing ${#missing[@]} package(s): ${missing[*]}"
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
echo "deps: done"
