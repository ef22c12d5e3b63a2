#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian 12 packages Plavo needs, only those that are missing.
# Usage: scripts/deps.sh            what building and running the program needs
#        scripts/deps.sh --tests    that and what the tests, fuzzing and packaging need
set -euo pipefail

# qt6-charts-dev on Debian 12 needs the OpenGL module's CMake files without
# depending on them: libqt6opengl6-dev. FFmpeg's libraries write the films
# (Debian's libavcodec brings the H.264 and VP9 encoders with it).
pakete=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-charts-dev libqt6opengl6-dev qt6-translations-l10n libqt6printsupport6 libgl-dev
  libavcodec-dev libavformat-dev libswscale-dev libavutil-dev
)
if [ "${1:-}" = "--tests" ]; then
  pakete+=(
    libgtest-dev libbenchmark-dev
    poppler-utils
    clang libclang-rt-14-dev
    xvfb xdotool fonts-dejavu-core
    desktop-file-utils appstream file dpkg-dev
    shared-mime-info libglib2.0-bin libxml2-utils python3-debian
  )
fi

fehlend=()
for p in "${pakete[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    fehlend+=("$p")
  fi
done

if [ ${#fehlend[@]} -gt 0 ]; then
  echo "Installing: ${fehlend[*]}"
  if [ "$(id -u)" -ne 0 ]; then SUDO=sudo; else SUDO=; fi
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${fehlend[@]}"
fi
