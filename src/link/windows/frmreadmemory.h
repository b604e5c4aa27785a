// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "linkwindow.h"

#include "ui/savedocument.h"

class QPlainTextEdit;
class QPushButton;

namespace orv {

class LinkOptions;

// frmReadMemory: reads the decoder's memory into a text box as lines of text, saves the text as
// a memory data file (*.txt), and clears the decoder's memory, over RS232 or the keyboard link.
//
// Closing it asks about unsaved text first; a close that goes on ends a running exchange
// (LinkWindow). The text of an RS232 read shows as its blocks arrive.
class FrmReadMemory : public KeyboardLinkWindow {
    Q_OBJECT
public:
    FrmReadMemory(Config& config, const WindowInfo& info, const Services& services,
                  QWidget* parent = nullptr);

    // Button handlers.
    void CmdRead_Click();
    void cmdClear_Click();
    void CmdDisplay_Click();
    void cmdSave_Click();
    void cmdSaveAs_Click();
    void CmdClose_Click();

    LinkOptions* linkOptions() const { return options_; }
    QString memFileName() const { return fileName_; }

protected:
    void onLoad() override;
    bool mayUnload() override;
    void setButtonsEnabled(bool enabled) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void showMemoryText(bool show);
    void appendMemoryText(const QByteArray& bytes);
    // Starts a keyboard-link read or clear; the memory box takes the typed text of a read.
    void startKeyboard(KeyboardExchange* exchange);
    void startMemoryTyping();

    SaveOutcome save();
    SaveOutcome saveAs();
    bool writeMemoryFile(const QString& path);

    void TxtMemory_Change();

    LinkOptions* options_ = nullptr;
    QPlainTextEdit* memoryBox_ = nullptr; // TxtMemory
    QPushButton* readButton_ = nullptr;
    QPushButton* clearButton_ = nullptr;
    QPushButton* optionButton_ = nullptr;
    QPushButton* saveButton_ = nullptr;
    QPushButton* saveAsButton_ = nullptr;
    QPushButton* exitButton_ = nullptr;

    QString fileName_;          // the file the text was last saved to
    QString savedText_;         // the text as last written to a file
    bool memoryTyping_ = false; // the keyboard link's memory text is awaited in the box
};

} // namespace orv
