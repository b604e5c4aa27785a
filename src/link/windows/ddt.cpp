// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ddt.h"

#include "linkwindow.h"

#include "core/config.h"
#include "core/dialogs.h"
#include "link/exchange/serialexchange.h"
#include "link/exchange/shownmessages.h"
#include "link/serial/serialport.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextCursor>
#include <QTextDocument>

namespace orv {

namespace {

// Appends text at the end of a box, whatever its caret, and keeps only the last `kept`
// characters. The oldest text and the new one change in one edit, laid out once.
void AppendKeepingLast(QPlainTextEdit* box, const QString& text, int kept) {
    QTextDocument* document = box->document();
    const int length = document->characterCount() - 1; // without the last block's end
    const int excess = length + static_cast<int>(text.size()) - kept;
    QTextCursor cursor(document);
    cursor.beginEditBlock();
    if (excess > 0) {
        cursor.setPosition(qMin(excess, length), QTextCursor::KeepAnchor);
        cursor.removeSelectedText();
    }
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(excess > length ? text.right(kept) : text);
    cursor.endEditBlock();
}

} // namespace

Ddt::Ddt(Config& config, Dialogs& dialogs, SerialPortFactory& serialPorts, QWidget* parent)
    : QDialog(parent), config_(config), dialogs_(dialogs), port_(serialPorts.createPort()) {
    setObjectName(QStringLiteral("DDT"));
    setWindowTitle(tr("Keyboard_RS232 Test"));
    setModal(true);
    port_->setObjectName(QStringLiteral("MSComm1"));
    port_->setHolder(tr("\"Keyboard_RS232 Test\" window"));
    connect(port_.get(), &SerialPort::received, this, &Ddt::MSComm1_OnComm);
    connect(port_.get(), &SerialPort::lost, this, &Ddt::MSComm1_Lost);
    connect(&reception_, &ReceptionGatherer::gathered, this, &Ddt::showReception);
    buildControls();
}

Ddt::~Ddt() {
    port_->disconnect(this);
    port_->close();
}

void Ddt::buildControls() {
    auto* grid = new QGridLayout(this);
    QLabel* title = HeadingLabel(QStringLiteral("Label1"), tr("Keyboard_RS232 Test"), this);
    grid->addWidget(title, 0, 0, 1, 2);
    buildKeyboardColumn(grid);
    buildSerialColumn(grid);
    grid->setRowStretch(3, 1);
    resize(720, 420);
}

void Ddt::buildKeyboardColumn(QGridLayout* grid) {
    QLabel* caption = makeLabel("Label2", tr("Keyboard"));
    keyboardBox_ = makeBox("txtKB");
    caption->setBuddy(keyboardBox_);
    clearKeyboardButton_ = makeClearButton("Command2", &Ddt::Command2_Click);
    clearKeyboardButton_->setAccessibleDescription(tr("Clear the keyboard box"));
    grid->addWidget(caption, 1, 0);
    grid->addWidget(keyboardBox_, 3, 0);
    grid->addWidget(clearKeyboardButton_, 4, 0, Qt::AlignLeft);
}

void Ddt::buildSerialColumn(QGridLayout* grid) {
    QLabel* caption = makeLabel("Label4", tr("RS232"));
    portLabel_ = makeLabel("LblPort", QString());
    serialBox_ = makeBox("TxtRS232");
    serialBox_->setReadOnly(true);
    // Nothing to undo in a box the user cannot edit; kept, the undo history would keep every
    // reception ever shown.
    serialBox_->setUndoRedoEnabled(false);
    caption->setBuddy(serialBox_);
    clearSerialButton_ = makeClearButton("Command1", &Ddt::Command1_Click);
    clearSerialButton_->setAccessibleDescription(tr("Clear the RS232 box"));
    crLfCheck_ = new QCheckBox(tr("CR+LF Enable"), this);
    crLfCheck_->setObjectName(QStringLiteral("Check1"));
    // Checked or cleared by a click, the keyboard or an accessibility client.
    connect(crLfCheck_, &QCheckBox::toggled, this, &Ddt::Check1_Click);
    grid->addWidget(caption, 1, 1);
    grid->addWidget(portLabel_, 2, 1);
    grid->addWidget(serialBox_, 3, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(clearSerialButton_);
    buttons->addWidget(crLfCheck_);
    buttons->addStretch();
    grid->addLayout(buttons, 4, 1);
}

QLabel* Ddt::makeLabel(const char* name, const QString& caption) {
    auto* l = new QLabel(caption, this);
    l->setObjectName(QString::fromLatin1(name));
    return l;
}

QPlainTextEdit* Ddt::makeBox(const char* name) {
    auto* b = new QPlainTextEdit(this);
    b->setObjectName(QString::fromLatin1(name));
    b->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    b->installEventFilter(this);
    return b;
}

QPushButton* Ddt::makeClearButton(const char* name, void (Ddt::*handler)()) {
    auto* b = new QPushButton(tr("Clear"), this);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false); // Enter belongs to the keyboard box
    connect(b, &QPushButton::clicked, this, handler);
    return b;
}

void Ddt::load() {
    portLabel_->setText(QStringLiteral("COM ") + QString::number(config_.ComPort) +
                        QStringLiteral(" :  ") + SerialSettingsText(config_.LineSettings));
    keyboardBox_->setFocus();
    // The message says which port is missing; the keyboard test goes on without it. No
    // handshaking and no modem lines: the decoder sends whenever it has data.
    if (!OpenSerialLink(*port_, config_, dialogs_))
        return;
    port_->discardInput();
    port_->setReceiveThreshold(1);
    keyboardLines_ = 0;
    serialLines_ = 0;
}

void Ddt::done(int result) {
    reception_.clear();
    if (port_->isOpen())
        port_->close();
    QDialog::done(result);
}

void Ddt::keyPressEvent(QKeyEvent* event) {
    // A decoder may type ESC as part of its data: it must not close the test window.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool Ddt::eventFilter(QObject* watched, QEvent* event) {
    if (watched == keyboardBox_ && event->type() == QEvent::KeyPress)
        txtKB_KeyDown(static_cast<QKeyEvent*>(event)->key());
    else if (watched == serialBox_ && event->type() == QEvent::FocusIn)
        keyboardBox_->setFocus();
    return QDialog::eventFilter(watched, event);
}

// Before the box handles the key: the key after the 41st Enter empties the box first.
void Ddt::txtKB_KeyDown(int key) {
    if (keyboardLines_ > MaxLines) {
        keyboardLines_ = 0;
        keyboardBox_->clear();
    }
    if (key == Qt::Key_Return || key == Qt::Key_Enter)
        ++keyboardLines_;
}

void Ddt::MSComm1_OnComm(const QByteArray& bytes) {
    // The first bytes of a datum start the wait; what arrives meanwhile is shown with them.
    reception_.add(bytes);
}

void Ddt::MSComm1_Lost() {
    reception_.clear();
    dialogs_.message(
        ShownLinkMessage(NotAvailableMessage(port_->commPort(), port_->errorString())));
}

void Ddt::showReception(const QString& datum) {
    if (serialLines_ > MaxLines) {
        serialLines_ = 0;
        serialBox_->clear();
    }
    QString text = datum;
    if (crLfCheck_->isChecked()) {
        text += QLatin1Char('\n'); // CR LF: a line break in the box
        ++serialLines_;
    }
    AppendKeepingLast(serialBox_, text, KeptTextChars);
}

void Ddt::Command1_Click() {
    serialBox_->clear();
    keyboardBox_->setFocus();
}

void Ddt::Command2_Click() {
    keyboardBox_->clear();
    keyboardBox_->setFocus();
}

void Ddt::Check1_Click() {
    keyboardBox_->setFocus();
}

} // namespace orv
