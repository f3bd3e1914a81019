#!/usr/bin/env bash
# One entry point for a fresh Debian 12 machine:
#   tools/designer.sh run    install what is missing, build, start the designer
#   tools/designer.sh test   install what is missing, build, run every test
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${BUILD_DIR:-$root/build}"

packages=(g++ cmake ninja-build qt6-base-dev libgl-dev libgtest-dev libbenchmark-dev
          xvfb xauth imagemagick fonts-dejavu-core desktop-file-utils appstream dpkg-dev file)

install_missing() {
    local missing=()
    for p in "${packages[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

build_all() {
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
    cmake --build "$build" --parallel "$(nproc)"
}

case "${1:-}" in
run)
    install_missing
    build_all
    if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
        echo "No display found. Start the designer under a virtual display with:"
        echo "  xvfb-run -a $build/jumpsuit-designer"
        exit 0
    fi
    exec "$build/jumpsuit-designer"
    ;;
test)
    install_missing
    build_all
    cd "$build"
    ctest --output-on-failure --timeout 600
    ;;
*)
    echo "usage: $0 run|test" >&2
    exit 2
    ;;
esac
