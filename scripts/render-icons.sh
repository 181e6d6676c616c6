#!/usr/bin/env bash
# Renders the program's icons from their SVG sources into the PNG files the
# programs load (resources/icon-<id>-<size>.png). The PNGs are committed, so a
# build needs no SVG renderer; run this after changing an SVG.
set -euo pipefail
cd "$(dirname "$0")/../resources"
render() {  # id size...
  local id=$1; shift
  for size in "$@"; do
    rsvg-convert -w "$size" -h "$size" -o "icon-$id-$size.png" "icon-$id.svg"
  done
}
render 128 16 32 48       # the application icon
render 130 16 32          # ladybird: a fix
render 131 16 32          # star: an enhancement
