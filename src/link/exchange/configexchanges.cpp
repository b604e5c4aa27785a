// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "configexchanges.h"

#include "linkmessages.h"

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
    if (DownloadReplyStatus(bytes) == GoodReply)
        conclude(LinkStatus::Ok,
                 QStringLiteral(QT_TRANSLATE_NOOP("orv::LinkMessages", "Download OK!")), CfgTitle);
    else
        conclude(LinkStatus::Refused,
                 QStringLiteral(QT_TRANSLATE_NOOP("orv::LinkMessages", "Download Failed!")),
                 CfgTitle);
}

void DownloadExchange::timedOut() {
    conclude(LinkStatus::TimedOut, TimeOutText, CfgTitle);
}

UploadExchange::UploadExchange(SerialTarget target, UploadRequest request, const LinkTiming& timing,
                               QObject* parent)
    : SerialExchange(std::move(target), timing, parent), request_(request) {}

void UploadExchange::opened() {
    sendAndAwait(UploadRequestFrame(), SerialUploadThreshold, timing().uploadReplyMsecs);
}

void UploadExchange::replied(const QByteArray& bytes) {
    const auto block = ParseSerialUpload(bytes);
    if (!block) {
        conclude(LinkStatus::Refused,
                 QStringLiteral(QT_TRANSLATE_NOOP("orv::LinkMessages", "Upload Failed!")),
                 UploadTitle);
        return;
    }
    ExchangeResult result;
    result.upload = block;
    result.versionText = VersionText(*block);
    const QString text =
        request_ == UploadRequest::Version
            ? VersionMessage(result.versionText)
            : QStringLiteral(QT_TRANSLATE_NOOP("orv::LinkMessages", "   Upload OK!   "));
    conclude(LinkStatus::Ok, text, UploadTitle, std::move(result));
}

void UploadExchange::timedOut() {
    conclude(LinkStatus::TimedOut, TimeOutText, UploadTitle);
}

} // namespace orv
