// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "keyboardexchanges.h"

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

} // namespace

// ----- KeyboardBurstExchange -----

KeyboardBurstExchange::KeyboardBurstExchange(PortAccess& port, const LinkTiming& timing,
                                             QObject* parent)
    : KeyboardExchange(timing, parent), port_(port), handshake_(port), answerWait_(port) {
    connect(&handshake_, &BurstHandshake::finished, this, [this](bool answered) {
        phase_ = Phase::Idle;
        if (answered && !handshake_.timedOut())
            handshakeAnswered();
        else
            finish(handshakeUnanswered_);
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

void KeyboardBurstExchange::startHandshake(char letter, int spacingMsecs, LinkOutcome unanswered) {
    phase_ = Phase::Handshake;
    handshakeUnanswered_ = unanswered;
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

void KeyboardBurstExchange::halt() {
    phase_ = Phase::Idle;
    handshake_.stop();
    answerWait_.stop();
}

// ----- Download -----

KeyboardDownloadExchange::KeyboardDownloadExchange(PortAccess& port, const Image& image, bool save,
                                                   const LinkTiming& timing, QObject* parent)
    : KeyboardBurstExchange(port, timing, parent), image_(image), decoderSaves_(save),
      dataWriter_(port, timing.transmitByteSpacingMsecs) {
    dataPause_.setSingleShot(true);
    dataPause_.setTimerType(Qt::PreciseTimer);
    connect(&dataPause_, &QTimer::timeout, this, &KeyboardDownloadExchange::sendData);
    connect(&dataWriter_, &KeyboardWriter::byteWritten, this, [this](int k) {
        // The progress is the index of the image byte sent; the check byte adds none.
        if (k % 2 == 1 && k / 2 < ImageSize)
            emit progress(k / 2, ImageSize - 1);
    });
    connect(&dataWriter_, &KeyboardWriter::done, this,
            [this] { awaitAnswer(this->timing().keyboardAcceptMsecs); });
}

void KeyboardDownloadExchange::setSave(bool save) {
    decoderSaves_ = save;
    setBurstLetter(save ? BurstDownloadSave : BurstDownloadNoSave);
}

void KeyboardDownloadExchange::begin() {
    startHandshake(decoderSaves_ ? BurstDownloadSave : BurstDownloadNoSave,
                   timing().transmitByteSpacingMsecs, LinkOutcome::DownloadHandshakeTimedOut);
}

void KeyboardDownloadExchange::halt() {
    KeyboardBurstExchange::halt();
    dataPause_.stop();
    dataWriter_.stop();
}

bool KeyboardDownloadExchange::isHandshakeAnswer(const QString& text) const {
    return IsWholeS(text);
}

void KeyboardDownloadExchange::handshakeAnswered() {
    dataPause_.start(timing().handshakePauseMsecs);
}

void KeyboardDownloadExchange::sendData() {
    emit progress(0, ImageSize - 1);
    dataWriter_.write(KeyboardDownloadText(imageSource_ ? imageSource_() : image_));
}

void KeyboardDownloadExchange::answerTyped(const QString& text) {
    if (text.compare(QLatin1String("P"), Qt::CaseInsensitive) == 0)
        answerComplete();
}

void KeyboardDownloadExchange::answerWaitEnded(bool) {
    // The box decides, also when the time-out ended the wait.
    if (answerText().compare(QLatin1String("P"), Qt::CaseInsensitive) == 0)
        finish(LinkOutcome::DownloadOk);
    else if (answerText().isEmpty())
        finish(LinkOutcome::DownloadUnaccepted);
    else
        finish(LinkOutcome::DownloadRefused);
}

// ----- Upload and firmware version -----

KeyboardUploadExchange::KeyboardUploadExchange(PortAccess& port, UploadRequest request,
                                               const LinkTiming& timing, QObject* parent)
    : KeyboardBurstExchange(port, timing, parent), request_(request) {}

void KeyboardUploadExchange::begin() {
    startHandshake(BurstUpload, timing().transmitByteSpacingMsecs,
                   LinkOutcome::UploadHandshakeTimedOut);
}

bool KeyboardUploadExchange::isHandshakeAnswer(const QString& text) const {
    return IsWholeS(text);
}

void KeyboardUploadExchange::handshakeAnswered() {
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
    if (const auto block = ParseKeyboardUpload(answerText()))
        finishUploaded(request_, *block);
    else
        finish(answerText().isEmpty() ? LinkOutcome::UploadUntyped : LinkOutcome::UploadRefused);
}

// ----- Memory read -----

KeyboardReadMemoryExchange::KeyboardReadMemoryExchange(PortAccess& port, const LinkTiming& timing,
                                                       QObject* parent)
    : KeyboardBurstExchange(port, timing, parent) {}

void KeyboardReadMemoryExchange::endTyping() {
    // Ctrl+C ends only the wait for the memory text; at other times it is the copy key.
    answerComplete();
}

void KeyboardReadMemoryExchange::begin() {
    startHandshake(ReadLetter, timing().memoryByteSpacingMsecs,
                   LinkOutcome::ReadMemoryHandshakeTimedOut);
}

bool KeyboardReadMemoryExchange::isHandshakeAnswer(const QString& text) const {
    return EndsWithS(text);
}

void KeyboardReadMemoryExchange::handshakeAnswered() {
    awaitAnswer(timing().keyboardMemoryReadMsecs);
}

void KeyboardReadMemoryExchange::answerTyped(const QString& text) {
    if (text.size() > MemoryTextLimit || text.endsWith(QChar(EndOfText)))
        answerComplete();
}

void KeyboardReadMemoryExchange::answerWaitEnded(bool answered) {
    // What was typed stays in the window's box; no message follows.
    finish(answered ? LinkOutcome::TypedMemoryEnded : LinkOutcome::TypedMemoryTimedOut);
}

// ----- Memory clear -----

KeyboardClearMemoryExchange::KeyboardClearMemoryExchange(PortAccess& port, const LinkTiming& timing,
                                                         QObject* parent)
    : KeyboardBurstExchange(port, timing, parent) {}

void KeyboardClearMemoryExchange::begin() {
    startHandshake(ClearLetter, timing().memoryByteSpacingMsecs,
                   LinkOutcome::ClearMemoryHandshakeTimedOut);
}

bool KeyboardClearMemoryExchange::isHandshakeAnswer(const QString& text) const {
    return EndsWithS(text);
}

void KeyboardClearMemoryExchange::handshakeAnswered() {
    UnmaskKeyboardInterrupts(port_);
    finish(LinkOutcome::ClearMemoryOk);
}

} // namespace orv
