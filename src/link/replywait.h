#pragma once

class QEventLoop;

namespace orv {

// The "reply done" flag of a link exchange together with the wait on it. wait() runs a local
// event loop until set() is called (by a timer, a received reply, a typed answer or the end of
// the exchange), so the window stays responsive and the process sleeps meanwhile: no polling.
class ReplyWait {
public:
    ReplyWait() = default;
    ReplyWait(const ReplyWait&) = delete;
    ReplyWait& operator=(const ReplyWait&) = delete;

    void clear() { done_ = false; }
    // Sets the flag and ends a running wait.
    void set();
    bool isSet() const { return done_; }
    // Returns once the flag is set (at once when it already is).
    void wait();
    bool isWaiting() const { return loop_ != nullptr; }

private:
    bool done_ = false;
    QEventLoop* loop_ = nullptr;
};

// A short pause of the link timing (4 ms after a keyboard byte, 20 ms after the handshake):
// a local event loop ended by a precise timer. Events keep being handled meanwhile.
void Pause(int msecs);

} // namespace orv
