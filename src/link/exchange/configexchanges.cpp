// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "configexchanges.h"

#include "link/protocol/frames.h"
#include "link/protocol/replies.h"

namespace orv {

DownloadExchange::DownloadExchange(SerialTarget target, const Image& image, bool save,
                                   const LinkTiming& timing, QObject* parent)
    : SerialExchange(std::move(target), timing, parent), image_(image), save_(save) {}

void DownloadExchange::opened() {
    sendAndAwait(DownloadFrame(image_, save_), 1, timing().downloadReplyMsecs);
}

void DownloadExchange::replied(const QByteArray& bytes) {
    finish(DownloadReplyStatus(bytes) == GoodReply ? LinkOutcome::DownloadOk
                                                   : LinkOutcome::DownloadRefused);
}

void DownloadExchange::timedOut() {
    finish(LinkOutcome::DownloadTimedOut);
}

UploadExchange::UploadExchange(SerialTarget target, UploadRequest request, const LinkTiming& timing,
                               QObject* parent)
    : SerialExchange(std::move(target), timing, parent), request_(request) {}

void UploadExchange::opened() {
    sendAndAwait(UploadRequestFrame(), SerialUploadThreshold, timing().uploadReplyMsecs);
}

void UploadExchange::replied(const QByteArray& bytes) {
    if (const auto block = ParseSerialUpload(bytes))
        finishUploaded(request_, *block);
    else
        finish(LinkOutcome::UploadRefused);
}

void UploadExchange::timedOut() {
    finish(LinkOutcome::UploadTimedOut);
}

} // namespace orv
