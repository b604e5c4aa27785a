// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "linkmessages.h"
#include "linktiming.h"

#include "core/dialogs.h"
#include "link/protocol/replies.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace orv {

// What an upload asks the decoder for: its settings, or only its firmware version (the same
// request; a version request leaves the image alone).
enum class UploadRequest { Configuration, Version };

// The outcome of an exchange: its status and the message the window shows for it (both from
// the outcome's row, linkmessages.h), and what it brought back.
struct ExchangeResult {
    LinkStatus status = LinkStatus::Ok;
    // The window's message for this outcome: its row's text (a composed one filled in) and
    // title, with the port's reason as details where the port failed. An empty text: the
    // window shows none (a keyboard memory read ends without one).
    Dialogs::Message message;
    std::optional<UploadBlock> upload; // a good upload or version reply
    QString versionText;               // its version text
    QByteArray memoryText;             // a memory read: the text of every record, CR LF lines

    bool ok() const { return status == LinkStatus::Ok; }
};

// One exchange with the decoder: a state machine started with its inputs, driven by the port's
// signals and by timers, that ends with exactly one `finished`. No local event loop, no
// threads and no shared state: exchanges on different ports run side by side.
//
// Cancelling ends it at once and silently (no `finished`): the serial port is closed and, on
// the keyboard link, the interrupt controller is unmasked again. Destroying a running exchange
// cancels it. A receiver of `finished` may delete the exchange only with deleteLater().
class Exchange : public QObject {
    Q_OBJECT
public:
    explicit Exchange(const LinkTiming& timing, QObject* parent = nullptr);
    ~Exchange() override;

    // Starts the exchange; it runs once.
    void start();
    // Ends a running exchange without `finished`; nothing happens when it is not running.
    void cancel();
    bool isRunning() const { return running_; }
    const LinkTiming& timing() const { return timing_; }

signals:
    // Progress as the window's progress bar shows it.
    void progress(int value, int maximum);
    // A status line (the firmware update's steps).
    void statusText(const QString& text);
    void finished(const orv::ExchangeResult& result);

protected:
    // The first step.
    virtual void begin() = 0;
    // Stops the concrete exchange's steps: its timers, writes and waits. Runs when the exchange
    // finishes and when it is cancelled, but not when it is destroyed: what a concrete exchange
    // owns stops as it is destroyed (a keyboard wait unmasks the interrupts then), and what it
    // holds outside of itself it hands to holdLink().
    virtual void halt() {}
    // The link held from now on (the serial port opened): `letGo` lets go of it. It runs once,
    // after halt(): when the exchange is cancelled, once the receivers of `finished` have
    // returned, or when the exchange is destroyed. It runs from ~Exchange too, so it may use
    // only what outlives the concrete exchange (the port, this object as a QObject).
    void holdLink(std::function<void()> letGo) { letGo_ = std::move(letGo); }
    // Ends the exchange with this outcome: halt(), then `finished` with the outcome's status and
    // message (the parts of a composed text filled in), then the link let go. `result` brings
    // what the exchange brought back and the details of the message. Nothing happens when the
    // exchange is not running.
    void finish(LinkOutcome outcome, ExchangeResult result = {}, const QStringList& parts = {});
    // Ends an upload with a good reply block: "   Upload OK!   ", or for a version request the
    // version message; the block and its version text come back in the result.
    void finishUploaded(UploadRequest request, const UploadBlock& block);

private:
    void letGoOfLink();

    LinkTiming timing_;
    std::function<void()> letGo_; // while the link is held
    bool running_ = false;
    bool started_ = false;
};

// An exchange over the keyboard link: letter bursts and bytes go to the keyboard controller,
// and the decoder's answers come back as keystrokes typed into a box of the window, which hands
// over the box's text each time it changes.
class KeyboardExchange : public Exchange {
    Q_OBJECT
public:
    using Exchange::Exchange;

    // The whole text of the box the decoder types into, after every change.
    virtual void typed(const QString& text) = 0;
    // The user ended the typed answer (Ctrl+C in the memory box).
    virtual void endTyping() {}
    // While held (a question of the window is open), a wait for the decoder that comes to its
    // end is taken up only once released; the bursts and the typing go on meanwhile.
    virtual void setHeld(bool) {}

signals:
    // A typed answer is awaited from now on: the window empties its box and focuses it.
    void answerAwaited();
};

} // namespace orv

Q_DECLARE_METATYPE(orv::ExchangeResult)
