#!/bin/sh
# Regenerates res/pictures/*.png from the drawings here. Every strip is one drawing with its
# tiles side by side at their pixel offsets, rendered at its own size (never scaled), so the
# small sets keep the pixel grid they were drawn on. The command-bar icons are drawn on a 24 px
# grid and also rendered doubled for high-DPI screens; the largest application icon also gives
# the 128 and 64 px ones, as its edges lie on coordinates divisible by four, the 48 px one the
# 24 px (even coordinates) and the 22 px icon of panels.
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
        render "$svg" 0.25 app_icon_64
        ;;
    app_icon_48)
        render "$svg" 1 "$name"
        render "$svg" 0.5 app_icon_24
        render "$svg" 0.458333 app_icon_22
        ;;
    *)
        render "$svg" 1 "$name"
        ;;
    esac
done
