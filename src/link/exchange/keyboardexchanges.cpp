// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "keyboardexchanges.h"

#include "linkmessages.h"

#include "link/portaccess/portaccess.h"
#include "link/protocol/replies.h"

namespace orv {

namespace {

constexpr char ReadLetter = 'M';
constexpr char ClearLetter = 'N';
constexpr int MemoryTextLimit = 3000; // more characters typed end a memory read
constexpr char16_t EndOfText = 3;

// Download and upload: the whole text is "S".
bool IsWholeS(const QString& text) {
    return text.compare(QLatin1String("S"), Qt::CaseInsensitive) == 0;
}

// Memory read and clear: the text ends in "S".
bool EndsWithS(const QString& text) {
    return text.endsWith(QLatin1Char('S'), Qt::CaseInsensitive);
}

ExchangeResult Outcome(LinkStatus status, const QString& text, const QString& title) {
    ExchangeResult result;
    result.status = status;
    result.message = Dialogs::Message(text, title);
    return result;
}

} // namespace

// ----- KeyboardBurstExchange -----

KeyboardBurstExchange::KeyboardBurstExchange(PortAccess& port, const LinkTiming& timing,
                                             QObject* parent)
    : KeyboardExchange(timing, parent), port_(port), handshake_(port), answerWait_(port) {
    connect(&handshake_, &BurstHandshake::finished, this, [this](bool answered) {
        phase_ = Phase::Idle;
        handshakeEnded(answered && !handshake_.timedOut());
    });
    connect(&answerWait_, &TypedAnswerWait::finished, this, [this](bool answered) {
        phase_ = Phase::Idle;
        answerWaitEnded(answered);
    });
}

void KeyboardBurstExchange::typed(const QString& text) {
    if (!isRunning())
        return;
    switch (phase_) {
    case Phase::Idle:
        break;
    case Phase::Handshake:
        if (isHandshakeAnswer(text))
            handshake_.answer();
        break;
    case Phase::Answer:
        answerText_ = text;
        answerTyped(text);
        break;
    }
}

void KeyboardBurstExchange::setHeld(bool held) {
    for (KeyboardWait* wait :
         {static_cast<KeyboardWait*>(&handshake_), static_cast<KeyboardWait*>(&answerWait_)}) {
        if (held)
            wait->hold();
        else
            wait->release();
    }
}

void KeyboardBurstExchange::startHandshake(char letter, int spacingMsecs) {
    phase_ = Phase::Handshake;
    handshake_.start(QByteArray(BurstLength, letter), timing().handshakePeriodMsecs, spacingMsecs);
}

void KeyboardBurstExchange::setBurstLetter(char letter) {
    handshake_.setBurst(QByteArray(BurstLength, letter));
}

void KeyboardBurstExchange::awaitAnswer(int timeoutMsecs) {
    phase_ = Phase::Answer;
    answerText_.clear();
    answerWait_.start(timeoutMsecs);
    // The window empties its box now; what was typed before does not count.
    emit answerAwaited();
}

void KeyboardBurstExchange::finishTimedOut(const QString& title) {
    finish(Outcome(LinkStatus::TimedOut,
                   QStringLiteral(QT_TRANSLATE_NOOP("orv::LinkMessages", "Times Out Error")),
                   title));
}

void KeyboardBurstExchange::halt() {
    phase_ = Phase::Idle;
    handshake_.stop();
    answerWait_.stop();
}

// ----- Download -----

KeyboardDownloadExchange::KeyboardDownloadExchange(PortAccess& port, const Image& image, bool save,
                                                   const LinkTiming& timing, QObject* parent)
    : KeyboardBurstExchange(port, timing, parent), image_(image), save_(save),
      writer_(port, timing.transmitByteSpacingMsecs) {
    pause_.setSingleShot(true);
    pause_.setTimerType(Qt::PreciseTimer);
    connect(&pause_, &QTimer::timeout, this, &KeyboardDownloadExchange::sendData);
    connect(&writer_, &KeyboardWriter::byteWritten, this, [this](int k) {
        // The progress is the index of the image byte sent; the check byte adds none.
        if (k % 2 == 1 && k / 2 < ImageSize)
            emit progress(k / 2, ImageSize - 1);
    });
    connect(&writer_, &KeyboardWriter::done, this,
            [this] { awaitAnswer(this->timing().keyboardAcceptMsecs); });
}

KeyboardDownloadExchange::~KeyboardDownloadExchange() {
    cancel();
}

void KeyboardDownloadExchange::setSave(bool save) {
    save_ = save;
    setBurstLetter(save ? BurstDownloadSave : BurstDownloadNoSave);
}

void KeyboardDownloadExchange::begin() {
    startHandshake(save_ ? BurstDownloadSave : BurstDownloadNoSave,
                   timing().transmitByteSpacingMsecs);
}

void KeyboardDownloadExchange::halt() {
    KeyboardBurstExchange::halt();
    pause_.stop();
    writer_.stop();
}

bool KeyboardDownloadExchange::isHandshakeAnswer(const QString& text) const {
    return IsWholeS(text);
}

void KeyboardDownloadExchange::handshakeEnded(bool answered) {
    if (!answered) {
        finishTimedOut(CfgTitle);
        return;
    }
    pause_.start(timing().handshakePauseMsecs);
}

void KeyboardDownloadExchange::sendData() {
    emit progress(0, ImageSize - 1);
    writer_.write(KeyboardDownloadText(imageSource_ ? imageSource_() : image_));
}

void KeyboardDownloadExchange::answerTyped(const QString& text) {
    if (text.compare(QLatin1String("P"), Qt::CaseInsensitive) == 0)
        answerComplete();
}

void KeyboardDownloadExchange::answerWaitEnded(bool) {
    // The box decides, also when the time-out ended the wait.
    if (answerText().compare(QLatin1String("P"), Qt::CaseInsensitive) == 0) {
        finish(Outcome(LinkStatus::Ok,
                       QStringLiteral(QT_TRANSLATE_NOOP("orv::LinkMessages", "Download OK!")),
                       CfgTitle));
        return;
    }
    const LinkStatus status = answerText().isEmpty() ? LinkStatus::TimedOut : LinkStatus::Refused;
    finish(Outcome(status,
                   QStringLiteral(QT_TRANSLATE_NOOP("orv::LinkMessages", "Download Failed!")),
                   CfgTitle));
}

// ----- Upload and firmware version -----

KeyboardUploadExchange::KeyboardUploadExchange(PortAccess& port, UploadRequest request,
                                               const LinkTiming& timing, QObject* parent)
    : KeyboardBurstExchange(port, timing, parent), request_(request) {}

KeyboardUploadExchange::~KeyboardUploadExchange() {
    cancel();
}

void KeyboardUploadExchange::begin() {
    startHandshake(BurstUpload, timing().transmitByteSpacingMsecs);
}

bool KeyboardUploadExchange::isHandshakeAnswer(const QString& text) const {
    return IsWholeS(text);
}

void KeyboardUploadExchange::handshakeEnded(bool answered) {
    if (!answered) {
        finishTimedOut(UploadTitle);
        return;
    }
    emit progress(0, KeyboardUploadLength + 1);
    awaitAnswer(timing().keyboardUploadMsecs);
}

void KeyboardUploadExchange::answerTyped(const QString& text) {
    emit progress(static_cast<int>(qMin<qsizetype>(text.size(), KeyboardUploadLength + 1)),
                  KeyboardUploadLength + 1);
    if (text.size() == KeyboardUploadLength)
        answerComplete();
}

void KeyboardUploadExchange::answerWaitEnded(bool) {
    ExchangeResult result;
    result.upload = ParseKeyboardUpload(answerText());
    if (result.upload) {
        result.versionText = VersionText(*result.upload);
        result.message = Dialogs::Message(
            request_ == UploadRequest::Version
                ? VersionMessage(result.versionText)
                : QStringLiteral(QT_TRANSLATE_NOOP("orv::LinkMessages", "   Upload OK!   ")),
            UploadTitle);
    } else {
        result.status = answerText().isEmpty() ? LinkStatus::TimedOut : LinkStatus::Refused;
        result.message = Dialogs::Message(
            QStringLiteral(QT_TRANSLATE_NOOP("orv::LinkMessages", "Upload Failed!")), UploadTitle);
    }
    finish(result);
}

// ----- Memory read -----

KeyboardReadMemoryExchange::KeyboardReadMemoryExchange(PortAccess& port, const LinkTiming& timing,
                                                       QObject* parent)
    : KeyboardBurstExchange(port, timing, parent) {}

KeyboardReadMemoryExchange::~KeyboardReadMemoryExchange() {
    cancel();
}

void KeyboardReadMemoryExchange::endTyping() {
    // Ctrl+C ends only the wait for the memory text; at other times it is the copy key.
    answerComplete();
}

void KeyboardReadMemoryExchange::begin() {
    startHandshake(ReadLetter, timing().memoryByteSpacingMsecs);
}

bool KeyboardReadMemoryExchange::isHandshakeAnswer(const QString& text) const {
    return EndsWithS(text);
}

void KeyboardReadMemoryExchange::handshakeEnded(bool answered) {
    if (!answered) {
        finishTimedOut(KeyboardReadMemoryTitle);
        return;
    }
    awaitAnswer(timing().keyboardMemoryReadMsecs);
}

void KeyboardReadMemoryExchange::answerTyped(const QString& text) {
    if (text.size() > MemoryTextLimit || text.endsWith(QChar(EndOfText)))
        answerComplete();
}

void KeyboardReadMemoryExchange::answerWaitEnded(bool answered) {
    // What was typed stays in the window's box; no message follows.
    ExchangeResult result;
    result.status = answered ? LinkStatus::Ok : LinkStatus::TimedOut;
    finish(result);
}

// ----- Memory clear -----

KeyboardClearMemoryExchange::KeyboardClearMemoryExchange(PortAccess& port, const LinkTiming& timing,
                                                         QObject* parent)
    : KeyboardBurstExchange(port, timing, parent) {}

KeyboardClearMemoryExchange::~KeyboardClearMemoryExchange() {
    cancel();
}

void KeyboardClearMemoryExchange::begin() {
    startHandshake(ClearLetter, timing().memoryByteSpacingMsecs);
}

bool KeyboardClearMemoryExchange::isHandshakeAnswer(const QString& text) const {
    return EndsWithS(text);
}

void KeyboardClearMemoryExchange::handshakeEnded(bool answered) {
    if (!answered) {
        finishTimedOut(KeyboardClearMemoryTitle);
        return;
    }
    UnmaskKeyboardInterrupts(port_);
    finish(
        Outcome(LinkStatus::Ok,
                QStringLiteral(QT_TRANSLATE_NOOP("orv::LinkMessages", "Clear Decoder Memory OK!")),
                ClearMemoryTitle));
}

} // namespace orv
