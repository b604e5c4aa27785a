// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace orv {

// Every time-out, pause, burst period and byte spacing of the decoder link, in milliseconds.
// The defaults are the link's real timing; tests run the same exchanges with scaled() figures.
// The link services hand one of these to every exchange.
struct LinkTiming {
    // RS232 replies.
    int downloadReplyMsecs = 3000; // the decoder's 07h after a download frame
    int uploadReplyMsecs = 7000;   // the upload block, also for the firmware version
    int memoryReplyMsecs = 3000;   // each memory block, and the answer to a clear

    // Keyboard link.
    int handshakePeriodMsecs = 150;     // one letter burst per period until the decoder answers
    int transmitByteSpacingMsecs = 4;   // between bytes to the keyboard controller (downloads)
    int memoryByteSpacingMsecs = 2;     // between the letters of the memory window's bursts
    int handshakePauseMsecs = 20;       // after the decoder's "S", before the download data
    int keyboardAcceptMsecs = 1000;     // the typed "P" that accepts a download
    int keyboardUploadMsecs = 5000;     // the 145 typed characters of an upload
    int keyboardMemoryReadMsecs = 5000; // the typed memory text

    // Firmware loader.
    int ispAccessReplyMsecs = 5000;
    int ispEraseReplyMsecs = 5000;
    int ispPageReplyMsecs = 3000;
    int ispLoaderPauseMsecs = 5; // after the access command, and before the end packet
    int ispPagePauseMsecs = 200; // after every page taken, while the loader writes it

    // Keyboard and RS232 test: a reception is shown once the rest of it has had this long.
    int receptionWaitMsecs = 200;

    // Every figure multiplied by factor and rounded, at least 1 ms.
    LinkTiming scaled(double factor) const;
};

} // namespace orv
