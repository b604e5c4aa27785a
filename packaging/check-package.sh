#!/usr/bin/env bash
# check-package.sh FOLDER EXPECTED-FILES VERSION
#
# Checks the Debian package orvcfg_VERSION_<arch>.deb in FOLDER: it holds exactly the files
# listed in EXPECTED-FILES (one path a line, written by packaging/CMakeLists.txt), its version
# is VERSION, and its Depends name the shared libraries of the programs and Qt's SVG icon
# engine. When there is no such package (or no dpkg-deb) it skips with exit status 77.
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
[ $failed -eq 0 ] && echo "PASSED: $(wc -l <"$expected") files, version $version, Depends: $depends"
exit $failed
