// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "link/exchange/receptiongatherer.h"

#include <QDialog>

#include <memory>

class QCheckBox;
class QGridLayout;
class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace orv {

class Config;
class Dialogs;
class SerialPort;
class SerialPortFactory;

// DDT, "Keyboard_RS232 Test": shows what the decoder types (in the keyboard box, which has the
// focus) and what it sends over RS232 (control bytes by name, "<STX>"). Modal; it only reads
// the link settings and leaves ActivePanel and the image alone.
class Ddt : public QDialog {
    Q_OBJECT
public:
    // A reception is shown once the rest of its datum has had this long to arrive.
    static constexpr int ReceptionWaitMsecs = 200;
    // Lines a box holds before the next key or reception empties it.
    static constexpr int MaxLines = 40;
    // The RS232 box keeps the last this many characters of what it shows (a line break counts
    // as one), so that a decoder sending without end, on one running line, costs the same
    // time and memory for every reception.
    static constexpr int KeptTextChars = 16 * 1024;

    Ddt(Config& config, Dialogs& dialogs, SerialPortFactory& serialPorts,
        QWidget* parent = nullptr);
    ~Ddt() override;

    // Form_Load: shows the serial settings and opens the port, or says that it is not available
    // (the keyboard part works either way).
    void load();

    SerialPort& serialPort() const { return *port_; }
    // How long a reception waits for the rest of its datum (the link timing's figure).
    void setReceptionWaitMsecs(int msecs) { reception_.setWaitMsecs(msecs); }

    // Button handlers.
    void Command1_Click();
    void Command2_Click();
    void Check1_Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    // Unloading, however the window is closed: the port closes.
    void done(int result) override;

private:
    void buildControls();
    void buildKeyboardColumn(QGridLayout* grid);
    void buildSerialColumn(QGridLayout* grid);
    QLabel* makeLabel(const char* name, const QString& caption);
    QPlainTextEdit* makeBox(const char* name);
    QPushButton* makeClearButton(const char* name, void (Ddt::*handler)());
    void MSComm1_OnComm(const QByteArray& bytes);
    void MSComm1_Lost();
    void showReception(const QString& datum);
    void txtKB_KeyDown(int key);

    Config& config_;
    Dialogs& dialogs_;
    std::unique_ptr<SerialPort> port_;

    QPlainTextEdit* keyboardBox_ = nullptr;
    QPlainTextEdit* serialBox_ = nullptr;
    QLabel* portLabel_ = nullptr;
    QCheckBox* crLfCheck_ = nullptr;
    QPushButton* clearSerialButton_ = nullptr;
    QPushButton* clearKeyboardButton_ = nullptr;

    // What the RS232 box shows: a datum once the rest of it has had time to arrive, control
    // bytes by name, only what the box keeps of it.
    ReceptionGatherer reception_{ReceptionWaitMsecs, VisibleStyle::Window, KeptTextChars};
    qint16 keyboardLines_ = 0; // KbLineCount: Enter keys in the keyboard box
    qint16 serialLines_ = 0;   // RsLineCount: line ends added to the RS232 box
};

} // namespace orv
