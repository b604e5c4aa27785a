// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "link/services.h"

#include "link/exchange/exchange.h"
#include "link/exchange/serialexchange.h"
#include "ui/childwindow.h"

#include <QPointer>
#include <QPushButton>

#include <functional>
#include <memory>

class QBoxLayout;
class QLabel;
class QLineEdit;
class QVBoxLayout;

namespace orv {

class SerialPort;

// Opens the serial port of a window that holds it itself (the keyboard and RS232 test) with the
// shared LineSettings on ComPort. A failure is shown as the
// not-available message with the reason as details, then the port closes.
bool OpenSerialLink(SerialPort& port, const Config& config, Dialogs& dialogs);

// The heading of a link window: its title in a larger bold font, centred.
QLabel* HeadingLabel(const QString& objectName, const QString& text, QWidget* parent);

// A child window that runs exchanges with the decoder: its serial port (MSComm1) and the
// exchange under way. The window builds an exchange from its options, starts it, shows its
// progress and, at its end, its message; the exchange itself does the talking.
//
// Closing the window (or New, Open, another window, closing the main window) while an exchange
// runs cancels it: the port closes at once (and the keyboard interrupts are unmasked), no
// result message follows, and the window goes. A window whose exchange must not be cut short
// refuses to close instead and says why (runningExchangeRefusal). While a command's question or
// outcome shows, every link window refuses to close: the command still uses the window and its
// port until its outcome has been handled.
class LinkWindow : public ChildWindow {
    Q_OBJECT
public:
    LinkWindow(Config& config, const WindowInfo& info, const Services& services,
               QWidget* parent = nullptr);
    ~LinkWindow() override;

    // Whether a command holds the window: from its first question to the end of its outcome
    // (the message shown, the port closed, the buttons back). Another command does nothing
    // meanwhile.
    bool isExchangeRunning() const { return held_ > 0 || (exchange_ && exchange_->isRunning()); }
    SerialPort& serialPort() const { return *port_; }

signals:
    // An exchange started by the window has ended (after its message, if any).
    void exchangeEnded();

protected:
    using Done = std::function<void(const ExchangeResult&)>;

    // Holds the window for a command's steps before its exchange (its question, its file
    // checks): isExchangeRunning() is true meanwhile. windowGone() tells whether the window
    // was deleted while a question was shown.
    class CommandScope {
    public:
        explicit CommandScope(LinkWindow& w);
        ~CommandScope();
        CommandScope(const CommandScope&) = delete;
        CommandScope& operator=(const CommandScope&) = delete;
        bool windowGone() const { return !w_; }

    private:
        QPointer<LinkWindow> w_;
    };

    // Refuses while a command holds the window or an exchange that must not be cut short runs;
    // otherwise asks mayUnload(), then cancels a running exchange (see the class comment).
    bool queryUnload() final;
    void onUnload() override;
    // The window's own question before it closes (unsaved text); false keeps it open.
    virtual bool mayUnload() { return true; }
    // Said when the window is asked to close while its exchange runs, if that exchange must
    // not be cut short; empty: closing cancels the exchange.
    virtual QString runningExchangeRefusal() const { return {}; }

    // The buttons an exchange disables.
    virtual void setButtonsEnabled(bool enabled) = 0;
    // After an exchange that ran (not one that could not open its port): the buttons enabled
    // again and what else the window shows only during an exchange hidden.
    virtual void endOfExchange() { setButtonsEnabled(true); }

    // Starts the exchange, which the window then owns. While it runs the buttons are disabled.
    // At its end `done` runs first (to take what it brought), then its message shows, then the
    // port closes, then endOfExchange(). An exchange that ends inside start() (its port not
    // available) shows its message and leaves the buttons alone. Returns whether it is running.
    bool startExchange(Exchange* exchange, Done done = {});
    Exchange* exchange() const { return exchange_; }

    // The serial port with the shared link settings.
    SerialTarget serialTarget() const;

    void closePort();
    // "Close" / "&Exit": the port closes, then the window.
    void closePortAndWindow();

    // The window's body, set as its widget: a column that starts with the heading (lblTitle).
    QVBoxLayout* makeBody(const QString& heading);
    // A push button in `row`, named and connected to its handler.
    template <typename W>
    QPushButton* addButton(QBoxLayout* row, const char* name, const QString& caption,
                           void (W::*handler)()) {
        QPushButton* b = makeButton(row, name, caption);
        connect(b, &QPushButton::clicked, static_cast<W*>(this), handler);
        return b;
    }
    void message(const QString& text, const QString& title);
    // The OK/Cancel question before a command's exchange, asked while the command holds the
    // window: true when the user chose OK and the window is still there, not being unloaded.
    bool confirm(const CommandScope& scope, const QString& text, const QString& title);

    Services services_;
    std::unique_ptr<SerialPort> port_;

private:
    QPushButton* makeButton(QBoxLayout* row, const char* name, const QString& caption);

    QPointer<Exchange> exchange_;
    int held_ = 0; // commands holding the window (CommandScope, an outcome being shown)
};

// A link window that also reaches the decoder over the keyboard link: the decoder types its
// handshake answer (and the answers of a download or an upload) into Text1, whose text the
// window hands to the running exchange.
class KeyboardLinkWindow : public LinkWindow {
    Q_OBJECT
public:
    KeyboardLinkWindow(Config& config, const WindowInfo& info, const Services& services,
                       QWidget* parent = nullptr);

protected:
    // Starts a keyboard-link exchange: Text1 emptied and focused for the handshake answer.
    bool startKeyboardExchange(KeyboardExchange* exchange, Done done = {});
    // The running keyboard-link exchange, if any.
    KeyboardExchange* keyboardExchange() const;

    // Whether Text1's text goes to the exchange (a memory read's text is typed elsewhere).
    void setAnswerBoxForwarded(bool forwarded) { forwarded_ = forwarded; }

    QLineEdit* answerBox_ = nullptr; // Text1

private:
    void answerBoxChanged();

    bool forwarded_ = true;
};

} // namespace orv
