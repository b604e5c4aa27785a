#!/usr/bin/env bash
# Builds, runs and tests orvcfg on Debian 12. Installs the build packages that are missing first
# (as root, or through sudo).
#
#   ./dev.sh run         build (build/) and start the program
#   ./dev.sh test        build (build/) and run every test with ctest
#   ./dev.sh asan-test   build with AddressSanitizer + UndefinedBehaviorSanitizer (build-asan/)
#                        and run every test
#   ./dev.sh bench       build (build/) and run the benchmarks
#   ./dev.sh deps        only install the missing packages
set -euo pipefail
cd "$(dirname "$0")"

PACKAGES=(cmake ninja-build g++ qt6-base-dev qt6-serialport-dev libgl-dev libfontconfig-dev)
JOBS=$(nproc)

deps() {
    local missing=()
    for p in "${PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' ||
            missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    local sudo=()
    [ "$(id -u)" -ne 0 ] && sudo=(sudo)
    echo "Installing: ${missing[*]}"
    "${sudo[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends \
        "${missing[@]}"
}

build() {
    local dir=$1
    shift
    cmake -S . -B "$dir" -G Ninja "$@"
    cmake --build "$dir" -j"$JOBS"
}

run_tests() {
    local dir=$1
    # Two tests at a time: the machines have two cores.
    (cd "$dir" && ctest --output-on-failure -j2 --timeout 900)
}

case "${1:-}" in
deps)
    deps
    ;;
run)
    deps
    build build -DCMAKE_BUILD_TYPE=RelWithDebInfo
    exec build/bin/orvcfg
    ;;
test)
    deps
    build build -DCMAKE_BUILD_TYPE=RelWithDebInfo
    run_tests build
    ;;
asan-test)
    deps
    build build-asan -DCMAKE_BUILD_TYPE=Debug -DORVCFG_SANITIZE=ON -DORVCFG_BUILD_BENCH=OFF
    run_tests build-asan
    ;;
bench)
    deps
    build build -DCMAKE_BUILD_TYPE=RelWithDebInfo
    for b in build/bin/bench_*; do
        [ -x "$b" ] && "$b"
    done
    ;;
*)
    sed -n '2,10p' "$0"
    exit 2
    ;;
esac
