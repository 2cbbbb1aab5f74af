#!/bin/sh
# Renders the program's icon at the sizes the menu entry installs, from icons/scrivo.svg.
# Run from this folder; the output is committed, so the build never needs librsvg2-bin.
set -eu
for size in 48 256; do
    rsvg-convert -w "$size" -h "$size" icons/scrivo.svg -o "icons/scrivo-$size.png"
done
