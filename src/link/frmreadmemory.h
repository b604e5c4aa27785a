#pragma once

#include "linkwindow.h"

#include "link/protocol/memory.h"

class QPlainTextEdit;
class QPushButton;

namespace orv {

class LinkOptions;

// frmReadMemory: reads the decoder's memory into a text box as lines of text, saves the text as
// a memory data file (*.txt), and clears the decoder's memory, over RS232 or the keyboard link.
//
// Closing it asks about unsaved text first; a close that goes on ends a running exchange
// (LinkWindow), and the text read so far stays in the window until then.
class FrmReadMemory : public KeyboardLinkWindow {
    Q_OBJECT
public:
    FrmReadMemory(Config& config, const WindowInfo& info, const LinkServices& services,
                  QWidget* parent = nullptr);

    // Button handlers.
    void CmdRead_Click();
    void cmdClear_Click();
    void CmdDisplay_Click();
    void cmdSave_Click();
    void cmdSaveAs_Click();
    void CmdClose_Click();

    LinkOptions* linkOptions() const { return options_; }
    QString memFileName() const { return MemFileName; }

protected:
    void onLoad() override;
    bool queryUnload() override;
    void setButtonsEnabled(bool enabled) override;
    void takeSerialReply(const QByteArray& bytes) override;
    QByteArray burstLetters() const override;
    bool isHandshakeAnswer(const QString& text) const override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    enum class SaveOutcome { Saved, Cancelled, Failed };

    void buildControls();
    void showMemoryText(bool show);
    void appendMemoryText(const QByteArray& bytes);

    void readSerial();
    void readKeyboard();
    void clearSerial();
    void clearKeyboard();

    SaveOutcome save();
    SaveOutcome saveAs();
    bool writeMemoryFile(const QString& path);

    void TxtMemory_Change();

    LinkOptions* options_ = nullptr;
    QPlainTextEdit* TxtMemory_ = nullptr;
    QPushButton* CmdRead_ = nullptr;
    QPushButton* cmdClear_ = nullptr;
    QPushButton* CmdDisplay_ = nullptr;
    QPushButton* cmdSave_ = nullptr;
    QPushButton* cmdSaveAs_ = nullptr;
    QPushButton* CmdClose_ = nullptr;

    MemoryRecordReader reader_; // MemBuffer and MemFill
    QString MemFileName;
    QString MemSavedText;
    bool typedMemoryWait_ = false; // the keyboard link's memory text is awaited
};

} // namespace orv
