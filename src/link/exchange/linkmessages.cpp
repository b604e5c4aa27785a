// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "linkmessages.h"

#include "link/protocol/text.h"

#include <QRegularExpression>

#include <iterator>

namespace orv {

namespace {

struct StatusRow {
    LinkStatus status;
    const char* key;  // orvctl's word for it
    const char* line; // orvctl's text for it; null: the window's message
};

constexpr StatusRow StatusRows[] = {
    {LinkStatus::Ok, "ok", nullptr},
    {LinkStatus::TimedOut, "timed_out", nullptr},
    {LinkStatus::Refused, "refused", nullptr},
    {LinkStatus::PortUnavailable, "port_unavailable", "not available"},
    {LinkStatus::PortLost, "port_lost", "not available (lost)"},
};

constexpr bool StatusRowsInOrder() {
    for (std::size_t i = 0; i < std::size(StatusRows); ++i) {
        if (StatusRows[i].status != LinkStatus(i))
            return false;
    }
    return true;
}
static_assert(StatusRowsInOrder() && std::size(StatusRows) == 1 + std::size_t(LinkStatus::PortLost),
              "every status has its row, in the order of LinkStatus");

// The texts more than one outcome shows.
constexpr char TimeOut[] = QT_TRANSLATE_NOOP("orv::LinkMessages", "Time Out Error!");
constexpr char HandshakeTimeOut[] = QT_TRANSLATE_NOOP("orv::LinkMessages", "Times Out Error");
constexpr char DownloadFailed[] = QT_TRANSLATE_NOOP("orv::LinkMessages", "Download Failed!");
constexpr char UploadFailed[] = QT_TRANSLATE_NOOP("orv::LinkMessages", "Upload Failed!");
constexpr char ReadMemoryFailed[] =
    QT_TRANSLATE_NOOP("orv::LinkMessages", "Read Decoder Memory Failed!");
constexpr char EraseFailed[] = QT_TRANSLATE_NOOP("orv::LinkMessages", "Erase Command Failed!");
constexpr char TransmitFailed[] = QT_TRANSLATE_NOOP("orv::LinkMessages", "Transmit Data Failled!");
constexpr char NotAvailable[] = QT_TRANSLATE_NOOP("orv::LinkMessages", "COM%1: not available.");

// The composed status lines of the firmware transfer.
constexpr char PageSending[] =
    QT_TRANSLATE_NOOP("orv::LinkMessages", "Be transmiting Data From  %1To %2 : %3");
constexpr char PageSent[] = QT_TRANSLATE_NOOP("orv::LinkMessages", "Transmit Data For Page %1 OK!");

// The titles of the keyboard link's memory handshake.
constexpr char KeyboardReadMemoryTitle[] =
    QT_TRANSLATE_NOOP("orv::LinkMessages", "Read Decoder Memory Message");
constexpr char KeyboardClearMemoryTitle[] =
    QT_TRANSLATE_NOOP("orv::LinkMessages", "Clear Decoder Memory Message");

struct OutcomeRow {
    LinkOutcome outcome;
    const char* text; // "": no message
    const char* title;
    LinkStatus status;
};

using O = LinkOutcome;
using S = LinkStatus;

constexpr OutcomeRow OutcomeRows[] = {
    {O::DownloadOk, QT_TRANSLATE_NOOP("orv::LinkMessages", "Download OK!"), LinkTitle::Cfg, S::Ok},
    {O::DownloadRefused, DownloadFailed, LinkTitle::Cfg, S::Refused},
    {O::DownloadTimedOut, TimeOut, LinkTitle::Cfg, S::TimedOut},
    {O::DownloadUnaccepted, DownloadFailed, LinkTitle::Cfg, S::TimedOut},
    {O::UploadOk, QT_TRANSLATE_NOOP("orv::LinkMessages", "   Upload OK!   "), LinkTitle::Upload,
     S::Ok},
    {O::VersionOk, QT_TRANSLATE_NOOP("orv::LinkMessages", "Get Firmware Version OK!\r\r%1"),
     LinkTitle::Upload, S::Ok},
    {O::UploadRefused, UploadFailed, LinkTitle::Upload, S::Refused},
    {O::UploadTimedOut, TimeOut, LinkTitle::Upload, S::TimedOut},
    {O::UploadUntyped, UploadFailed, LinkTitle::Upload, S::TimedOut},
    {O::ReadMemoryOk, QT_TRANSLATE_NOOP("orv::LinkMessages", "   Read Decoder Memory OK!\r\r"),
     LinkTitle::ReadMemory, S::Ok},
    {O::ReadMemoryRefused, ReadMemoryFailed, LinkTitle::ReadMemory, S::Refused},
    {O::ReadMemoryTimedOut, TimeOut, LinkTitle::ReadMemory, S::TimedOut},
    {O::ReadMemoryUnsent, ReadMemoryFailed, LinkTitle::ReadMemory, S::TimedOut},
    {O::ClearMemoryOk, QT_TRANSLATE_NOOP("orv::LinkMessages", "Clear Decoder Memory OK!"),
     LinkTitle::ClearMemory, S::Ok},
    {O::ClearMemoryRefused, QT_TRANSLATE_NOOP("orv::LinkMessages", "Clear Decoder Memory Failed!"),
     LinkTitle::ClearMemory, S::Refused},
    {O::ClearMemoryTimedOut, TimeOut, LinkTitle::ClearMemory, S::TimedOut},
    {O::FirmwareOk, QT_TRANSLATE_NOOP("orv::LinkMessages", "ISP Transmit OK!"), LinkTitle::Isp,
     S::Ok},
    {O::FirmwareAccessTimedOut, TimeOut, LinkTitle::Isp, S::TimedOut},
    {O::FirmwareWrongLoader, QT_TRANSLATE_NOOP("orv::LinkMessages", "A Incorrect Version No!"),
     LinkTitle::Isp, S::Refused},
    {O::FirmwareAccessRefused, QT_TRANSLATE_NOOP("orv::LinkMessages", "Access ISP Command Failed!"),
     LinkTitle::Isp, S::Refused},
    {O::FirmwareEraseRefused, EraseFailed, LinkTitle::Isp, S::Refused},
    {O::FirmwareEraseTimedOut, EraseFailed, LinkTitle::Isp, S::TimedOut},
    {O::FirmwarePageRefused, TransmitFailed, LinkTitle::Isp, S::Refused},
    {O::FirmwarePageTimedOut, TransmitFailed, LinkTitle::Isp, S::TimedOut},
    {O::PortUnavailable, NotAvailable, "", S::PortUnavailable},
    {O::PortLost, NotAvailable, "", S::PortLost},
    {O::DownloadHandshakeTimedOut, HandshakeTimeOut, LinkTitle::Cfg, S::TimedOut},
    {O::UploadHandshakeTimedOut, HandshakeTimeOut, LinkTitle::Upload, S::TimedOut},
    {O::ReadMemoryHandshakeTimedOut, HandshakeTimeOut, KeyboardReadMemoryTitle, S::TimedOut},
    {O::ClearMemoryHandshakeTimedOut, HandshakeTimeOut, KeyboardClearMemoryTitle, S::TimedOut},
    {O::TypedMemoryEnded, "", "", S::Ok},
    {O::TypedMemoryTimedOut, "", "", S::TimedOut},
};

constexpr bool OutcomeRowsInOrder() {
    for (std::size_t i = 0; i < std::size(OutcomeRows); ++i) {
        if (OutcomeRows[i].outcome != LinkOutcome(i))
            return false;
    }
    return true;
}
static_assert(std::size(OutcomeRows) == std::size_t(LinkOutcome::Count) && OutcomeRowsInOrder(),
              "every outcome has its row, in the order of LinkOutcome");

const OutcomeRow& RowOf(LinkOutcome outcome) {
    return OutcomeRows[std::size_t(outcome)];
}

} // namespace

const QRegularExpression& LinkPartMarker() {
    static const QRegularExpression marker(QStringLiteral("%([1-9])"));
    return marker;
}

QString LinkStatusKey(LinkStatus status) {
    return QString::fromLatin1(StatusRows[std::size_t(status)].key);
}

QString LinkStatusLine(LinkStatus status) {
    return QString::fromLatin1(StatusRows[std::size_t(status)].line);
}

LinkStatus OutcomeStatus(LinkOutcome outcome) {
    return RowOf(outcome).status;
}

Dialogs::Message OutcomeMessage(LinkOutcome outcome, const QStringList& parts) {
    const OutcomeRow& row = RowOf(outcome);
    return Dialogs::Message(FilledText(QString::fromUtf8(row.text), parts),
                            QString::fromUtf8(row.title));
}

QString FilledText(const QString& form, const QStringList& parts) {
    QString text;
    qsizetype from = 0;
    for (auto markers = LinkPartMarker().globalMatch(form); markers.hasNext();) {
        const QRegularExpressionMatch marker = markers.next();
        const qsizetype part = marker.captured(1).toInt() - 1;
        if (part >= parts.size())
            continue;
        text += form.mid(from, marker.capturedStart() - from);
        text += parts[part];
        from = marker.capturedEnd();
    }
    return text + form.mid(from);
}

QString VersionMessage(const QString& versionText) {
    return OutcomeMessage(LinkOutcome::VersionOk, {versionText}).text;
}

QString NotAvailableText(int comPort) {
    return FilledText(QString::fromUtf8(NotAvailable), {NumberText(comPort)});
}

Dialogs::Message NotAvailableMessage(int comPort, const QString& reason) {
    Dialogs::Message m(NotAvailableText(comPort), QString());
    m.details = reason;
    return m;
}

QString PageSendingText(int first, int last, int attempt) {
    return FilledText(QString::fromUtf8(PageSending),
                      {NumberText(first), NumberText(last), NumberText(attempt)});
}

QString PageSentText(int first) {
    return FilledText(QString::fromUtf8(PageSent), {NumberText(first)});
}

const std::vector<const char*>& ComposedLinkForms() {
    static const std::vector<const char*> forms{NotAvailable, RowOf(LinkOutcome::VersionOk).text,
                                                PageSent, PageSending};
    return forms;
}

} // namespace orv
