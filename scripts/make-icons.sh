#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Renders the PNG icons of both programs from their SVG icons, in the sizes a
# desktop asks for. Run it after changing an SVG and commit the PNGs, so a
# build needs no SVG renderer. Needs rsvg-convert (librsvg2-bin).
set -euo pipefail
icons=$(cd "$(dirname "$0")/../share/icons/hicolor" && pwd)
for app in tocka tallio; do
    for size in 16 32 48 64 128 256; do
        mkdir -p "$icons/${size}x${size}/apps"
        rsvg-convert -w "$size" -h "$size" "$icons/scalable/apps/$app.svg" -o "$icons/${size}x${size}/apps/$app.png"
    done
done
