// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "linktiming.h"

#include "core/dialogs.h"
#include "link/protocol/replies.h"

#include <QByteArray>
#include <QObject>
#include <QString>

#include <optional>

namespace orv {

// How an exchange with the decoder ended.
enum class LinkStatus {
    Ok,              // the decoder did what was asked
    TimedOut,        // no answer within the time-out
    Refused,         // an answer came, but a negative, damaged or short one
    PortUnavailable, // the serial port could not be opened
    PortLost,        // the serial port failed during the exchange (an adapter unplugged)
};

// What an upload asks the decoder for: its settings, or only its firmware version (the same
// request; a version request leaves the image alone).
enum class UploadRequest { Configuration, Version };

// The outcome of an exchange: its status, the message the window shows for it, and what it
// brought back.
struct ExchangeResult {
    LinkStatus status = LinkStatus::Ok;
    // The window's message for this outcome ("Download OK!" with "CFG Message", "Time Out
    // Error!", "COM 2: not available." with the port's reason as details). An empty text: the
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
// the keyboard link, the interrupt controller is unmasked again. A receiver of `finished` may
// delete the exchange only with deleteLater().
class Exchange : public QObject {
    Q_OBJECT
public:
    explicit Exchange(const LinkTiming& timing, QObject* parent = nullptr);

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
    // Stops every timer and leaves the link as it was found: the port closed, the interrupts
    // unmasked. Runs when the exchange finishes and when it is cancelled. Concrete exchanges
    // call cancel() in their destructors.
    virtual void halt() = 0;
    // Ends the exchange: halt(), then `finished` with the result.
    void finish(ExchangeResult result);

private:
    LinkTiming timing_;
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
