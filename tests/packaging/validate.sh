#!/bin/sh
# SPDX-FileCopyrightText: 2026 The orvcfg developers
# SPDX-License-Identifier: GPL-3.0-or-later
# validate.sh [--silent] PACKAGE TOOL [ARG...]
#
# Runs a validator on the project's desktop files. It passes when the validator accepts them
# (exit status 0); with --silent, only when it also says nothing at all (no warning or hint).
# A validator that is not installed makes the test skip with exit status 77, which ctest shows
# as "Skipped", naming the Debian package that brings it.
silent=no
if [ "$1" = --silent ]; then
    silent=yes
    shift
fi
package=$1
tool=$2
shift 2
if ! command -v "$tool" >/dev/null 2>&1; then
    echo "SKIPPED: $tool is not installed (Debian package $package; ./dev.sh deps installs it)"
    exit 77
fi
out=$("$tool" "$@" 2>&1)
rc=$?
[ -n "$out" ] && printf '%s\n' "$out"
if [ $rc -ne 0 ]; then
    echo "FAILED: $tool exited with status $rc"
    exit 1
fi
if [ $silent = yes ] && [ -n "$out" ]; then
    echo "FAILED: $tool accepted the file, with remarks"
    exit 1
fi
echo "PASSED: $tool $*"
