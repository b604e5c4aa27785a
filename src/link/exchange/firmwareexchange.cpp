// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "firmwareexchange.h"

#include "linkmessages.h"

#include "link/protocol/text.h"
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
            return failed(LinkStatus::TimedOut, TimeOutText);
        case IspIncorrectVersion:
            return failed(
                LinkStatus::Refused,
                QStringLiteral(QT_TRANSLATE_NOOP("orv::LinkMessages", "A Incorrect Version No!")));
        default:
            return failed(LinkStatus::Refused,
                          QStringLiteral(QT_TRANSLATE_NOOP("orv::LinkMessages",
                                                           "Access ISP Command Failed!")));
        }
    case Step::Erase:
        if (code != IspAccepted) {
            return failed(
                code == IspNoReply ? LinkStatus::TimedOut : LinkStatus::Refused,
                QStringLiteral(QT_TRANSLATE_NOOP("orv::LinkMessages", "Erase Command Failed!")));
        }
        emit statusText(
            QStringLiteral(QT_TRANSLATE_NOOP("orv::LinkMessages", "Erase Command OK!")));
        if (!isRunning())
            return;
        start_ = 0;
        if (image_.isEmpty()) {
            step_ = Step::EndPause;
            pause(timing().ispLoaderPauseMsecs);
            return;
        }
        attempt_ = 1;
        sendPage();
        return;
    case Step::Page:
        if (code != IspAccepted) {
            if (attempt_ < IspMaxTries) {
                ++attempt_;
                sendPage();
                return;
            }
            return failed(
                code == IspNoReply ? LinkStatus::TimedOut : LinkStatus::Refused,
                QStringLiteral(QT_TRANSLATE_NOOP("orv::LinkMessages", "Transmit Data Failled!")));
        }
        emit statusText(QStringLiteral("Transmit Data For Page ") + NumberText(start_) +
                        QStringLiteral(" OK!"));
        if (!isRunning())
            return;
        start_ += IspPageSize;
        emit progress(start_ / IspPageSize, progressMaximum());
        if (!isRunning())
            return;
        // The loader writes the page meanwhile.
        step_ = Step::PagePause;
        pause(timing().ispPagePauseMsecs);
        return;
    case Step::AccessPause:
    case Step::PagePause:
    case Step::EndPause:
        return;
    }
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
        if (start_ < image_.size()) {
            attempt_ = 1;
            sendPage();
        } else {
            step_ = Step::EndPause;
            pause(timing().ispLoaderPauseMsecs);
        }
        return;
    case Step::EndPause: {
        if (!writeUnanswered(IspEndPacket())) // the loader does not answer it
            return;
        const int maximum = progressMaximum();
        emit progress(maximum, maximum);
        if (!isRunning())
            return;
        // The loader commits the image once it has the whole packet, at its line rate: OK only
        // once the packet has left the port, a failure when it never does.
        concludeWhenSent(LinkStatus::Ok,
                         Dialogs::Message(QStringLiteral(QT_TRANSLATE_NOOP("orv::LinkMessages",
                                                                           "ISP Transmit OK!")),
                                          IspTitle),
                         {},
                         Dialogs::Message(QStringLiteral(QT_TRANSLATE_NOOP(
                                              "orv::LinkMessages", "Transmit Data Failled!")),
                                          IspTitle));
        return;
    }
    case Step::Access:
    case Step::Erase:
    case Step::Page:
        return;
    }
}

void FirmwareExchange::sendPage() {
    step_ = Step::Page;
    emit statusText(QStringLiteral("Be transmiting Data From  ") + NumberText(start_) +
                    QStringLiteral("To ") + NumberText(start_ + IspPageSize - 1) +
                    QStringLiteral(" : ") + NumberText(attempt_));
    if (!isRunning())
        return;
    const auto bytes =
        QByteArrayView(image_).sliced(start_, qMin<qsizetype>(IspPageSize, image_.size() - start_));
    port().discardOutput();
    sendAndAwait(IspPage(start_, bytes), 1, timing().ispPageReplyMsecs);
}

void FirmwareExchange::failed(LinkStatus status, const QString& text) {
    conclude(status, text, IspTitle);
}

} // namespace orv
