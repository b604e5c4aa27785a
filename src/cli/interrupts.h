// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

class QSocketNotifier;

namespace orv {

// Turns SIGINT, SIGTERM and SIGHUP into a Qt signal on the event loop, so that a command can end
// its exchanges cleanly instead of dying mid-frame. The handler only writes the signal's number to
// a pipe; a socket notifier on the other end of the pipe emits `interrupted`. While a watcher
// exists these signals no longer end the process; the previous handlers come back when it is
// destroyed. One watcher at a time.
class InterruptWatcher : public QObject {
    Q_OBJECT
public:
    explicit InterruptWatcher(QObject* parent = nullptr);
    ~InterruptWatcher() override;

    bool isActive() const { return pipeNotifier_ != nullptr; }
    // The first signal received (SIGINT, SIGTERM or SIGHUP); 0 while none came.
    int signalNumber() const { return firstSignal_; }

signals:
    void interrupted(int signalNumber);

private:
    void readPipe();

    QSocketNotifier* pipeNotifier_ = nullptr;
    int firstSignal_ = 0;
};

} // namespace orv
