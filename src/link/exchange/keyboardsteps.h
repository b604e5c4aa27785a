// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

namespace orv {

class PortAccess;

// Unmasks the primary interrupt lines again (0 to the interrupt controller's mask port): written
// once after every wait for a keyboard answer, whatever its outcome, so that keystrokes reach
// the program again.
void UnmaskKeyboardInterrupts(PortAccess& port);

// Writes bytes to the keyboard controller's data port one at a time, `spacing` apart. Each
// byte's deadline is the moment the byte before it went out plus the spacing, taken right after
// that write: the work done after a write (progress, signals) is not added to the gap, and a
// timer is never started from a later "now". No gap is ever shorter than the spacing, which the
// decoder needs to take a byte; a stall of the machine delays the bytes after it and is not made
// up with shorter gaps. A run ends one spacing after its last byte, since the decoder needs that
// pause before whatever follows.
class KeyboardWriter : public QObject {
    Q_OBJECT
public:
    KeyboardWriter(PortAccess& port, int spacingMsecs, QObject* parent = nullptr);

    // For runs started from now on.
    void setSpacingMsecs(int msecs) { spacingNsecs_ = qint64(msecs) * 1000000; }
    int spacingMsecs() const { return int(spacingNsecs_ / 1000000); }

    // Appends bytes to the run under way, or starts a run whose first byte goes at once.
    void write(const QByteArray& bytes);
    // Drops the bytes not written yet; no `done` follows.
    void stop();
    // A run is under way (its bytes, or the pause after its last one).
    bool isBusy() const { return busy_; }

signals:
    // Byte `index` of the run (counted from 0) has just been written.
    void byteWritten(int index);
    // The run is over: its last byte went out one spacing ago.
    void done();

private:
    void writeDue();
    void armFor(qint64 deadlineNsecs);

    PortAccess& port_;
    qint64 spacingNsecs_;
    QElapsedTimer clock_;
    QTimer timer_;
    QByteArray bytes_; // the run
    int next_ = 0;     // index of the next byte of the run
    quint64 run_ = 0;  // changes when a run starts or is stopped
    bool busy_ = false;
};

// A wait for an answer from the decoder over the keyboard link. However it ends (the answer,
// its time-out, stop()), 0 goes to the interrupt mask port exactly once.
class KeyboardWait : public QObject {
    Q_OBJECT
public:
    // A wait destroyed while it runs unmasks the interrupts, as stop() does (its timers and
    // writes have stopped with the concrete wait).
    ~KeyboardWait() override;

    bool isRunning() const { return running_; }
    // Ends a running wait at once, without `finished`: its timers stop and the interrupts are
    // unmasked. Nothing happens when no wait runs.
    void stop();
    // While held, a wait that comes to its end (the answer, the time-out) stays where it is:
    // the interrupts stay masked and `finished` waits for release(), which lets it end once
    // the current event is handled. stop() still ends a held wait at once.
    void hold();
    void release();

signals:
    // The wait is over and the interrupts unmasked; answered: the decoder answered in time.
    void finished(bool answered);

protected:
    KeyboardWait(PortAccess& port, QObject* parent);
    void begin() { running_ = true; }
    // Unmasks and reports; nothing happens when no wait runs.
    void end(bool answered);
    // Stops the wait's timers and writes.
    virtual void halt() = 0;

    PortAccess& port_;

private:
    enum class Held { No, Running, Ended, Answered };
    Held held_ = Held::No;
    QTimer releaseTimer_; // ends a wait whose end was held
    bool running_ = false;
};

// The handshake of the keyboard link: TickCount = 0, then every period a burst of letters until
// the decoder answers or 15 bursts went unanswered; the tick after the 15th ends the wait as a
// time-out (TickCount 16). Ticks keep to deadlines (tick n at start + n periods).
//
// A burst always goes out whole: a tick that comes while the one before is still being written
// has its burst follow that one, and an answer during a burst ends the wait once the burst (and
// the pause after its last letter) is over. Only stop() cuts a burst short.
class BurstHandshake : public KeyboardWait {
    Q_OBJECT
public:
    static constexpr int MaxBursts = 15;

    explicit BurstHandshake(PortAccess& port, QObject* parent = nullptr);

    void start(const QByteArray& burst, int periodMsecs, int letterSpacingMsecs);
    // The letters of the bursts that begin from now on.
    void setBurst(const QByteArray& burst) { burst_ = burst; }
    // The decoder's answer arrived: no further burst starts, and the wait ends after the
    // keystrokes being delivered now (and the burst under way).
    void answer();

    int tickCount() const { return tickCount_; }
    bool timedOut() const { return tickCount_ > MaxBursts; }

protected:
    void halt() override;

private:
    void tick();
    void burstDone();
    void endIfIdle();

    KeyboardWriter writer_;
    QTimer tickTimer_;
    QTimer endTimer_; // the answer ends the wait once the current event is handled
    QElapsedTimer clock_;
    QByteArray burst_;
    qint64 periodNsecs_ = 0;
    int tickCount_ = 0;
    int pendingBursts_ = 0; // ticks whose burst waits for the one under way
    bool ending_ = false;   // answered or timed out: ends once no burst is under way
    bool answered_ = false;
};

// The wait for an answer typed by the decoder, with its time-out. The caller decides what counts
// as the answer and calls answer(); the wait then ends once the keystrokes being delivered now
// are all in, so the caller reads the whole text the decoder typed.
class TypedAnswerWait : public KeyboardWait {
    Q_OBJECT
public:
    explicit TypedAnswerWait(PortAccess& port, QObject* parent = nullptr);

    void start(int timeoutMsecs);
    void answer();

protected:
    void halt() override;

private:
    QTimer timeout_;
    QTimer endTimer_;
};

} // namespace orv
