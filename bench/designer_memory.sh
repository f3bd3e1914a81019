#!/usr/bin/env bash
# Peak resident memory of the started designer against a bare eight-tab window.
set -euo pipefail
probe="${1:-$(dirname "$0")/../build/bench/startup_probe}"
export QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}"
bare=$("$probe" bare | awk '{print $2}')
designer=$("$probe" | awk '{print $2}')
echo "bare window: ${bare} kB, designer: ${designer} kB, ratio: $(awk "BEGIN{printf \"%.2f\", $designer/$bare}")"
