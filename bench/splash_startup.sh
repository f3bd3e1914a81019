#!/usr/bin/env bash
# The start as a user meets it, in fresh processes, each way RUNS times
# (medians): from main() to the splash's first paint against a bare window of
# the same size (target 1.2x or less), and from the splash timer's tick to the
# main window's first paint (target 50 ms or less).
set -euo pipefail
probe="${1:-$(dirname "$0")/../build/bench/splash_probe}"
runs="${RUNS:-11}"
export QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}"
median() { sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
# Alternating runs, so that load from elsewhere on the machine falls on both.
out=$(for _ in $(seq "$runs"); do "$probe" bare 2>/dev/null; "$probe" splash 2>/dev/null; done)
bare=$(echo "$out" | grep '^bare ' || true)
splash=$(echo "$out" | grep '^splash ' || true)
[ "$(echo "$bare" | grep -c '^bare ')" -eq "$runs" ] || { echo "a bare run failed" >&2; exit 1; }
[ "$(echo "$splash" | grep -c '^splash ')" -eq "$runs" ] || { echo "a splash run failed" >&2; exit 1; }
bare_ms=$(echo "$bare" | awk '{print $2}' | median)
splash_ms=$(echo "$splash" | awk '{print $2}' | median)
handover_ms=$(echo "$splash" | awk '{print $3}' | median)
shown_ms=$(echo "$splash" | awk '{print $4}' | median)
awk -v b="$bare_ms" -v s="$splash_ms" -v h="$handover_ms" -v w="$shown_ms" 'BEGIN {
    printf "main() to first paint: bare window %.2f ms, splash %.2f ms, ratio %.2f (target <= 1.2)\n", b, s, s / b
    printf "splash tick to main window first paint: %.2f ms (target <= 50; start-up until shown %.2f ms)\n", h, w
}'
