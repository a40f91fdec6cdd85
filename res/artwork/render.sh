#!/bin/sh
# Regenerates res/pictures/*.png from the drawings here. Every strip is one drawing with its
# tiles side by side at their pixel offsets, rendered at its own size (never scaled), so the
# small sets keep the pixel grid they were drawn on.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
out="$here/../pictures"
mkdir -p "$out"
for svg in "$here"/*.svg; do
    name=$(basename "$svg" .svg)
    rsvg-convert --format=png --zoom=1 --output="$out/$name.png" "$svg"
    echo "$name.png"
done
