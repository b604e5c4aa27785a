#include "linkwindow.h"

#include "linkoptions.h"

#include "core/config.h"
#include "core/dialogs.h"
#include "link/serial/serialport.h"

#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace orv {

LinkWindow::ExchangeScope::ExchangeScope(LinkWindow& w) : w_(w) {
    w_.exchange_ = true;
    w_.aborted_ = false;
}

LinkWindow::ExchangeScope::~ExchangeScope() {
    w_.exchange_ = false;
    if (w_.deleteAfterExchange_)
        w_.deleteLater();
}

LinkWindow::LinkWindow(Config& config, const WindowInfo& info, const LinkServices& services,
                       QWidget* parent)
    : ChildWindow(config, info, parent), services_(services),
      MSComm1_(services.serialPorts.createPort()) {
    MSComm1_->setObjectName(QStringLiteral("MSComm1"));
    connect(MSComm1_.get(), &SerialPort::received, this, &LinkWindow::MSComm1_OnComm);
    connect(MSComm1_.get(), &SerialPort::lost, this, &LinkWindow::MSComm1_Lost);
    Timer2_.setObjectName(QStringLiteral("Timer2"));
    Timer2_.setTimerType(Qt::PreciseTimer);
    Timer2_.setSingleShot(true);
    connect(&Timer2_, &QTimer::timeout, this, [this] { ReplyDone.set(); });
}

LinkWindow::~LinkWindow() {
    MSComm1_->disconnect(this);
    MSComm1_->close();
}

bool LinkWindow::queryUnload() {
    if (exchange_) {
        abortExchange();
        // The exchange is still on the stack: the window goes once it has returned.
        setAttribute(Qt::WA_DeleteOnClose, false);
        deleteAfterExchange_ = true;
    }
    return true;
}

void LinkWindow::onUnload() {
    closePort();
}

void LinkWindow::closePort() {
    if (MSComm1_->isOpen())
        MSComm1_->close();
}

void LinkWindow::closePortAndWindow() {
    closePort();
    close();
}

QVBoxLayout* LinkWindow::makeBody(const QString& heading) {
    auto* body = new QWidget;
    body->setObjectName(objectName() + QStringLiteral("Body"));
    auto* column = new QVBoxLayout(body);
    auto* title = new QLabel(heading, body);
    title->setObjectName(QStringLiteral("lblTitle"));
    QFont font = title->font();
    font.setBold(true);
    font.setPointSizeF(font.pointSizeF() * 1.4);
    title->setFont(font);
    title->setAlignment(Qt::AlignCenter);
    column->addWidget(title);
    setWidget(body);
    return column;
}

QPushButton* LinkWindow::makeButton(QBoxLayout* row, const char* name, const char* caption) {
    auto* b = new QPushButton(QString::fromLatin1(caption), widget());
    b->setObjectName(QString::fromLatin1(name));
    row->addWidget(b);
    return b;
}

void LinkWindow::message(const QString& text, const QString& title) {
    services_.dialogs.message({text, title});
}

void LinkWindow::abortExchange() {
    aborted_ = true;
    Timer2_.stop();
    awaitingSerial_ = false;
    onAbort();
    closePort();
    ReplyDone.set();
}

bool LinkWindow::openSerialLink() {
    return OpenSerialLink(*MSComm1_, config(), services_.dialogs);
}

void LinkWindow::sendAndAwait(const QByteArray& bytes, int threshold, int timeoutMsecs) {
    MSComm1_->discardInput();
    MSComm1_->setReceiveThreshold(threshold);
    ReplyStatus = NoReply;
    portLost_ = false;
    ReplyDone.clear();
    awaitingSerial_ = true;
    MSComm1_->write(bytes);
    Timer2_.start(timeoutMsecs);
    ReplyDone.wait();
    Timer2_.stop();
    awaitingSerial_ = false;
}

void LinkWindow::reportSerialOutcome(const QString& good, const QString& bad,
                                     const QString& title) {
    if (portLost_)
        services_.dialogs.message(
            NotAvailableMessage(MSComm1_->commPort(), MSComm1_->errorString()));
    else if (ReplyStatus == NoReply)
        message(QStringLiteral("Time Out Error!"), title);
    else if (ReplyStatus == GoodReply || ReplyStatus == EndOfMemory)
        message(good, title);
    else
        message(bad, title);
    MSComm1_->close();
}

void LinkWindow::MSComm1_OnComm(const QByteArray& bytes) {
    // Only the first reply of a wait counts; a late one after a time-out changes nothing.
    if (!awaitingSerial_)
        return;
    awaitingSerial_ = false;
    takeSerialReply(bytes);
    ReplyDone.set();
}

void LinkWindow::MSComm1_Lost() {
    if (!awaitingSerial_)
        return;
    awaitingSerial_ = false;
    portLost_ = true;
    ReplyDone.set();
}

// ----- Keyboard link -----

KeyboardLinkWindow::KeyboardLinkWindow(Config& config, const WindowInfo& info,
                                       const LinkServices& services, int keyboardPauseMsecs,
                                       QWidget* parent)
    : LinkWindow(config, info, services, parent), keyboardPauseMsecs_(keyboardPauseMsecs),
      handshake_(
          services.portAccess, ReplyDone, [this] { return burstLetters(); }, keyboardPauseMsecs) {
    // The decoder types its keyboard-link answers into this box; the window lays it out.
    Text1_ = new QLineEdit(this);
    Text1_->setObjectName(QStringLiteral("Text1"));
    Text1_->setAccessibleName(tr("Decoder answer"));
    Text1_->setFixedWidth(Text1_->fontMetrics().horizontalAdvance(QLatin1Char('W')) * 4);
    connect(Text1_, &QLineEdit::textChanged, this, &KeyboardLinkWindow::text1Changed);
}

void KeyboardLinkWindow::onAbort() {
    handshake_.stop();
    handshakeWait_ = false;
    endKeyboardWait();
}

bool KeyboardLinkWindow::keyboardHandshake() {
    Text1_->setFocus();
    Text1_->clear();
    handshake_.start();
    setButtonsEnabled(false);
    ReplyDone.clear();
    keyboardWait_ = true;
    handshakeWait_ = true;
    ReplyDone.wait();
    handshakeWait_ = false;
    endKeyboardWait();
    handshake_.stop();
    return !aborted() && !handshake_.timedOut();
}

void KeyboardLinkWindow::awaitTypedAnswer(int timeoutMsecs) {
    ReplyDone.clear();
    keyboardWait_ = true;
    Timer2_.start(timeoutMsecs);
    ReplyDone.wait();
    Timer2_.stop();
    endKeyboardWait();
}

void KeyboardLinkWindow::endKeyboardWait() {
    if (!keyboardWait_)
        return;
    keyboardWait_ = false;
    UnmaskKeyboardInterrupts(services_.portAccess);
}

void KeyboardLinkWindow::sendKeyboardByte(quint8 byte) {
    if (!aborted())
        SendKeyboardByte(services_.portAccess, byte, keyboardPauseMsecs_);
}

void KeyboardLinkWindow::text1Changed() {
    const QString text = Text1_->text();
    if (handshakeWait_) {
        if (isHandshakeAnswer(text))
            ReplyDone.set();
        return;
    }
    Text1_Change(text);
}

} // namespace orv
