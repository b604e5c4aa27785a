// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "keyboarddecoder.h"

#include <QLineEdit>
#include <QTest>
#include <QTimer>

namespace orv::test {

namespace {
constexpr int DataLength = 172; // 85 bytes and the check byte as hex pairs
}

void TypeKeys(QWidget* widget, const QString& text) {
    for (QChar c : text) {
        const char16_t code = c.unicode();
        if (code == u'\r')
            QTest::keyClick(widget, Qt::Key_Return);
        else if (code >= 1 && code <= 26)
            QTest::sendKeyEvent(QTest::Click, widget, Qt::Key(Qt::Key_A + code - 1), QString(c),
                                Qt::ControlModifier);
        else
            QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

KeyboardDecoder::KeyboardDecoder(RecordingPortAccess& port, QLineEdit* text1, emu::Kind kind_)
    : kind(kind_), settings(emu::DecoderCore::DefaultSettings(kind_)), port_(port), text1_(text1) {
    port_.onWrite = [this](const RecordingPortAccess::Write& w) {
        written(w);
    };
}

KeyboardDecoder::~KeyboardDecoder() {
    port_.onWrite = nullptr;
}

QString KeyboardDecoder::goodUploadReply() const {
    return emu::KeyboardUploadReply(kind, settings, versionFirst, versionLast);
}

void KeyboardDecoder::typeLater(const QString& text, QWidget* box) {
    QPointer<QWidget> target = box ? box : text1_.data();
    QTimer::singleShot(typingDelayMsecs, this, [target, text] {
        if (target)
            TypeKeys(target, text);
    });
}

void KeyboardDecoder::written(const RecordingPortAccess::Write& w) {
    if (w.port == InterruptMaskPort) {
        // A wait of the program ended: the next bursts belong to a new request.
        ++unmasks;
        unanswered_ = 0;
        runLength_ = 0;
        if (state_ == State::AwaitingUnmask) {
            state_ = State::Idle;
            if (!reply_.isEmpty() && replyBox_)
                typeLater(reply_, replyBox_);
        }
        return;
    }
    if (w.port != KeyboardDataPort)
        return;
    const char c = static_cast<char>(w.value);
    if (state_ == State::ReceivingData) {
        data.append(c);
        if (data.size() == DataLength) {
            const QByteArray bytes = QByteArray::fromHex(data);
            dataCheckOk = bytes.size() == 86 && emu::DecoderCore::XorOf(bytes) == 0;
            state_ = State::Idle;
            typeLater(dataCheckOk ? dataAnswer : badDataAnswer);
        }
        return;
    }
    if (state_ != State::Idle)
        return;
    runLength_ = (c == runLetter_) ? runLength_ + 1 : 1;
    runLetter_ = c;
    if (runLength_ < 5)
        return;
    runLength_ = 0;
    ++bursts;
    ++unanswered_;
    burstLetters.append(c);
    if (answerAfterBursts <= 0 || unanswered_ != answerAfterBursts)
        return;
    unanswered_ = 0;
    if (c == 'A' || c == 'B') {
        data.clear();
        state_ = State::ReceivingData;
    } else if (c == 'C') {
        state_ = State::AwaitingUnmask;
        if (uploadReply.isEmpty())
            uploadReply = goodUploadReply();
        replyBox_ = text1_.data();
        reply_ = uploadReply;
    } else if (c == 'M') {
        state_ = State::AwaitingUnmask;
        replyBox_ = memoryBox;
        reply_ = memoryReply;
    }
    // At once, while the burst's last letter is written: the answer follows the burst it
    // answers however busy the machine is, and no further burst starts before it.
    if (text1_)
        TypeKeys(text1_, handshakeAnswer);
}

} // namespace orv::test
