#!/bin/sh
# The layers' include folders: a file compiled as the state layer builds when
# it includes state's own headers and fails when it includes a design header.
# Usage: check.sh CMAKE BUILD_DIR
cmake=$1
build=$2
log=$(mktemp)
trap 'rm -f "$log"' EXIT

if ! "$cmake" --build "$build" --target layer_check_down >"$log" 2>&1; then
    cat "$log"
    echo "FAIL: a state file including state's own headers did not compile"
    exit 1
fi
if "$cmake" --build "$build" --target layer_check_up >"$log" 2>&1; then
    echo "FAIL: a state file including a design header compiled"
    exit 1
fi
if ! grep -q 'design/controls.h' "$log"; then
    cat "$log"
    echo "FAIL: the state file including a design header failed for another reason"
    exit 1
fi
echo "ok: the state layer does not see the design layer's headers"
