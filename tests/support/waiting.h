// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "link/exchange/linktiming.h"

namespace orv::test {

#if defined(__SANITIZE_ADDRESS__) // GCC
constexpr bool Sanitized = true;
#elif defined(__has_feature) // Clang
constexpr bool Sanitized = __has_feature(address_sanitizer);
#else
constexpr bool Sanitized = false;
#endif

// How long a test waits for something that is bound to happen (an exchange's end, a window's
// activation, a signal) before it gives up and fails. It bounds nothing of the program: it only
// keeps a broken test from hanging, so it lies far beyond what a busy machine or a sanitizer
// build ever needs. What a test asserts about time are lower bounds; how fast the program is
// belongs to bench/.
constexpr int GiveUpMsecs = Sanitized ? 180000 : 60000;

// A time-out that no test reaches: a wait given it ends only by what the test does (the
// decoder's answer, a key), so that a busy machine never turns an answer into a time-out and an
// exchange that ends at all shows that the answer ended it.
constexpr int NeverMsecs = 10 * GiveUpMsecs;

// `timing` with every wait for a decoder's reply or typed answer out of reach (NeverMsecs), its
// pauses, spacings and handshake as they are: for exchanges whose every wait the decoder answers.
// A scaled-down time-out would race the answer, and a stall of a busy machine can let it win.
// (A test in which a time-out is to run out keeps the scaled figures.)
inline LinkTiming WithoutTimeOuts(LinkTiming timing) {
    for (int* msecs :
         {&timing.downloadReplyMsecs, &timing.uploadReplyMsecs, &timing.memoryReplyMsecs,
          &timing.keyboardAcceptMsecs, &timing.keyboardUploadMsecs, &timing.keyboardMemoryReadMsecs,
          &timing.ispAccessReplyMsecs, &timing.ispEraseReplyMsecs, &timing.ispPageReplyMsecs})
        *msecs = NeverMsecs;
    return timing;
}

} // namespace orv::test
