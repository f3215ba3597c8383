#!/usr/bin/env bash
# Renders the icon's PNG sizes from the SVG (run by hand after editing it;
# the PNGs are kept in the tree so a build needs no SVG renderer).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
for size in 16 24 32 48 64 128 256; do
  mkdir -p "$here/icons/hicolor/${size}x${size}/apps"
  rsvg-convert -w "$size" -h "$size" "$here/icons/appointform.svg" \
    -o "$here/icons/hicolor/${size}x${size}/apps/appointform.png"
done
