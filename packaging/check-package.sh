#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The orvcfg developers
# SPDX-License-Identifier: GPL-3.0-or-later
# check-package.sh FOLDER EXPECTED-FILES VERSION
#
# Checks the Debian package orvcfg_VERSION_<arch>.deb in FOLDER: it holds exactly the files
# listed in EXPECTED-FILES (one path a line, written by packaging/CMakeLists.txt), its version
# is VERSION, its Depends name the shared libraries of the programs and Qt's SVG icon engine, it
# recommends Qt's own translations, its programs are stripped and carry no .comment section, and
# orvcfg-dbgsym_VERSION_<arch>.ddeb beside it holds the debug symbols of each of them under its
# build id. When there is no such package (or no dpkg-deb) it skips with exit status 77.
set -uo pipefail
folder=$1
expected=$2
version=$3

if ! command -v dpkg-deb >/dev/null; then
    echo "SKIPPED: dpkg-deb is not installed"
    exit 77
fi
shopt -s nullglob
debs=("$folder"/orvcfg_"$version"_*.deb)
if [ ${#debs[@]} -eq 0 ]; then
    echo "SKIPPED: no package orvcfg_${version}_*.deb in $folder (./dev.sh package builds one)"
    exit 77
fi
deb=${debs[0]}
echo "Checking $deb"
failed=0

# The files (not the folders) of the package, against the expected list.
actual=$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { print $6 }' | sed 's|^\./||' | sort)
if ! difference=$(diff -u <(sort "$expected") <(printf '%s\n' "$actual")); then
    echo "FAILED: the package does not hold the expected files (- missing, + unexpected):"
    tail -n +3 <<<"$difference" | grep '^[-+]'
    failed=1
fi

field() { dpkg-deb -f "$deb" "$1"; }
if [ "$(field Version)" != "$version" ]; then
    echo "FAILED: Version is '$(field Version)', not $version"
    failed=1
fi
depends=$(field Depends)
# The package names of Depends, without versions: one a line.
names=$(sed 's/ *([^)]*)//g; s/, */\n/g' <<<"$depends")
for lib in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 libqt6serialport6 libqt6svg6; do
    if ! grep -qxF "$lib" <<<"$names"; then
        echo "FAILED: Depends does not name $lib: $depends"
        failed=1
    fi
done
if [ "$(field Recommends)" != qt6-translations-l10n ]; then
    echo "FAILED: Recommends is '$(field Recommends)', not qt6-translations-l10n"
    failed=1
fi
if [ "$(field Section)" != electronics ]; then
    echo "FAILED: Section is '$(field Section)', not electronics"
    failed=1
fi
if [ -z "$(field Homepage)" ]; then
    echo "FAILED: the package names no Homepage"
    failed=1
fi

# The programs: stripped, without .comment, their debug symbols in the dbgsym package.
dbgsym=${deb/\/orvcfg_/\/orvcfg-dbgsym_}
dbgsym=${dbgsym%.deb}.ddeb
if [ ! -f "$dbgsym" ]; then
    echo "FAILED: there is no $dbgsym"
    failed=1
else
    symbols=$(dpkg-deb -c "$dbgsym" | awk '{ print $6 }')
    # dpkg checks the files against md5sums by their paths from the root.
    if dpkg-deb -I "$dbgsym" md5sums | grep -qv '^[0-9a-f]\{32\}  usr/lib/debug/'; then
        echo "FAILED: the md5sums of $dbgsym name other paths than usr/lib/debug/...:"
        dpkg-deb -I "$dbgsym" md5sums
        failed=1
    fi
fi
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg-deb -x "$deb" "$root"
for program in "$root"/usr/bin/*; do
    name=${program#"$root"/}
    sections=$(readelf -S -W "$program")
    if grep -qE '\.comment|\.debug_info|\.symtab' <<<"$sections"; then
        echo "FAILED: $name is not stripped or still has its .comment section"
        failed=1
    fi
    id=$(readelf -n "$program" | sed -n 's/^ *Build ID: *//p')
    debug="./usr/lib/debug/.build-id/${id:0:2}/${id:2}.debug"
    if [ -z "$id" ] || ! grep -qxF "$debug" <<<"${symbols:-}"; then
        echo "FAILED: the debug symbols of $name (build id '$id') are not in the dbgsym package"
        failed=1
    fi
done
[ $failed -eq 0 ] && echo "PASSED: $(wc -l <"$expected") files, version $version, Depends: $depends"
exit $failed
