#!/usr/bin/env bash
# Installs, idempotently and without questions, every Debian package that the
# build, the program, the tests and the benchmarks need. Run as root.
set -euo pipefail

packages=(
    build-essential cmake ninja-build pkg-config
    qt6-base-dev qt6-pdf-dev qt6-image-formats-plugins qt6-qpa-plugins
    libqpdf-dev libgif-dev libqrcodegencpp-dev zlib1g-dev libwebp-dev libjpeg-dev libtiff-dev
    libheif-dev libavif-dev libjxl-dev
    xvfb xauth fonts-dejavu-core
    poppler-utils qpdf mupdf-tools imagemagick time
    libheif-examples libavif-bin libjxl-tools libjpeg-turbo-progs libtiff-tools
    img2pdf graphicsmagick
)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if ((${#missing[@]})); then
    if [[ $(id -u) -ne 0 ]]; then
        echo "Missing packages: ${missing[*]} (run this script as root to install them)" >&2
        exit 1
    fi
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
