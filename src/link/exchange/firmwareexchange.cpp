// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "firmwareexchange.h"

#include "link/serial/serialport.h"

namespace orv {

namespace {

SerialTarget AtLoaderSettings(SerialTarget target) {
    // Whatever the baud rate and framing options say. (The adapter's transmit buffer has no
    // fixed size, so the 520 bytes the loader needs always fit.)
    target.settings = IspSerialSettings;
    return target;
}

} // namespace

FirmwareExchange::FirmwareExchange(SerialTarget target, QByteArray image, const LinkTiming& timing,
                                   QObject* parent)
    : SerialExchange(AtLoaderSettings(std::move(target)), timing, parent),
      image_(std::move(image)) {}

int FirmwareExchange::progressMaximum() const {
    return IspProgressMaximum(image_.size());
}

void FirmwareExchange::opened() {
    emit statusText(
        QStringLiteral(QT_TRANSLATE_NOOP("orv::LinkMessages", "Be Transmiting ISP Command")));
    if (!isRunning())
        return; // a receiver cancelled it
    step_ = Step::Access;
    sendAndAwait(IspAccessCommand(), 1, timing().ispAccessReplyMsecs);
}

void FirmwareExchange::replied(const QByteArray& bytes) {
    reply(IspReplyOutcome(step_ == Step::Access, bytes));
}

void FirmwareExchange::timedOut() {
    reply(IspNoReply);
}

void FirmwareExchange::reply(IspReplyCode code) {
    switch (step_) {
    case Step::Access:
        return accessAnswered(code);
    case Step::Erase:
        return eraseAnswered(code);
    case Step::Page:
        return pageAnswered(code);
    case Step::AccessPause:
    case Step::PagePause:
    case Step::EndPause:
        return;
    }
}

void FirmwareExchange::accessAnswered(IspReplyCode code) {
    switch (code) {
    case IspAccepted:
        emit statusText(
            QStringLiteral(QT_TRANSLATE_NOOP("orv::LinkMessages", "Access ISP Command OK!")));
        if (!isRunning())
            return;
        step_ = Step::AccessPause;
        pause(timing().ispLoaderPauseMsecs);
        return;
    case IspNoReply:
        return finish(LinkOutcome::FirmwareAccessTimedOut);
    case IspIncorrectVersion:
        return finish(LinkOutcome::FirmwareWrongLoader);
    default:
        return finish(LinkOutcome::FirmwareAccessRefused);
    }
}

void FirmwareExchange::eraseAnswered(IspReplyCode code) {
    if (code != IspAccepted) {
        return finish(code == IspNoReply ? LinkOutcome::FirmwareEraseTimedOut
                                         : LinkOutcome::FirmwareEraseRefused);
    }
    emit statusText(QStringLiteral(QT_TRANSLATE_NOOP("orv::LinkMessages", "Erase Command OK!")));
    if (!isRunning())
        return;
    pageStart_ = 0;
    if (image_.isEmpty()) {
        step_ = Step::EndPause;
        pause(timing().ispLoaderPauseMsecs);
        return;
    }
    pageAttempt_ = 1;
    sendPage();
}

void FirmwareExchange::pageAnswered(IspReplyCode code) {
    if (code != IspAccepted) {
        if (pageAttempt_ < IspMaxTries) {
            ++pageAttempt_;
            sendPage();
            return;
        }
        return finish(code == IspNoReply ? LinkOutcome::FirmwarePageTimedOut
                                         : LinkOutcome::FirmwarePageRefused);
    }
    emit statusText(PageSentText(pageStart_));
    if (!isRunning())
        return;
    pageStart_ += IspPageSize;
    emit progress(pageStart_ / IspPageSize, progressMaximum());
    if (!isRunning())
        return;
    // The loader writes the page meanwhile.
    step_ = Step::PagePause;
    pause(timing().ispPagePauseMsecs);
}

void FirmwareExchange::paused() {
    switch (step_) {
    case Step::AccessPause:
        step_ = Step::Erase;
        emit statusText(QStringLiteral(
            QT_TRANSLATE_NOOP("orv::LinkMessages", "Be transmiting Erase Command!")));
        if (!isRunning())
            return;
        sendAndAwait(IspErasePacket(), 1, timing().ispEraseReplyMsecs);
        return;
    case Step::PagePause:
        if (pageStart_ < image_.size()) {
            pageAttempt_ = 1;
            sendPage();
        } else {
            step_ = Step::EndPause;
            pause(timing().ispLoaderPauseMsecs);
        }
        return;
    case Step::EndPause:
        return sendEndPacket();
    case Step::Access:
    case Step::Erase:
    case Step::Page:
        return;
    }
}

void FirmwareExchange::sendEndPacket() {
    if (!writeUnanswered(IspEndPacket())) // the loader does not answer it
        return;
    const int maximum = progressMaximum();
    emit progress(maximum, maximum);
    if (!isRunning())
        return;
    // The loader commits the image once it has the whole packet, at its line rate: OK only once
    // the packet has left the port, a failure when it never does.
    finishWhenSent(LinkOutcome::FirmwareOk, {}, LinkOutcome::FirmwarePageTimedOut);
}

void FirmwareExchange::sendPage() {
    step_ = Step::Page;
    emit statusText(PageSendingText(pageStart_, pageStart_ + IspPageSize - 1, pageAttempt_));
    if (!isRunning())
        return;
    const auto bytes = QByteArrayView(image_).sliced(
        pageStart_, qMin<qsizetype>(IspPageSize, image_.size() - pageStart_));
    port().discardOutput();
    sendAndAwait(IspPage(pageStart_, bytes), 1, timing().ispPageReplyMsecs);
}

} // namespace orv
