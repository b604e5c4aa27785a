// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "linkwindow.h"

#include "core/config.h"
#include "core/dialogs.h"
#include "link/exchange/shownmessages.h"
#include "link/serial/serialport.h"
#include "ui/programtitle.h"

#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace orv {

bool OpenSerialLink(SerialPort& port, const Config& config, Dialogs& dialogs) {
    QString why;
    if (TryOpenSerialPort(port, config.LineSettings, config.ComPort, &why))
        return true;
    // The message shows before the port closes.
    dialogs.message(ShownLinkMessage(NotAvailableMessage(config.ComPort, why)));
    port.close();
    return false;
}

QLabel* HeadingLabel(const QString& objectName, const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(objectName);
    QFont font = label->font();
    font.setBold(true);
    font.setPointSizeF(font.pointSizeF() * 1.4);
    label->setFont(font);
    label->setAlignment(Qt::AlignCenter);
    return label;
}

LinkWindow::LinkWindow(Config& config, const WindowInfo& info, const Services& services,
                       QWidget* parent)
    : ChildWindow(config, info, parent), services_(services),
      port_(services.serialPorts.createPort()) {
    port_->setObjectName(QStringLiteral("MSComm1"));
    port_->setHolder(tr("\"%1\" window").arg(RegistryText(info.caption)));
}

LinkWindow::~LinkWindow() {
    // The exchange uses the port: it goes first.
    delete exchange_.data();
    port_->close();
}

LinkWindow::CommandScope::CommandScope(LinkWindow& w) : w_(&w) {
    ++w.held_;
}

LinkWindow::CommandScope::~CommandScope() {
    if (w_)
        --w_->held_;
}

bool LinkWindow::queryUnload() {
    // A command's question or outcome is showing: the window and its port are still in use
    // further up the call stack, and a message's own event loop would delete them from under it.
    if (held_ > 0)
        return false;
    if (exchange_ && exchange_->isRunning()) {
        const QString refusal = runningExchangeRefusal();
        if (!refusal.isEmpty()) {
            message(refusal, ProgramTitle());
            return false;
        }
    }
    if (!mayUnload())
        return false;
    if (exchange_)
        exchange_->cancel();
    return true;
}

void LinkWindow::onUnload() {
    closePort();
}

SerialTarget LinkWindow::serialTarget() const {
    return SerialTarget{*port_, config().LineSettings, config().ComPort};
}

bool LinkWindow::startExchange(Exchange* exchange, Done done) {
    Q_ASSERT(!exchange_ || !exchange_->isRunning());
    if (exchange_)
        exchange_->deleteLater(); // the last one, ended
    exchange->setParent(this);
    exchange_ = exchange;
    // Whether the buttons were disabled for it: not when it ends inside start().
    auto ran = std::make_shared<bool>(false);
    connect(exchange, &Exchange::finished, this,
            [this, ran, done = std::move(done)](const ExchangeResult& result) {
                {
                    // The outcome still belongs to the command: no other starts meanwhile.
                    CommandScope scope(*this);
                    if (done)
                        done(result);
                    if (!result.message.text.isEmpty())
                        services_.dialogs.message(ShownLinkMessage(result.message));
                    if (scope.windowGone())
                        return;
                    closePort();
                    if (*ran)
                        endOfExchange();
                }
                emit exchangeEnded();
            });
    exchange->start();
    if (!exchange->isRunning())
        return false;
    *ran = true;
    setButtonsEnabled(false);
    return true;
}

void LinkWindow::closePort() {
    if (port_->isOpen())
        port_->close();
}

void LinkWindow::closePortAndWindow() {
    closePort();
    close();
}

QVBoxLayout* LinkWindow::makeBody(const QString& heading) {
    auto* body = new QWidget;
    body->setObjectName(objectName() + QStringLiteral("Body"));
    auto* column = new QVBoxLayout(body);
    column->addWidget(HeadingLabel(QStringLiteral("lblTitle"), heading, body));
    setWidget(body);
    return column;
}

QPushButton* LinkWindow::makeButton(QBoxLayout* row, const char* name, const QString& caption) {
    auto* b = new QPushButton(caption, widget());
    b->setObjectName(QString::fromLatin1(name));
    row->addWidget(b);
    return b;
}

void LinkWindow::message(const QString& text, const QString& title) {
    services_.dialogs.message(ShownLinkMessage({text, title}));
}

bool LinkWindow::confirm(const CommandScope& scope, const QString& text, const QString& title) {
    const auto answer =
        services_.dialogs.message(ShownLinkMessage({text, title, Dialogs::Buttons::OkCancel}));
    // A window deleted during the question is not touched again.
    return !scope.windowGone() && answer == Dialogs::Answer::Ok && !isUnloaded();
}

// ----- Keyboard link -----

KeyboardLinkWindow::KeyboardLinkWindow(Config& config, const WindowInfo& info,
                                       const Services& services, QWidget* parent)
    : LinkWindow(config, info, services, parent) {
    // The decoder types its keyboard-link answers into this box; the window lays it out.
    answerBox_ = new QLineEdit(this);
    answerBox_->setObjectName(QStringLiteral("Text1"));
    answerBox_->setAccessibleName(tr("Decoder answer"));
    answerBox_->setFixedWidth(answerBox_->fontMetrics().horizontalAdvance(QLatin1Char('W')) * 4);
    connect(answerBox_, &QLineEdit::textChanged, this, &KeyboardLinkWindow::answerBoxChanged);
}

bool KeyboardLinkWindow::startKeyboardExchange(KeyboardExchange* exchange, Done done) {
    answerBox_->setFocus();
    answerBox_->clear();
    forwarded_ = true;
    return startExchange(exchange, std::move(done));
}

KeyboardExchange* KeyboardLinkWindow::keyboardExchange() const {
    auto* kb = qobject_cast<KeyboardExchange*>(exchange());
    return kb && kb->isRunning() ? kb : nullptr;
}

void KeyboardLinkWindow::answerBoxChanged() {
    KeyboardExchange* kb = keyboardExchange();
    if (kb && forwarded_)
        kb->typed(answerBox_->text());
}

} // namespace orv
