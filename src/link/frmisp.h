#pragma once

#include "linkwindow.h"

#include <optional>

class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

namespace orv {

class LinkOptions;

// frmISP: sends a firmware image (*.bin, at most 65,535 bytes) to the decoder's loader in
// 184-byte pages, always at 19200,N,8,1 on ComPort. Of the link options it shows only the
// port; the baud rate, data bits and stop bits frames are hidden but still set the shared
// values when the window opens.
//
// A transfer cannot be cut short: while it runs both buttons are disabled and the window
// refuses to close (a half-sent image is worse than waiting for the end).
class FrmIsp : public LinkWindow {
    Q_OBJECT
public:
    FrmIsp(Config& config, const WindowInfo& info, const LinkServices& services,
           QWidget* parent = nullptr);

    void CmdFind_Click();
    void cmdTransmit_Click();
    void cmdClose_Click();

    LinkOptions* linkOptions() const { return options_; }

protected:
    void onLoad() override;
    bool queryUnload() override;
    void setButtonsEnabled(bool enabled) override;
    void takeSerialReply(const QByteArray& bytes) override;

private:
    void buildControls();
    void transfer(const QByteArray& image);
    // Sends one buffer and waits up to timeoutMsecs for its answer (InputPos). False when the
    // port was lost meanwhile; that has been reported then.
    bool sendBuffer(const QByteArray& bytes, int timeoutMsecs);
    // Reads the image named in TxtBinFile; nothing (after its message) when it is unusable.
    std::optional<QByteArray> readImage();
    void failed(const QString& text);
    void setStatus(const QString& text);

    LinkOptions* options_ = nullptr;
    QLineEdit* TxtBinFile_ = nullptr;
    QPushButton* CmdFind_ = nullptr;
    QProgressBar* ProgressBar1_ = nullptr;
    QLabel* lblStatus_ = nullptr;
    QPushButton* cmdTransmit_ = nullptr;
    QPushButton* cmdClose_ = nullptr;

    QString ISPFileName;
    bool ACKFlag = true; // the access command is outstanding (07h accepts, not AAh)
};

} // namespace orv
