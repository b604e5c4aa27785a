#pragma once

#include "keyboardlink.h"
#include "linkservices.h"
#include "replywait.h"

#include "link/protocol/replies.h"
#include "ui/childwindow.h"

#include <QPushButton>
#include <QTimer>

#include <memory>

class QBoxLayout;
class QLineEdit;
class QVBoxLayout;

namespace orv {

class SerialPort;

// A child window that exchanges requests and replies with the decoder over RS232: its serial
// port (MSComm1), the reply timer (Timer2), the "reply done" flag with the wait on it, and the
// status of the awaited reply.
//
// Closing the window (or New, Open, another window, closing the main window) while an exchange
// waits ends the exchange: the port closes at once, no result message follows, and the window
// itself is deleted only after the exchange has left the stack. A window whose exchange must
// not be cut short refuses to close instead (see queryUnload).
class LinkWindow : public ChildWindow {
    Q_OBJECT
public:
    LinkWindow(Config& config, const WindowInfo& info, const LinkServices& services,
               QWidget* parent = nullptr);
    ~LinkWindow() override;

    bool isExchangeRunning() const { return exchange_; }
    SerialPort& serialPort() const { return *MSComm1_; }

protected:
    // Marks an exchange as running while it is on the stack; a window closed meanwhile is
    // deleted once the exchange has returned.
    class ExchangeScope {
    public:
        explicit ExchangeScope(LinkWindow& w);
        ~ExchangeScope();
        ExchangeScope(const ExchangeScope&) = delete;
        ExchangeScope& operator=(const ExchangeScope&) = delete;

    private:
        LinkWindow& w_;
    };

    // Ends a running exchange (see the class comment) and lets the window close.
    bool queryUnload() override;
    void onUnload() override;

    // The buttons an exchange disables.
    virtual void setButtonsEnabled(bool enabled) = 0;
    // A reply arrived while one was awaited: its bytes (at least the threshold's count).
    // Sets ReplyStatus; the wait ends afterwards.
    virtual void takeSerialReply(const QByteArray& bytes) = 0;
    // Further steps of ending an exchange early.
    virtual void onAbort() {}

    bool aborted() const { return aborted_; }
    void closePort();
    // "Close" / "&Exit": the port closes, then the window.
    void closePortAndWindow();

    // The window's body, set as its widget: a column that starts with the heading (lblTitle).
    QVBoxLayout* makeBody(const QString& heading);
    // A push button in `row`, named and connected to its handler.
    template <typename W>
    QPushButton* addButton(QBoxLayout* row, const char* name, const char* caption,
                           void (W::*handler)()) {
        QPushButton* b = makeButton(row, name, caption);
        connect(b, &QPushButton::clicked, static_cast<W*>(this), handler);
        return b;
    }
    void message(const QString& text, const QString& title);

    // Opens the port with the shared link settings (or reports it not available).
    bool openSerialLink();
    // Makes reception ready for a reply of at least `threshold` bytes, writes `bytes` and waits
    // for the reply, the time-out or the loss of the port. Reception is ready before the bytes
    // go out, so a quick answer is never thrown away with stale input.
    void sendAndAwait(const QByteArray& bytes, int threshold, int timeoutMsecs);
    // The message of a reply's outcome: "Time Out Error!" without a reply, `good` for a good
    // reply or the end of the memory, `bad` otherwise; then the port closes. A port lost during
    // the wait is reported as not available.
    void reportSerialOutcome(const QString& good, const QString& bad, const QString& title);
    bool portLost() const { return portLost_; }

    LinkServices services_;
    std::unique_ptr<SerialPort> MSComm1_;
    QTimer Timer2_;
    ReplyWait ReplyDone;
    qint16 ReplyStatus = NoReply;

private:
    QPushButton* makeButton(QBoxLayout* row, const char* name, const char* caption);
    void abortExchange();
    void MSComm1_OnComm(const QByteArray& bytes);
    void MSComm1_Lost();

    bool awaitingSerial_ = false; // a serial reply is awaited; later bytes are not taken
    bool portLost_ = false;
    bool exchange_ = false;
    bool aborted_ = false;
    bool deleteAfterExchange_ = false;
};

// A link window that also reaches the decoder over the keyboard link: the handshake of letter
// bursts (Timer1) answered by the decoder's keystroke in Text1, and the waits for typed answers.
// The interrupt controller is unmasked once after every such wait, whatever its outcome, and at
// once when the window closes during one.
class KeyboardLinkWindow : public LinkWindow {
    Q_OBJECT
public:
    KeyboardLinkWindow(Config& config, const WindowInfo& info, const LinkServices& services,
                       int keyboardPauseMsecs, QWidget* parent = nullptr);

protected:
    // The letters of one handshake burst.
    virtual QByteArray burstLetters() const = 0;
    // Whether the text of Text1 is the decoder's handshake answer.
    virtual bool isHandshakeAnswer(const QString& text) const = 0;
    // Text1 changed outside a handshake.
    virtual void Text1_Change(const QString&) {}

    void onAbort() override;

    // Text1 cleared and focused, the bursts until the decoder answers; then the interrupts are
    // unmasked. False when the handshake timed out (its message is the caller's) or the exchange
    // was ended.
    bool keyboardHandshake();
    bool handshakeTimedOut() const { return handshake_.timedOut(); }
    // Waits for a typed answer: ReplyDone cleared, Timer2 running for the time-out; then the
    // interrupts are unmasked. The caller prepares the box the answer is typed into.
    void awaitTypedAnswer(int timeoutMsecs);
    void sendKeyboardByte(quint8 byte);

    QLineEdit* Text1_ = nullptr;

private:
    void endKeyboardWait();
    void text1Changed();

    int keyboardPauseMsecs_;
    KeyboardHandshake handshake_;
    bool handshakeWait_ = false;
    bool keyboardWait_ = false; // a keyboard wait runs that has not unmasked yet
};

} // namespace orv
