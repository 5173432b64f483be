#!/usr/bin/env bash
# Installs every Debian package the project needs to build, test, benchmark and run.
# Idempotent: packages already present are left alone. Works as root, or through sudo.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config git
  clang libclang-rt-14-dev clang-format
  libgtest-dev libgmock-dev libbenchmark-dev libsqlite3-dev
  libcairo2-dev libpango1.0-dev fontconfig fonts-liberation
  libsdl2-dev libjpeg62-turbo-dev libcups2-dev
  xvfb xauth poppler-utils
  librsvg2-bin desktop-file-utils appstream dpkg-dev
  openbox xdotool wmctrl xclip  # tests only: a window manager on the test X server, real X
                                # input, another program's clipboard
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update
$sudo apt-get install -y --no-install-recommends "${missing[@]}"
