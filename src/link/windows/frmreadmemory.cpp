// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "frmreadmemory.h"

#include "linkoptions.h"

#include "core/codepage.h"
#include "core/config.h"
#include "core/dialogs.h"
#include "core/wholefile.h"
#include "link/exchange/keyboardexchanges.h"
#include "link/exchange/linkmessages.h"
#include "link/exchange/memoryexchanges.h"
#include "link/serial/serialport.h"
#include "ui/savedocument.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QTextCursor>
#include <QVBoxLayout>

namespace orv {

namespace {

// The texts in the user's language, read when they are shown.
QString FileTitle() {
    return FrmReadMemory::tr("Memory Data Read");
}
DocumentKind MemoryDocument() {
    return {FrmReadMemory::tr("Memory Data File(*.txt)|*.txt"), QStringLiteral("txt"),
            FrmReadMemory::tr("memory data", "what could not be saved"), FileTitle()};
}

constexpr char16_t EndOfText = 3;

// The file form of the text: every line ends with CR LF, and one more CR LF follows.
QByteArray MemoryFileBytes(const QString& text) {
    QString lines = text;
    lines.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return BytesOfTextOrQuestionMarks(lines + QStringLiteral("\r\n"));
}

} // namespace

FrmReadMemory::FrmReadMemory(Config& config, const WindowInfo& info, const Services& services,
                             QWidget* parent)
    : KeyboardLinkWindow(config, info, services, parent) {
    buildControls();
}

void FrmReadMemory::buildControls() {
    QVBoxLayout* column = makeBody(tr("Read Decoder Memory"));
    QWidget* body = widget();

    // The memory text lies over the option frames: "&Option" hides it so that they show.
    auto* stack = new QGridLayout;
    LinkOptionsLayout layout;
    layout.modeCaptions = {tr("By Keyboard"), tr("By RS232")};
    layout.ports = 4;
    options_ = new LinkOptions(config(), services_.serialPorts, layout, body);
    stack->addWidget(options_, 0, 0, Qt::AlignTop);
    memoryBox_ = new QPlainTextEdit(body);
    memoryBox_->setObjectName(QStringLiteral("TxtMemory"));
    memoryBox_->setAccessibleName(tr("Memory data"));
    memoryBox_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memoryBox_->setLineWrapMode(QPlainTextEdit::NoWrap);
    memoryBox_->installEventFilter(this);
    connect(memoryBox_, &QPlainTextEdit::textChanged, this, &FrmReadMemory::TxtMemory_Change);
    stack->addWidget(memoryBox_, 0, 0);
    column->addLayout(stack, 1);

    auto* buttons = new QHBoxLayout;
    readButton_ = addButton(buttons, "CmdRead", tr("&Read Memory"), &FrmReadMemory::CmdRead_Click);
    clearButton_ =
        addButton(buttons, "cmdClear", tr("&Clear Memory"), &FrmReadMemory::cmdClear_Click);
    optionButton_ =
        addButton(buttons, "CmdDisplay", tr("&Option"), &FrmReadMemory::CmdDisplay_Click);
    saveButton_ = addButton(buttons, "cmdSave", tr("&Save"), &FrmReadMemory::cmdSave_Click);
    saveAsButton_ =
        addButton(buttons, "cmdSaveAs", tr("Save &As"), &FrmReadMemory::cmdSaveAs_Click);
    exitButton_ = addButton(buttons, "CmdClose", tr("&Exit"), &FrmReadMemory::CmdClose_Click);
    buttons->addWidget(answerBox_);
    column->addLayout(buttons);
    showMemoryText(false);
}

void FrmReadMemory::onLoad() {
    options_->showValues();
    fileName_.clear();
    savedText_.clear();
}

void FrmReadMemory::showMemoryText(bool show) {
    memoryBox_->setVisible(show);
    options_->setVisible(!show);
}

void FrmReadMemory::setButtonsEnabled(bool enabled) {
    for (QPushButton* b :
         {optionButton_, exitButton_, readButton_, saveButton_, saveAsButton_, clearButton_})
        b->setEnabled(enabled);
}

void FrmReadMemory::appendMemoryText(const QByteArray& bytes) {
    // Memory bytes are characters of the program's single-byte character set (ISO 8859-1),
    // so bytes above 127 read as the same characters as in the configuration's boxes.
    if (bytes.isEmpty())
        return;
    // At the end of the text, wherever the user's caret is.
    QTextCursor end(memoryBox_->document());
    end.movePosition(QTextCursor::End);
    end.insertText(TextOfBytes(bytes));
}

// ----- Read and clear -----

void FrmReadMemory::CmdRead_Click() {
    if (isExchangeRunning())
        return;
    CommandScope scope(*this);
    if (!confirm(scope, tr("This will read decoder memory data!"), LinkTitle::ReadMemory))
        return;
    if (config().LinkMode != 1) {
        startKeyboard(new KeyboardReadMemoryExchange(services_.portAccess, services_.timing));
        return;
    }
    auto* read = new ReadMemoryExchange(serialTarget(), services_.timing);
    connect(read, &ReadMemoryExchange::textReceived, this, &FrmReadMemory::appendMemoryText);
    if (startExchange(read)) {
        memoryBox_->clear();
        showMemoryText(true);
    }
}

void FrmReadMemory::cmdClear_Click() {
    if (isExchangeRunning())
        return;
    CommandScope scope(*this);
    if (!confirm(scope, tr("This will Clear decoder memory data!"), LinkTitle::ClearMemory))
        return;
    if (config().LinkMode == 1) {
        startExchange(new ClearMemoryExchange(serialTarget(), services_.timing));
        return;
    }
    startKeyboard(new KeyboardClearMemoryExchange(services_.portAccess, services_.timing));
}

void FrmReadMemory::startKeyboard(KeyboardExchange* exchange) {
    connect(exchange, &KeyboardExchange::answerAwaited, this, &FrmReadMemory::startMemoryTyping);
    startKeyboardExchange(exchange, [this](const ExchangeResult&) {
        memoryTyping_ = false;
        setAnswerBoxForwarded(true);
    });
}

void FrmReadMemory::startMemoryTyping() {
    // The decoder types the memory text into the box; code 3, 3000 characters or the time-out
    // end it. No message follows: what was typed stays in the box.
    setAnswerBoxForwarded(false);
    memoryBox_->clear();
    showMemoryText(true);
    memoryBox_->setFocus();
    memoryTyping_ = true;
}

// Code 3 ends the keyboard read only while it waits: at other times (an RS232 read, no
// exchange at all) Ctrl+C in the box is only the copy key.
void FrmReadMemory::TxtMemory_Change() {
    if (!memoryTyping_)
        return;
    if (KeyboardExchange* kb = keyboardExchange())
        kb->typed(memoryBox_->toPlainText());
}

bool FrmReadMemory::eventFilter(QObject* watched, QEvent* event) {
    if (watched == memoryBox_ && event->type() == QEvent::KeyPress && memoryTyping_) {
        // The box does not take control characters; the key itself ends the read.
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool ctrlC = key->key() == Qt::Key_C && (key->modifiers() & Qt::ControlModifier) != 0;
        if (key->text() == QString(QChar(EndOfText)) || ctrlC) {
            if (KeyboardExchange* kb = keyboardExchange())
                kb->endTyping();
        }
    }
    return KeyboardLinkWindow::eventFilter(watched, event);
}

// ----- Text, files and closing -----

void FrmReadMemory::CmdDisplay_Click() {
    showMemoryText(false);
}

void FrmReadMemory::cmdSave_Click() {
    save();
}

void FrmReadMemory::cmdSaveAs_Click() {
    saveAs();
}

SaveOutcome FrmReadMemory::save() {
    showMemoryText(true);
    if (fileName_.isEmpty())
        return saveAs();
    return writeMemoryFile(fileName_) ? SaveOutcome::Saved : SaveOutcome::Failed;
}

SaveOutcome FrmReadMemory::saveAs() {
    showMemoryText(true);
    const QString text = memoryBox_->toPlainText();
    QString path;
    const SaveOutcome outcome = SaveDocument(
        services_.dialogs, MemoryDocument(), SaveMode::SaveAs, fileName_,
        [&text](QString*) { return MemoryFileBytes(text); }, &path);
    if (outcome != SaveOutcome::Saved)
        return outcome; // after a failure the text still counts as unsaved
    // The text takes the new name only once it has been written there.
    savedText_ = text;
    fileName_ = path;
    return SaveOutcome::Saved;
}

bool FrmReadMemory::writeMemoryFile(const QString& path) {
    const QString text = memoryBox_->toPlainText();
    // A failure leaves the text counted as unsaved, so closing asks about it again.
    if (SaveDocument(services_.dialogs, MemoryDocument(), SaveMode::Save, path,
                     [&text](QString*) { return MemoryFileBytes(text); }) != SaveOutcome::Saved)
        return false;
    savedText_ = text;
    return true;
}

void FrmReadMemory::CmdClose_Click() {
    closePortAndWindow();
}

bool FrmReadMemory::mayUnload() {
    if (memoryBox_->toPlainText() != savedText_) {
        // A keyboard exchange stays where it is while the question is open: the text asked
        // about is not replaced by a read that the decoder answers meanwhile, and no outcome
        // shows. It goes on if the window stays, and is cancelled if it closes.
        const QPointer<KeyboardExchange> held = keyboardExchange();
        if (held)
            held->setHeld(true);
        const auto release = qScopeGuard([held] {
            if (held)
                held->setHeld(false);
        });
        const auto answer = services_.dialogs.message(
            {tr("Memory Data had been changed,do you want to save your file?"), FileTitle(),
             Dialogs::Buttons::YesNoCancel});
        if (answer == Dialogs::Answer::Cancel)
            return false;
        // A save that failed keeps the window open, so the text is not lost.
        if (answer == Dialogs::Answer::Yes && save() == SaveOutcome::Failed)
            return false;
    }
    return true;
}

} // namespace orv
