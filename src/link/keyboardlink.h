#pragma once

#include "link/exchange/keyboardsteps.h"

#include <QByteArray>
#include <QObject>
#include <QTimer>

#include <functional>

namespace orv {

class PortAccess;
class ReplyWait;

// Writes one byte to the keyboard controller's data port, then pauses.
void SendKeyboardByte(PortAccess& port, quint8 byte, int pauseMsecs);

// The handshake of the keyboard link: every 150 ms a burst of letters goes out (each followed
// by a short pause) until the decoder answers or 15 bursts went unanswered. The tick after the
// 15th burst, or any tick after the reply flag was set, stops the timer and sets the flag.
class KeyboardHandshake : public QObject {
    Q_OBJECT
public:
    static constexpr int IntervalMsecs = 150;
    static constexpr int MaxBursts = 15;

    // burst: the letters to send, asked at every tick.
    KeyboardHandshake(PortAccess& port, ReplyWait& replyDone, std::function<QByteArray()> burst,
                      int pauseMsecs, QObject* parent = nullptr);

    // TickCount = 0 and the timer (Timer1) enabled.
    void start();
    // The timer disabled; a burst under way stops after its current letter.
    void stop();
    bool isRunning() const { return timer_.isActive(); }

    int tickCount() const { return tickCount_; }
    // True when the handshake ended because no answer came.
    bool timedOut() const { return tickCount_ > MaxBursts; }
    QTimer& timer() { return timer_; }

private:
    void tick();

    PortAccess& port_;
    ReplyWait& replyDone_;
    std::function<QByteArray()> burst_;
    int pauseMsecs_;
    QTimer timer_;
    int tickCount_ = 0;
};

} // namespace orv
