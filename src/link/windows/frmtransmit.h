// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "linkwindow.h"

class QButtonGroup;
class QProgressBar;
class QPushButton;

namespace orv {

class LinkOptions;

// frmTransmit: downloads the configuration image to the decoder, uploads the settings of the
// answering decoder into the image, and asks for the decoder's firmware version, over RS232 or
// over the keyboard link. Closing it while an exchange waits ends the exchange (LinkWindow);
// the image then stays as it was.
//
// Every button starts an exchange and returns at once; isExchangeRunning() tells when it has
// ended (its message shown, the buttons enabled again).
class FrmTransmit : public KeyboardLinkWindow {
    Q_OBJECT
public:
    FrmTransmit(Config& config, const WindowInfo& info, const Services& services,
                QWidget* parent = nullptr);

    // Button and option handlers.
    void cmdTransmit_Click();
    void cmdReceive_Click();
    void CmdVersion_Click();
    void cmdClose_Click();
    void Option1_Click(int index);

    LinkOptions* linkOptions() const { return options_; }

protected:
    void onLoad() override;
    void setButtonsEnabled(bool enabled) override;
    void endOfExchange() override;

private:
    void buildControls();
    // Upload or firmware version: the request goes out, a good reply of an upload is applied
    // to the image.
    void upload(UploadRequest request);
    void showProgress(int value, int maximum);
    // A keyboard-link exchange: its progress shows, its answers are typed into Text1.
    void startKeyboard(KeyboardExchange* exchange, Done done = {});

    LinkOptions* options_ = nullptr;
    QButtonGroup* saveOptions_ = nullptr; // Option1
    QPushButton* downloadButton_ = nullptr;
    QPushButton* uploadButton_ = nullptr;
    QPushButton* versionButton_ = nullptr;
    QPushButton* closeButton_ = nullptr;
    QProgressBar* progressBar_ = nullptr;
};

} // namespace orv
