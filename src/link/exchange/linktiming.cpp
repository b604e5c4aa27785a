// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "linktiming.h"

#include <algorithm>
#include <cmath>

namespace orv {

LinkTiming LinkTiming::scaled(double factor) const {
    LinkTiming t = *this;
    for (int* figure :
         {&t.downloadReplyMsecs, &t.uploadReplyMsecs, &t.memoryReplyMsecs, &t.handshakePeriodMsecs,
          &t.transmitByteSpacingMsecs, &t.memoryByteSpacingMsecs, &t.handshakePauseMsecs,
          &t.keyboardAcceptMsecs, &t.keyboardUploadMsecs, &t.keyboardMemoryReadMsecs,
          &t.ispAccessReplyMsecs, &t.ispEraseReplyMsecs, &t.ispPageReplyMsecs,
          &t.ispLoaderPauseMsecs, &t.ispPagePauseMsecs, &t.receptionWaitMsecs})
        *figure = std::max(1, static_cast<int>(std::lround(*figure * factor)));
    return t;
}

} // namespace orv
