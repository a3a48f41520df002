#!/bin/sh
# Takes the picture of quillctl-gallery shown in src/quillctl/README.md, on Qt's
# offscreen platform (no display needed).
#   scripts/gallery_screenshot.sh [build-dir] [output.png]
set -eu
build=${1:-build}
out=${2:-docs/quillctl-gallery.png}
cmake --build "$build" --target quillctl-gallery
mkdir -p "$(dirname "$out")"
QT_QPA_PLATFORM=offscreen "$build/src/gallery/quillctl-gallery" --screenshot "$out"
echo "wrote $out"
