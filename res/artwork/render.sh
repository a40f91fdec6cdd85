#!/bin/sh
# Regenerates res/pictures/*.png from the drawings here. Every strip is one drawing with its
# tiles side by side at their pixel offsets, rendered at its own size (never scaled), so the
# small sets keep the pixel grid they were drawn on. The command-bar icons are drawn on a 24 px
# grid and also rendered doubled for high-DPI screens; the largest application icon also gives
# the 128 px one, as its edges lie on even coordinates.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
out="$here/../pictures"
mkdir -p "$out"

render()
{
    rsvg-convert --format=png --zoom="$2" --output="$out/$3.png" "$1"
    echo "$3.png"
}

for svg in "$here"/*.svg; do
    name=$(basename "$svg" .svg)
    case "$name" in
    cmd_*)
        render "$svg" 1 "${name}_24"
        render "$svg" 2 "${name}_48"
        ;;
    app_icon_256)
        render "$svg" 1 "$name"
        render "$svg" 0.5 app_icon_128
        ;;
    *)
        render "$svg" 1 "$name"
        ;;
    esac
done
