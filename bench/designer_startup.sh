#!/usr/bin/env bash
# Start-up in fresh processes, as a user meets it: the designer's main window
# (construction, start-up, first paint) against a bare window with eight tab
# pages, each run RUNS times; medians of the time to the first paint and of the
# peak resident memory.
set -euo pipefail
probe="${1:-$(dirname "$0")/../build/bench/startup_probe}"
runs="${RUNS:-15}"
export QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}"
median() { sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
measure() {
    local mode=$1 out
    out=$(for _ in $(seq "$runs"); do "$probe" $mode 2>/dev/null; done)
    echo "$(echo "$out" | awk '{print $2}' | median) $(echo "$out" | awk '{print $3}' | median)"
}
read -r bare_ms bare_kb < <(measure bare)
read -r designer_ms designer_kb < <(measure designer)
awk -v bm="$bare_ms" -v dm="$designer_ms" -v bk="$bare_kb" -v dk="$designer_kb" 'BEGIN {
    printf "first paint: bare %.2f ms, designer %.2f ms, ratio %.2f\n", bm, dm, dm / bm
    printf "peak memory: bare %d kB, designer %d kB, ratio %.2f\n", bk, dk, dk / bk
}'
