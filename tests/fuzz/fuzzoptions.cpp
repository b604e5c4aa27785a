// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Sanitizer settings of the fuzz targets, linked into each of them.

extern "C" {

// A use after free is caught within one input, whose memory is a few kilobytes, so a small
// quarantine suffices; the default 256 MB one makes the memory of a long run creep up by
// fragmentation until it reaches libFuzzer's limit of 2 GB after millions of inputs.
const char* __asan_default_options() {
    return "quarantine_size_mb=16";
}

} // extern "C"
