#include "keyboardlink.h"

#include "replywait.h"

#include "link/portaccess/portaccess.h"

namespace orv {

void SendKeyboardByte(PortAccess& port, quint8 byte, int pauseMsecs) {
    // A failed write is not reported: it shows as a decoder that does not answer.
    port.SetPortVal(KeyboardDataPort, byte, 1);
    Pause(pauseMsecs);
}

KeyboardHandshake::KeyboardHandshake(PortAccess& port, ReplyWait& replyDone,
                                     std::function<QByteArray()> burst, int pauseMsecs,
                                     QObject* parent)
    : QObject(parent), port_(port), replyDone_(replyDone), burst_(std::move(burst)),
      pauseMsecs_(pauseMsecs) {
    timer_.setObjectName(QStringLiteral("Timer1"));
    timer_.setTimerType(Qt::PreciseTimer);
    timer_.setInterval(IntervalMsecs);
    connect(&timer_, &QTimer::timeout, this, &KeyboardHandshake::tick);
}

void KeyboardHandshake::start() {
    tickCount_ = 0;
    timer_.start();
}

void KeyboardHandshake::stop() {
    timer_.stop();
}

void KeyboardHandshake::tick() {
    ++tickCount_;
    if (tickCount_ > MaxBursts || replyDone_.isSet()) {
        timer_.stop();
        replyDone_.set();
        return;
    }
    for (char letter : burst_()) {
        // The answer may come, or the exchange end, during the pauses of a burst.
        if (!timer_.isActive())
            return;
        SendKeyboardByte(port_, static_cast<quint8>(letter), pauseMsecs_);
    }
}

} // namespace orv
