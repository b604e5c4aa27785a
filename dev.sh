#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The orvcfg developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds, runs and tests orvcfg on Debian 12. Installs the build packages that are missing first
# (as root, or through sudo).
#
#   ./dev.sh run         build (build/) and start the program
#   ./dev.sh test        build (build/) and run every test with ctest
#   ./dev.sh asan-test   build with AddressSanitizer + UndefinedBehaviorSanitizer (build-asan/)
#                        and run every test
#   ./dev.sh bench       build (build/) and run the benchmarks
#   ./dev.sh fuzz [SECONDS]
#                        build the libFuzzer targets with clang (build-fuzz/) and run each over
#                        its seed corpus and then on new inputs for SECONDS (default 20)
#   ./dev.sh package     build the Debian package (build-package/orvcfg_<version>_<arch>.deb)
#                        and its debug symbols (orvcfg-dbgsym_<version>_<arch>.ddeb), build
#                        them again in build-package-2 and compare, check the package's files
#                        and run lintian on it
#   ./dev.sh deps        only install the missing packages
set -euo pipefail
cd "$(dirname "$0")"

# Building, and what the tests need: Qt's linguist tools (lupdate, lrelease and their CMake
# functions) and Qt's own translations (the standard dialogs in German), the SVG icon engine (sharp
# icons), scdoc (man pages), the validators of the desktop files, zsh (the completion script is
# checked with it), reuse (every file's copyright and licence) and ansible-core (the Ansible
# collection is run by a test).
PACKAGES=(cmake ninja-build g++ qt6-base-dev qt6-serialport-dev qt6-l10n-tools qt6-tools-dev
    qt6-translations-l10n libgl-dev libfontconfig-dev libqt6svg6 scdoc appstream appstream-util
    desktop-file-utils shared-mime-info zsh reuse ansible-core)
# What ./dev.sh package needs besides: dpkg-buildflags and dpkg-shlibdeps (Depends), file
# (CPack finds the programs to take the debug symbols of with it), lintian, and ccache where
# (the builds of later runs take their objects from the cache).
PACKAGE_TOOLS=(dpkg-dev file lintian ccache)
# The fuzz targets need clang and its runtime libraries (libFuzzer and the sanitizers).
FUZZ_PACKAGES=(clang libclang-rt-14-dev)
JOBS=$(nproc)

# Installs what is missing of PACKAGES and of the packages given.
deps() {
    local missing=()
    for p in "${PACKAGES[@]}" "$@"; do
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

# A release build in folder $1 with Debian's flags as they are (the build type None adds none of
# its own), packed by CPack with the dates of SOURCE_DATE_EPOCH.
package_build() {
    local dir=$1 cxxflags
    cxxflags="$(DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get CXXFLAGS) \
$(DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get CPPFLAGS)"
    # The build folder's path stays out of the programs and their debug symbols (Debian's flags
    # do the same for the source folder), so that where the package was built leaves no trace.
    cxxflags+=" -ffile-prefix-map=$PWD/$dir=build"
    build "$dir" -DCMAKE_BUILD_TYPE=None -DORVCFG_BUILD_TESTS=OFF -DORVCFG_BUILD_BENCH=OFF \
        -DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_FLAGS="$cxxflags" \
        -DCMAKE_EXE_LINKER_FLAGS="$(DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get LDFLAGS)"
    (cd "$dir" && cpack -G DEB)
}

# Runs every fuzz target of build dir $1 over its seed corpus (tests/fuzz/corpus/<target>) and
# then on new inputs for $2 seconds. New inputs go to <dir>/corpus/<target>, crashes to
# <dir>/artifacts; a target's output is shown in full only when it fails.
run_fuzzers() {
    local dir=$1 seconds=$2
    mkdir -p "$dir/artifacts" "$dir/logs"
    for f in "$dir"/bin/fuzz_*; do
        local name
        name=$(basename "$f")
        mkdir -p "$dir/corpus/$name"
        echo "== $name: seed corpus, then ${seconds} s of new inputs"
        if ! "$f" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
            -artifact_prefix="$dir/artifacts/$name-" "$dir/corpus/$name" \
            "tests/fuzz/corpus/$name" >"$dir/logs/$name.log" 2>&1; then
            cat "$dir/logs/$name.log"
            echo "$name FAILED (input saved in $dir/artifacts)"
            return 1
        fi
        grep -E '^#[0-9]+[[:space:]]+DONE|stat::number_of_executed_units' "$dir/logs/$name.log"
    done
}

# Runs the tests of build dir $1, $2 at a time. The test programs mostly wait on the link's
# timers (on two cores, two at a time kept about a third of a core busy), so the plain build runs
# four at a time; the sanitizer build, which needs several times the CPU, two.
run_tests() {
    local dir=$1 jobs=$2
    (cd "$dir" && ctest --output-on-failure -j"$jobs" --timeout 900)
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
    run_tests build 4
    ;;
asan-test)
    deps
    build build-asan -DCMAKE_BUILD_TYPE=Debug -DORVCFG_SANITIZE=ON -DORVCFG_BUILD_BENCH=OFF
    run_tests build-asan 2
    ;;
fuzz)
    deps "${FUZZ_PACKAGES[@]}"
    cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DCMAKE_CXX_COMPILER=clang++ -DORVCFG_FUZZ=ON -DORVCFG_BUILD_TESTS=OFF \
        -DORVCFG_BUILD_BENCH=OFF
    cmake --build build-fuzz -j"$JOBS" --target fuzzers
    run_fuzzers build-fuzz "${2:-20}"
    ;;
package)
    deps "${PACKAGE_TOOLS[@]}"
    # Every date in the package (the files', the man pages', the changelog's) is the last
    # commit's, or the release date outside a git checkout: one commit, one package.
    SOURCE_DATE_EPOCH=$(git log -1 --format=%ct 2>/dev/null || true)
    if [ -z "$SOURCE_DATE_EPOCH" ]; then
        release=$(sed -n 's/^set(ORV_RELEASE_DATE \(.*\))$/\1/p' CMakeLists.txt)
        SOURCE_DATE_EPOCH=$(date -u -d "$release" +%s)
    fi
    export SOURCE_DATE_EPOCH
    # ccache compiles as the compiler does: with a base_dir it would write the sources' paths
    # relative to the build folder, past -ffile-prefix-map, and the package would depend on
    # ccache's configuration. (Each build folder then has cache entries of its own.)
    export CCACHE_BASEDIR=
    # Both builds start from empty folders, so that nothing of an earlier build (made with
    # another commit's date) reaches the package; ccache keeps them short.
    rm -rf build-package build-package-2
    package_build build-package
    version=$(sed -n 's/^set(CPACK_PACKAGE_VERSION "\(.*\)")$/\1/p' build-package/CPackConfig.cmake)
    packages=("orvcfg_${version}_*.deb" "orvcfg-dbgsym_${version}_*.ddeb")
    # The same packages, byte for byte, from a second build in another folder.
    package_build build-package-2
    for p in "${packages[@]}"; do
        for f in build-package/$p; do
            if ! cmp "$f" "build-package-2/${f##*/}"; then
                echo "FAILED: two builds of one commit made different packages ($f)"
                command -v diffoscope >/dev/null && diffoscope "$f" "build-package-2/${f##*/}"
                exit 1
            fi
        done
    done
    echo "Reproducible: build-package-2 made the same packages byte for byte"
    packaging/check-package.sh build-package build-package/packaging/expected-files.txt "$version"
    # Errors fail the command; warnings and notes are shown.
    for p in "${packages[@]}"; do
        lintian --fail-on error --display-info build-package/$p
    done
    for p in "${packages[@]}"; do
        ls build-package/$p
    done
    ;;
bench)
    deps
    build build -DCMAKE_BUILD_TYPE=RelWithDebInfo
    for b in build/bin/bench_*; do
        [ -x "$b" ] && "$b"
    done
    ;;
*)
    sed -n '2,15p' "$0"
    exit 2
    ;;
esac
