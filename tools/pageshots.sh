#!/usr/bin/env bash
# Screenshots of all eight pages with every area coloured, at 1x, 1.5x (a
# laptop's fractional scale factor) and 2x, under a virtual X display:
#   tools/pageshots.sh [BUILD_DIR] [OUT_DIR]
# Writes OUT_DIR/1x, OUT_DIR/1.5x and OUT_DIR/2x (default OUT_DIR: BUILD_DIR/pageshots).
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${1:-$root/build}"
out="${2:-$build/pageshots}"

cmake --build "$build" --target pageshots --parallel 2 >/dev/null
for scale in 1 1.5 2; do
    QT_SCALE_FACTOR=$scale xvfb-run -a -s "-screen 0 2800x2000x24" \
        "$build/tools/pageshots/pageshots" "$out/${scale}x"
done
