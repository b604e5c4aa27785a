// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "orvemu/decodercore.h"
#include "support/recordingportaccess.h"

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QString>

class QLineEdit;

namespace orv::test {

// Types text into a widget key by key, as a keyboard wedge does: CR is the Enter key, codes
// 1..26 are Ctrl with a letter (code 3 is Ctrl+C), any other character a key with that text.
void TypeKeys(QWidget* widget, const QString& text);

// Plays the decoder on the keyboard link: it watches the bytes the program writes to the
// keyboard controller (through the recording port access) and types its answers into the
// window's Text1, as the decoder's keystrokes would arrive. After the handshake of a memory
// read ("MMMMM") it types the memory text into the window's memory box; a clear ("NNNNN") needs
// only the handshake answer.
class KeyboardDecoder : public QObject {
    Q_OBJECT
public:
    KeyboardDecoder(RecordingPortAccess& port, QLineEdit* text1, emu::Kind kind = emu::Kind::Mag);
    ~KeyboardDecoder() override;

    // Behaviour.
    int answerAfterBursts = 1; // type the handshake answer with this burst's last letter; 0: never
    QString handshakeAnswer = QStringLiteral("S");
    QString dataAnswer = QStringLiteral("P");    // typed after good download data
    QString badDataAnswer = QStringLiteral("E"); // typed after data with a wrong check
    QString uploadReply;                         // typed as the upload reply; empty: none
    QPointer<QWidget> memoryBox;                 // where the memory text is typed
    QString memoryReply;                         // typed after a read's handshake; empty: none
    // Between what the decoder answers (the data, the end of a handshake) and the keys of its
    // reply; the handshake answer itself comes at once. Long enough that a reply never lands in
    // the short pause before the program clears the box it is typed into.
    int typingDelayMsecs = 50;

    // The decoder's settings and version (for the default upload reply).
    emu::Kind kind;
    QByteArray settings;
    QByteArray versionFirst = "KBD DEC V1.0";
    QByteArray versionLast = "2023-11-30";
    // A good upload reply of this decoder.
    QString goodUploadReply() const;

    // What it saw.
    int bursts = 0;
    QByteArray burstLetters; // the letter of every complete burst, in order
    QByteArray data;         // the characters after the handshake of a download
    bool dataCheckOk = false;
    int unmasks = 0; // writes to the interrupt mask port

private:
    enum class State { Idle, ReceivingData, AwaitingUnmask };
    void written(const RecordingPortAccess::Write& w);
    void typeLater(const QString& text, QWidget* box = nullptr);

    RecordingPortAccess& port_;
    QPointer<QLineEdit> text1_;
    State state_ = State::Idle;
    char runLetter_ = 0;
    int runLength_ = 0;
    int unanswered_ = 0; // bursts since the last handshake answer
    // What is typed once the program has unmasked the interrupts after the handshake.
    QPointer<QWidget> replyBox_;
    QString reply_;
};

} // namespace orv::test
