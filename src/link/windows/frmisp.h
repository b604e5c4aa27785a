// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
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
// refuses to close, saying why (a half-sent image is worse than waiting for the end).
class FrmIsp : public LinkWindow {
    Q_OBJECT
public:
    FrmIsp(Config& config, const WindowInfo& info, const Services& services,
           QWidget* parent = nullptr);

    void CmdFind_Click();
    void cmdTransmit_Click();
    void cmdClose_Click();

    LinkOptions* linkOptions() const { return options_; }

protected:
    void onLoad() override;
    QString runningExchangeRefusal() const override;
    void setButtonsEnabled(bool enabled) override;

private:
    void buildControls();
    // Reads the image named in TxtBinFile; nothing (after its message) when it is unusable.
    std::optional<QByteArray> readImage();

    LinkOptions* options_ = nullptr;
    QLineEdit* fileBox_ = nullptr; // TxtBinFile
    QPushButton* findButton_ = nullptr;
    QProgressBar* progressBar_ = nullptr;
    QLabel* statusLine_ = nullptr; // lblStatus
    QPushButton* transmitButton_ = nullptr;
    QPushButton* closeButton_ = nullptr;

    QString imageFileName_; // the firmware image last chosen or sent
};

} // namespace orv
