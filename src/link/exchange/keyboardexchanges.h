// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "exchange.h"
#include "keyboardsteps.h"

#include "core/config.h"

#include <QTimer>

#include <functional>

namespace orv {

class PortAccess;

// What the keyboard-link exchanges share: the handshake of letter bursts answered in the
// window's small box, then (for some) a wait for a typed answer.
//
// The window empties and focuses its small box before start(); during the handshake typed()
// hands over that box's text. answerAwaited() asks the window to empty and focus the box the
// next answer is typed into, whose text typed() hands over from then on. Destroyed while it
// runs, its waits unmask the interrupts as they go (KeyboardWait), and its writes stop.
class KeyboardBurstExchange : public KeyboardExchange {
    Q_OBJECT
public:
    void typed(const QString& text) override;
    void setHeld(bool held) override;

    // The handshake's ticks so far (TickCount).
    int tickCount() const { return handshake_.tickCount(); }

protected:
    KeyboardBurstExchange(PortAccess& port, const LinkTiming& timing, QObject* parent);

    // The five letters of `letter`, each `spacingMsecs` after the one before, every handshake
    // period until the answer; unanswered, the exchange ends with the outcome `unanswered`.
    void startHandshake(char letter, int spacingMsecs, LinkOutcome unanswered);
    // The letter of the bursts that begin from now on.
    void setBurstLetter(char letter);
    virtual bool isHandshakeAnswer(const QString& text) const = 0;
    // The decoder answered the handshake, which is over, and the interrupts are unmasked.
    virtual void handshakeAnswered() = 0;

    // answerAwaited(), then the wait for the typed answer, which answerTyped() sees.
    void awaitAnswer(int timeoutMsecs);
    // The text of the answer box, after every change while the answer is awaited.
    virtual void answerTyped(const QString&) {}
    // Ends the wait for the typed answer (once the keystrokes being delivered now are in).
    void answerComplete() { answerWait_.answer(); }
    // The wait for the typed answer is over and the interrupts are unmasked; answerText() is
    // what was typed.
    virtual void answerWaitEnded(bool answered) = 0;
    const QString& answerText() const { return answerText_; }

    void halt() override;

    PortAccess& port_;

private:
    enum class Phase { Idle, Handshake, Answer };
    Phase phase_ = Phase::Idle;
    LinkOutcome handshakeUnanswered_ = LinkOutcome::DownloadHandshakeTimedOut;
    BurstHandshake handshake_;
    TypedAnswerWait answerWait_;
    QString answerText_;
};

// Download over the keyboard link: bursts of "AAAAA" (saved by the decoder) or "BBBBB", the
// decoder's "S", a pause, the 172 characters of the image and its check byte, then the typed
// "P" that accepts them. Progress: the index of the image byte sent, of 84.
class KeyboardDownloadExchange : public KeyboardBurstExchange {
    Q_OBJECT
public:
    KeyboardDownloadExchange(PortAccess& port, const Image& image, bool save,
                             const LinkTiming& timing, QObject* parent = nullptr);

    // The window's download options stay live during the handshake. A save choice made then
    // sets the letter of the bursts still to come (the decoder saves by the burst it answers);
    // `image`, when set, gives the image to send once the decoder has answered.
    void setSave(bool save);
    void setImageSource(std::function<Image()> image) { imageSource_ = std::move(image); }

protected:
    void begin() override;
    void halt() override;
    bool isHandshakeAnswer(const QString& text) const override;
    void handshakeAnswered() override;
    void answerTyped(const QString& text) override;
    void answerWaitEnded(bool answered) override;

private:
    void sendData();

    Image image_;
    std::function<Image()> imageSource_;
    bool decoderSaves_;
    QTimer dataPause_; // between the decoder's answer and the data
    KeyboardWriter dataWriter_;
};

// Upload (or the firmware version) over the keyboard link: bursts of "CCCCC", the decoder's
// "S", then the 145 characters of its reply typed into the box. Progress: the characters typed,
// of 146. The result carries the reply and its version text; the window applies the reply to
// the image unless only the version was asked for.
class KeyboardUploadExchange : public KeyboardBurstExchange {
    Q_OBJECT
public:
    KeyboardUploadExchange(PortAccess& port, UploadRequest request, const LinkTiming& timing,
                           QObject* parent = nullptr);

protected:
    void begin() override;
    bool isHandshakeAnswer(const QString& text) const override;
    void handshakeAnswered() override;
    void answerTyped(const QString& text) override;
    void answerWaitEnded(bool answered) override;

private:
    UploadRequest request_;
};

// Memory read over the keyboard link: bursts of "MMMMM", the decoder's "S" (the last character
// typed, either case), then the memory text typed into the window's memory box until code 3,
// more than 3000 characters, endTyping() or the time-out. The text stays in the window's box:
// no message follows, whatever ended the wait (the status tells a time-out from the others).
class KeyboardReadMemoryExchange : public KeyboardBurstExchange {
    Q_OBJECT
public:
    explicit KeyboardReadMemoryExchange(PortAccess& port, const LinkTiming& timing,
                                        QObject* parent = nullptr);

    void endTyping() override;

protected:
    void begin() override;
    bool isHandshakeAnswer(const QString& text) const override;
    void handshakeAnswered() override;
    void answerTyped(const QString& text) override;
    void answerWaitEnded(bool answered) override;
};

// Memory clear over the keyboard link: bursts of "NNNNN" until the decoder's "S"; the
// interrupts are unmasked once more before the success is reported.
class KeyboardClearMemoryExchange : public KeyboardBurstExchange {
    Q_OBJECT
public:
    explicit KeyboardClearMemoryExchange(PortAccess& port, const LinkTiming& timing,
                                         QObject* parent = nullptr);

protected:
    void begin() override;
    bool isHandshakeAnswer(const QString& text) const override;
    void handshakeAnswered() override;
    void answerWaitEnded(bool) override {}
};

} // namespace orv
