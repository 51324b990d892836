#!/usr/bin/env bash
# Installs every Debian package that the build, the tests, the benchmarks and
# the demonstration need. Run as root (or through sudo); never prompts.
set -euo pipefail

packages=(
  # build
  build-essential cmake pkg-config clang-14 libclang-rt-14-dev clang-format
  # libraries the code calls
  libboost-dev libboost-filesystem-dev libboost-system-dev libboost-date-time-dev
  freeglut3-dev libglew-dev libglu1-mesa-dev libgl1-mesa-dev libfreeimage-dev
  # tests and benchmarks
  libgtest-dev libgmock-dev libbenchmark-dev
  # virtual displays with Mesa's software OpenGL, keys and screenshots
  xvfb xauth libgl1-mesa-dri mesa-utils
  xserver-xorg-core xserver-xorg-video-dummy x11-xserver-utils
  xdotool imagemagick libxtst-dev
  # a wall clock moved for one program alone
  faketime
)

if [ "$(id -u)" -ne 0 ]; then
  exec sudo -E "$0" "$@"
fi

export DEBIAN_FRONTEND=noninteractive
apt-get update -q
apt-get install -y -q --no-install-recommends "${packages[@]}"
