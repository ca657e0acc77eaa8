#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing need.
# Idempotent and quiet: packages already present are not touched.
set -euo pipefail

packages=(
  # native build and tests
  build-essential cmake ninja-build pkg-config
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  # the peer libraries the benchmarks compare with (stb_image, stb_image_write)
  libstb-dev
  clang libclang-rt-14-dev
  # offscreen OpenGL for the drawing tests (Mesa, EGL surfaceless)
  libegl-dev libgl-dev libegl-mesa0 libgl1-mesa-dri
  # Windows cross build
  mingw-w64 g++-mingw-w64-x86-64-posix
  # running the Windows program: Wine, its fonts, a private X server;
  # Wine renders OpenGL into bitmaps through the host's OSMesa
  wine wine64 fonts-wine libosmesa6 xvfb xauth x11-utils imagemagick
  # the sources of the Cyrillic locale that one end-to-end case runs Wine in
  locales
  # printing to a real (PDF) printer in the tests
  cups printer-driver-cups-pdf poppler-utils
  # the Debian 13 root that the Wine 10 tests run in
  debootstrap
  # the Windows package
  zip unzip
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
echo "setup: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
