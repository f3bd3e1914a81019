#!/usr/bin/env bash
# One entry point for a fresh Debian 12 machine:
#   tools/designer.sh run    install what is missing, build, start the designer
#   tools/designer.sh test   install what is missing, check the formatting,
#                            build and run every test, again under AddressSanitizer
#                            and UndefinedBehaviorSanitizer, and fuzz the design
#                            file reader for a minute
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${BUILD_DIR:-$root/build}"
sanitized="${SANITIZE_BUILD_DIR:-$root/build-sanitize}"
fuzzing="${FUZZ_BUILD_DIR:-$root/build-fuzz}"

packages=(g++ cmake ninja-build qt6-base-dev libgl-dev libgtest-dev libbenchmark-dev poppler-utils
          xvfb xauth imagemagick fonts-dejavu-core fonts-dejavu-extra
          clang clang-format libclang-rt-14-dev desktop-file-utils appstream dpkg-dev file
          lintian x11-utils man-db shared-mime-info binutils)

# Sanitizer settings for everything run under them: stop at the first report.
export ASAN_OPTIONS="halt_on_error=1:abort_on_error=0:detect_leaks=1"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"

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

# build_all FOLDER [cmake options...]
build_all() {
    local folder="$1"
    shift
    cmake -S "$root" -B "$folder" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
    cmake --build "$folder" --parallel "$(nproc)"
}

run_tests() {
    (cd "$1" && ctest --output-on-failure --timeout 600)
}

# Every tracked C++ file must match .clang-format.
check_format() {
    local files=()
    if git -C "$root" rev-parse --is-inside-work-tree >/dev/null 2>&1; then
        mapfile -t files < <(git -C "$root" ls-files '*.cpp' '*.h')
    else
        mapfile -t files < <(cd "$root" && find src tests bench tools resources -name '*.cpp' -o -name '*.h')
    fi
    echo "Checking the formatting of ${#files[@]} files"
    (cd "$root" && clang-format --dry-run --Werror "${files[@]}")
}

# The design file fuzzer, once it exists: a clang build with both sanitizers,
# run for a bounded time on its committed corpus. New inputs it finds go to a
# scratch folder, so the committed corpus only changes by hand.
run_fuzzer() {
    local source="$root/tests/fuzz/design_file_fuzzer.cpp"
    local corpus="$root/tests/fuzz/corpus"
    if [ ! -f "$source" ]; then
        echo "No design file fuzzer yet: fuzzing skipped"
        return 0
    fi
    CC=clang CXX=clang++ cmake -S "$root" -B "$fuzzing" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DDESIGNER_FUZZ=ON -DDESIGNER_SANITIZE=ON -DDESIGNER_BUILD_TESTS=OFF -DDESIGNER_BUILD_BENCHMARKS=OFF >/dev/null
    cmake --build "$fuzzing" --target design_file_fuzzer --parallel "$(nproc)"
    local fuzzer
    fuzzer="$(find "$fuzzing" -type f -name design_file_fuzzer -perm -u+x | head -n 1)"
    [ -n "$fuzzer" ] || { echo "design_file_fuzzer was not built" >&2; return 1; }
    local scratch
    scratch="$(mktemp -d)"
    trap 'rm -rf "$scratch"' RETURN
    echo "Fuzzing the design file reader for 60 seconds"
    # A crashing input is kept in the build folder, to replay with: $fuzzer <file>
    "$fuzzer" -max_total_time=60 -timeout=10 -print_final_stats=1 -artifact_prefix="$fuzzing/" \
        "$scratch" "$corpus"
}

case "${1:-}" in
run)
    install_missing
    build_all "$build"
    if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
        echo "No display found. Start the designer under a virtual display with:"
        echo "  xvfb-run -a $build/jumpsuit-designer"
        exit 0
    fi
    exec "$build/jumpsuit-designer"
    ;;
test)
    install_missing
    check_format
    build_all "$build"
    run_tests "$build"
    echo "Again under AddressSanitizer and UndefinedBehaviorSanitizer"
    build_all "$sanitized" -DDESIGNER_SANITIZE=ON -DDESIGNER_BUILD_BENCHMARKS=OFF
    run_tests "$sanitized"
    run_fuzzer
    ;;
*)
    echo "usage: $0 run|test" >&2
    exit 2
    ;;
esac
