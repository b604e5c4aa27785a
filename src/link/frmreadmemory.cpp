#include "frmreadmemory.h"

#include "linkoptions.h"

#include "core/codepage.h"
#include "core/config.h"
#include "core/dialogs.h"
#include "core/wholefile.h"
#include "link/serial/serialport.h"
#include "ui/savedocument.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextCursor>
#include <QVBoxLayout>

namespace orv {

namespace {

const QString ReadTitle = QStringLiteral("Read Memory Message");
const QString ClearTitle = QStringLiteral("Clear Memory Message");
const QString KeyboardReadTitle = QStringLiteral("Read Decoder Memory Message");
const QString KeyboardClearTitle = QStringLiteral("Clear Decoder Memory Message");
const QString FileTitle = QStringLiteral("Memory Data Read");
const QString MemoryFilter = QStringLiteral("Memory Data File(*.txt)|*.txt");

constexpr int KeyboardPauseMsecs = 2; // after every letter of a burst
constexpr int SerialTimeoutMsecs = 3000;
constexpr int KeyboardReadMsecs = 5000;
constexpr int KeyboardReadLimit = 3000; // characters typed that end a keyboard read
constexpr char16_t EndOfText = 3;

const QByteArray ReadBurst = "MMMMM";
const QByteArray ClearBurst = "NNNNN";

// The file form of the text: every line ends with CR LF, and one more CR LF follows.
QByteArray MemoryFileBytes(const QString& text) {
    QString lines = text;
    lines.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return BytesOfTextOrQuestionMarks(lines + QStringLiteral("\r\n"));
}

} // namespace

FrmReadMemory::FrmReadMemory(Config& config, const WindowInfo& info, const LinkServices& services,
                             QWidget* parent)
    : KeyboardLinkWindow(config, info, services, KeyboardPauseMsecs, parent) {
    buildControls();
}

void FrmReadMemory::buildControls() {
    QVBoxLayout* column = makeBody(QStringLiteral("Read Decoder Memory"));
    QWidget* body = widget();

    // The memory text lies over the option frames: "&Option" hides it so that they show.
    auto* stack = new QGridLayout;
    LinkOptionsLayout layout;
    layout.modeCaptions = {QStringLiteral("By Keyboard"), QStringLiteral("By RS232")};
    layout.ports = 4;
    options_ = new LinkOptions(config(), services_.serialPorts, layout, body);
    stack->addWidget(options_, 0, 0, Qt::AlignTop);
    TxtMemory_ = new QPlainTextEdit(body);
    TxtMemory_->setObjectName(QStringLiteral("TxtMemory"));
    TxtMemory_->setAccessibleName(tr("Memory data"));
    TxtMemory_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    TxtMemory_->setLineWrapMode(QPlainTextEdit::NoWrap);
    TxtMemory_->installEventFilter(this);
    connect(TxtMemory_, &QPlainTextEdit::textChanged, this, &FrmReadMemory::TxtMemory_Change);
    stack->addWidget(TxtMemory_, 0, 0);
    column->addLayout(stack, 1);

    auto* buttons = new QHBoxLayout;
    CmdRead_ = addButton(buttons, "CmdRead", "&Read Memory", &FrmReadMemory::CmdRead_Click);
    cmdClear_ = addButton(buttons, "cmdClear", "&Clear Memory", &FrmReadMemory::cmdClear_Click);
    CmdDisplay_ = addButton(buttons, "CmdDisplay", "&Option", &FrmReadMemory::CmdDisplay_Click);
    cmdSave_ = addButton(buttons, "cmdSave", "&Save", &FrmReadMemory::cmdSave_Click);
    cmdSaveAs_ = addButton(buttons, "cmdSaveAs", "Save &As", &FrmReadMemory::cmdSaveAs_Click);
    CmdClose_ = addButton(buttons, "CmdClose", "&Exit", &FrmReadMemory::CmdClose_Click);
    buttons->addWidget(Text1_);
    column->addLayout(buttons);
    showMemoryText(false);
}

void FrmReadMemory::onLoad() {
    options_->showValues();
    MemFileName.clear();
    MemSavedText.clear();
}

void FrmReadMemory::showMemoryText(bool show) {
    TxtMemory_->setVisible(show);
    options_->setVisible(!show);
}

void FrmReadMemory::setButtonsEnabled(bool enabled) {
    for (QPushButton* b : {CmdDisplay_, CmdClose_, CmdRead_, cmdSave_, cmdSaveAs_, cmdClear_})
        b->setEnabled(enabled);
}

QByteArray FrmReadMemory::burstLetters() const {
    return config().KbMemCommand.toLatin1();
}

bool FrmReadMemory::isHandshakeAnswer(const QString& text) const {
    return text.endsWith(QLatin1Char('S'), Qt::CaseInsensitive);
}

void FrmReadMemory::appendMemoryText(const QByteArray& bytes) {
    // Memory bytes are characters of the program's single-byte character set (ISO 8859-1),
    // so bytes above 127 read as the same characters as in the configuration's boxes.
    if (bytes.isEmpty())
        return;
    // At the end of the text, wherever the user's caret is.
    QTextCursor end(TxtMemory_->document());
    end.movePosition(QTextCursor::End);
    end.insertText(TextOfBytes(bytes));
}

// ----- Read -----

void FrmReadMemory::CmdRead_Click() {
    if (isExchangeRunning())
        return;
    ExchangeScope scope(*this);
    const auto answer =
        services_.dialogs.message({QStringLiteral("This will read decoder memory data!"), ReadTitle,
                                   Dialogs::Buttons::OkCancel});
    if (answer != Dialogs::Answer::Ok || aborted())
        return;
    reader_.reset();
    if (config().LinkMode == 1)
        readSerial();
    else
        readKeyboard();
}

void FrmReadMemory::readSerial() {
    if (!openSerialLink())
        return;
    config().ExpectDataReply = true;
    setButtonsEnabled(false);
    TxtMemory_->clear();
    showMemoryText(true);
    // Each block is awaited with the answer to the one before it (the request for the first):
    // reception is ready before the answer goes out, so the next block is never discarded.
    QByteArray request = ReadMemoryFrame();
    for (int block = 1; block <= MaxMemoryBlocks; ++block) {
        sendAndAwait(request, MemoryBlockSize, SerialTimeoutMsecs);
        if (aborted())
            return;
        if (portLost())
            break;
        request = QByteArray(1, MemoryAnswer(ReplyStatus));
        MSComm1_->discardOutput();
        if (ReplyStatus != GoodReply || block == MaxMemoryBlocks) {
            MSComm1_->write(request);
            break;
        }
    }
    reportSerialOutcome(QStringLiteral("   Read Decoder Memory OK!\r\r"),
                        QStringLiteral("Read Decoder Memory Failed!"), ReadTitle);
    setButtonsEnabled(true);
}

void FrmReadMemory::readKeyboard() {
    config().KbMemCommand = QString::fromLatin1(ReadBurst);
    if (!keyboardHandshake()) {
        if (!aborted()) {
            message(QStringLiteral("Times Out Error"), KeyboardReadTitle);
            setButtonsEnabled(true);
        }
        return;
    }
    TxtMemory_->clear();
    showMemoryText(true);
    TxtMemory_->setFocus();
    // The decoder types the memory text; code 3, 3000 characters or 5 s end it. No message
    // follows: what was typed stays in the box.
    typedMemoryWait_ = true;
    awaitTypedAnswer(KeyboardReadMsecs);
    typedMemoryWait_ = false;
    if (!aborted())
        setButtonsEnabled(true);
}

void FrmReadMemory::takeSerialReply(const QByteArray& bytes) {
    if (!config().ExpectDataReply) {
        ReplyStatus = ClearMemoryStatus(bytes);
        return;
    }
    QByteArray text;
    ReplyStatus = reader_.takeBlock(bytes, &text);
    appendMemoryText(text);
}

// Code 3 ends the keyboard read only while it waits: at other times (an RS232 read, no
// exchange at all) Ctrl+C in the box is only the copy key.
void FrmReadMemory::TxtMemory_Change() {
    if (!typedMemoryWait_)
        return;
    const QString text = TxtMemory_->toPlainText();
    if (text.size() > KeyboardReadLimit || text.endsWith(QChar(EndOfText)))
        ReplyDone.set();
}

bool FrmReadMemory::eventFilter(QObject* watched, QEvent* event) {
    if (watched == TxtMemory_ && event->type() == QEvent::KeyPress && typedMemoryWait_) {
        // The box does not take control characters; the key itself ends the read.
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool ctrlC = key->key() == Qt::Key_C && (key->modifiers() & Qt::ControlModifier) != 0;
        if (key->text() == QString(QChar(EndOfText)) || ctrlC)
            ReplyDone.set();
    }
    return KeyboardLinkWindow::eventFilter(watched, event);
}

// ----- Clear -----

void FrmReadMemory::cmdClear_Click() {
    if (isExchangeRunning())
        return;
    ExchangeScope scope(*this);
    const auto answer =
        services_.dialogs.message({QStringLiteral("This will Clear decoder memory data!"),
                                   ClearTitle, Dialogs::Buttons::OkCancel});
    if (answer != Dialogs::Answer::Ok || aborted())
        return;
    if (config().LinkMode == 1)
        clearSerial();
    else
        clearKeyboard();
}

void FrmReadMemory::clearSerial() {
    if (!openSerialLink())
        return;
    config().ExpectDataReply = false;
    setButtonsEnabled(false);
    sendAndAwait(ClearMemoryFrame(), 1, SerialTimeoutMsecs);
    if (aborted())
        return;
    reportSerialOutcome(QStringLiteral("Clear Decoder Memory OK!"),
                        QStringLiteral("Clear Decoder Memory Failed!"), ClearTitle);
    setButtonsEnabled(true);
}

void FrmReadMemory::clearKeyboard() {
    config().KbMemCommand = QString::fromLatin1(ClearBurst);
    if (!keyboardHandshake()) {
        if (!aborted()) {
            message(QStringLiteral("Times Out Error"), KeyboardClearTitle);
            setButtonsEnabled(true);
        }
        return;
    }
    UnmaskKeyboardInterrupts(services_.portAccess);
    message(QStringLiteral("Clear Decoder Memory OK!"), ClearTitle);
    setButtonsEnabled(true);
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

FrmReadMemory::SaveOutcome FrmReadMemory::save() {
    showMemoryText(true);
    if (MemFileName.isEmpty())
        return saveAs();
    return writeMemoryFile(MemFileName) ? SaveOutcome::Saved : SaveOutcome::Failed;
}

FrmReadMemory::SaveOutcome FrmReadMemory::saveAs() {
    showMemoryText(true);
    const QString text = TxtMemory_->toPlainText();
    QString path;
    switch (SaveDocument(
        services_.dialogs,
        {MemoryFilter, QStringLiteral("txt"), QStringLiteral("memory data"), FileTitle},
        SaveMode::SaveAs, MemFileName, [&text](QString*) { return MemoryFileBytes(text); },
        &path)) {
    case orv::SaveOutcome::Cancelled:
        return SaveOutcome::Cancelled;
    case orv::SaveOutcome::Failed:
        return SaveOutcome::Failed; // the text still counts as unsaved
    case orv::SaveOutcome::Saved:
        break;
    }
    // The text takes the new name only once it has been written there.
    MemSavedText = text;
    MemFileName = path;
    return SaveOutcome::Saved;
}

bool FrmReadMemory::writeMemoryFile(const QString& path) {
    const QString text = TxtMemory_->toPlainText();
    // A failure leaves the text counted as unsaved, so closing asks about it again.
    if (SaveDocument(
            services_.dialogs,
            {MemoryFilter, QStringLiteral("txt"), QStringLiteral("memory data"), FileTitle},
            SaveMode::Save, path,
            [&text](QString*) { return MemoryFileBytes(text); }) != orv::SaveOutcome::Saved)
        return false;
    MemSavedText = text;
    return true;
}

void FrmReadMemory::CmdClose_Click() {
    closePortAndWindow();
}

bool FrmReadMemory::queryUnload() {
    if (TxtMemory_->toPlainText() != MemSavedText) {
        const auto answer = services_.dialogs.message(
            {QStringLiteral("Memory Data had been changed,do you want to save your file?"),
             FileTitle, Dialogs::Buttons::YesNoCancel});
        if (answer == Dialogs::Answer::Cancel)
            return false;
        // A save that failed keeps the window open, so the text is not lost.
        if (answer == Dialogs::Answer::Yes && save() == SaveOutcome::Failed)
            return false;
    }
    return KeyboardLinkWindow::queryUnload();
}

} // namespace orv
