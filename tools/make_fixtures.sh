#!/usr/bin/env bash
# Makes the small media fixtures the tests read, into the folder given as $1.
set -euo pipefail
out="$1"
mkdir -p "$out"
cd "$out"
[ -f photo.jpg ] || convert -size 320x240 xc:skyblue photo.jpg
