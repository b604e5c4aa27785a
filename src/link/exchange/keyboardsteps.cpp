// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "keyboardsteps.h"

#include "link/portaccess/portaccess.h"

#include <algorithm>

namespace orv {

namespace {

// A timer interval that ends no earlier than `nsecs` from now.
int CeilMsecs(qint64 nsecs) {
    return int(std::max<qint64>(0, (nsecs + 999999) / 1000000));
}

} // namespace

void UnmaskKeyboardInterrupts(PortAccess& port) {
    port.SetPortVal(InterruptMaskPort, 0, 1);
}

// ----- KeyboardWriter -----

KeyboardWriter::KeyboardWriter(PortAccess& port, int spacingMsecs, QObject* parent)
    : QObject(parent), port_(port), spacingNsecs_(qint64(spacingMsecs) * 1000000) {
    clock_.start();
    timer_.setSingleShot(true);
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, &KeyboardWriter::writeDue);
}

void KeyboardWriter::write(const QByteArray& bytes) {
    if (bytes.isEmpty())
        return;
    if (busy_) {
        bytes_.append(bytes);
        // A run waiting only for the pause after its last byte goes on at that deadline.
        return;
    }
    busy_ = true;
    ++run_;
    bytes_ = bytes;
    next_ = 0;
    writeDue();
}

void KeyboardWriter::stop() {
    timer_.stop();
    ++run_;
    busy_ = false;
    bytes_.clear();
    next_ = 0;
}

void KeyboardWriter::writeDue() {
    if (!busy_)
        return;
    if (next_ >= bytes_.size()) {
        busy_ = false;
        bytes_.clear();
        next_ = 0;
        emit done();
        return;
    }
    const int index = next_++;
    // A failed write is not reported: it shows as a decoder that does not answer.
    port_.SetPortVal(KeyboardDataPort, static_cast<quint8>(bytes_[index]), 1);
    const qint64 written = clock_.nsecsElapsed();
    const qint64 due = written + spacingNsecs_;
    // A receiver may stop the writer (and even start a new run) meanwhile.
    const quint64 run = run_;
    emit byteWritten(index);
    if (run_ == run)
        armFor(due);
}

void KeyboardWriter::armFor(qint64 deadlineNsecs) {
    // Timer intervals are whole milliseconds and a timer never fires before its interval is
    // over: rounded up, the byte never goes early.
    timer_.start(CeilMsecs(deadlineNsecs - clock_.nsecsElapsed()));
}

// ----- KeyboardWait -----

KeyboardWait::KeyboardWait(PortAccess& port, QObject* parent) : QObject(parent), port_(port) {
    releaseTimer_.setSingleShot(true);
    releaseTimer_.setInterval(0);
    connect(&releaseTimer_, &QTimer::timeout, this, [this] {
        const bool answered = held_ == Held::Answered;
        held_ = Held::No;
        end(answered);
    });
}

KeyboardWait::~KeyboardWait() {
    if (running_)
        UnmaskKeyboardInterrupts(port_);
}

void KeyboardWait::stop() {
    releaseTimer_.stop();
    held_ = Held::No;
    if (!running_)
        return;
    running_ = false;
    halt();
    UnmaskKeyboardInterrupts(port_);
}

void KeyboardWait::hold() {
    if (held_ == Held::No)
        held_ = Held::Running;
}

void KeyboardWait::release() {
    if (held_ == Held::Running)
        held_ = Held::No;
    else if (held_ != Held::No && running_)
        releaseTimer_.start();
}

void KeyboardWait::end(bool answered) {
    if (!running_)
        return;
    if (held_ != Held::No) {
        // The first end counts; the wait's timers stop meanwhile.
        if (held_ == Held::Running) {
            held_ = answered ? Held::Answered : Held::Ended;
            halt();
        }
        return;
    }
    running_ = false;
    halt();
    UnmaskKeyboardInterrupts(port_);
    emit finished(answered);
}

// ----- BurstHandshake -----

BurstHandshake::BurstHandshake(PortAccess& port, QObject* parent)
    : KeyboardWait(port, parent), writer_(port, 4) {
    tickTimer_.setObjectName(QStringLiteral("Timer1"));
    tickTimer_.setSingleShot(true);
    tickTimer_.setTimerType(Qt::PreciseTimer);
    connect(&tickTimer_, &QTimer::timeout, this, &BurstHandshake::tick);
    endTimer_.setSingleShot(true);
    endTimer_.setInterval(0);
    connect(&endTimer_, &QTimer::timeout, this, [this] { end(answered_); });
    connect(&writer_, &KeyboardWriter::done, this, &BurstHandshake::burstDone);
}

void BurstHandshake::start(const QByteArray& burst, int periodMsecs, int letterSpacingMsecs) {
    if (isRunning())
        return;
    burst_ = burst;
    periodNsecs_ = qint64(periodMsecs) * 1000000;
    writer_.setSpacingMsecs(letterSpacingMsecs);
    tickCount_ = 0;
    pendingBursts_ = 0;
    ending_ = false;
    answered_ = false;
    begin();
    clock_.start();
    tickTimer_.start(periodMsecs);
}

void BurstHandshake::answer() {
    if (!isRunning() || ending_)
        return;
    ending_ = true;
    answered_ = true;
    tickTimer_.stop();
    pendingBursts_ = 0; // a burst not begun yet is not sent
    endIfIdle();
}

void BurstHandshake::halt() {
    tickTimer_.stop();
    endTimer_.stop();
    writer_.stop();
    pendingBursts_ = 0;
}

void BurstHandshake::tick() {
    ++tickCount_;
    if (tickCount_ > MaxBursts) {
        // The bursts already promised still go out whole before the time-out is reported.
        ending_ = true;
        if (!writer_.isBusy() && pendingBursts_ == 0)
            end(false);
        return;
    }
    // The next tick keeps to its deadline, whatever this one costs.
    const qint64 remaining = (tickCount_ + 1) * periodNsecs_ - clock_.nsecsElapsed();
    tickTimer_.start(CeilMsecs(remaining));
    if (writer_.isBusy())
        ++pendingBursts_;
    else
        writer_.write(burst_);
}

void BurstHandshake::burstDone() {
    if (pendingBursts_ > 0) {
        --pendingBursts_;
        writer_.write(burst_);
        return;
    }
    if (ending_)
        endIfIdle();
}

void BurstHandshake::endIfIdle() {
    if (writer_.isBusy())
        return; // burstDone() comes back here
    if (answered_)
        endTimer_.start();
    else
        end(false);
}

// ----- TypedAnswerWait -----

TypedAnswerWait::TypedAnswerWait(PortAccess& port, QObject* parent) : KeyboardWait(port, parent) {
    timeout_.setObjectName(QStringLiteral("Timer2"));
    timeout_.setSingleShot(true);
    timeout_.setTimerType(Qt::PreciseTimer);
    connect(&timeout_, &QTimer::timeout, this, [this] { end(false); });
    endTimer_.setSingleShot(true);
    endTimer_.setInterval(0);
    connect(&endTimer_, &QTimer::timeout, this, [this] { end(true); });
}

void TypedAnswerWait::start(int timeoutMsecs) {
    if (isRunning())
        return;
    begin();
    timeout_.start(timeoutMsecs);
}

void TypedAnswerWait::answer() {
    if (!isRunning() || endTimer_.isActive())
        return;
    timeout_.stop();
    endTimer_.start();
}

void TypedAnswerWait::halt() {
    timeout_.stop();
    endTimer_.stop();
}

} // namespace orv
