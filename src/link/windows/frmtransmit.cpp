// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "frmtransmit.h"

#include "link/exchange/configexchanges.h"
#include "link/exchange/keyboardexchanges.h"
#include "link/exchange/linkmessages.h"
#include "link/protocol/replies.h"
#include "link/serial/serialport.h"
#include "linkoptions.h"

#include "core/config.h"
#include "core/dialogs.h"
#include "ui/controls.h"
#include "ui/names.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace orv {

FrmTransmit::FrmTransmit(Config& config, const WindowInfo& info, const Services& services,
                         QWidget* parent)
    : KeyboardLinkWindow(config, info, services, parent) {
    buildControls();
}

void FrmTransmit::buildControls() {
    QVBoxLayout* column = makeBody(tr("Download and Upload Configuration Data"));
    QWidget* body = widget();

    auto* settings = new QHBoxLayout;
    LinkOptionsLayout layout;
    layout.modeCaptions = {tr("Keyboard"), tr("RS232")};
    layout.ports = 6;
    layout.parity = true;
    options_ = new LinkOptions(config(), services_.serialPorts, layout, body);
    connect(options_, &LinkOptions::parityChosen, this, [this](int index) {
        // Buttons disabled by a running exchange stay so until it ends.
        if (isExchangeRunning())
            return;
        const bool upload = index != 1 && index != 2; // not with even or odd parity
        uploadButton_->setEnabled(upload);
        versionButton_->setEnabled(upload);
    });
    settings->addWidget(options_);

    QGroupBox* frame5 = TitledFrame(QStringLiteral("Frame5"), tr("Download Option"), body);
    auto* frame5Layout = new QVBoxLayout(frame5);
    saveOptions_ = new QButtonGroup(this);
    saveOptions_->setObjectName(QStringLiteral("Option1"));
    const QStringList saveCaptions = {tr("Not Save"), tr("Save")};
    for (int i = 0; i < saveCaptions.size(); ++i) {
        auto* b = new QRadioButton(saveCaptions[i], frame5);
        b->setObjectName(ArrayName(QStringLiteral("Option1"), i));
        saveOptions_->addButton(b, i);
        frame5Layout->addWidget(b);
    }
    frame5Layout->addStretch();
    OnOptionChosen(saveOptions_, this, [this](int index) { Option1_Click(index); });
    settings->addWidget(frame5);
    column->addLayout(settings);

    auto* buttons = new QHBoxLayout;
    downloadButton_ = addButton(buttons, "cmdTransmit", tr("Download to Decoder"),
                                &FrmTransmit::cmdTransmit_Click);
    uploadButton_ =
        addButton(buttons, "cmdReceive", tr("Upload To PC"), &FrmTransmit::cmdReceive_Click);
    versionButton_ = addButton(buttons, "CmdVersion", tr("Get Firmware Version"),
                               &FrmTransmit::CmdVersion_Click);
    closeButton_ = addButton(buttons, "cmdClose", tr("Close"), &FrmTransmit::cmdClose_Click);
    column->addLayout(buttons);

    auto* progress = new QHBoxLayout;
    progressBar_ = new QProgressBar(body);
    progressBar_->setObjectName(QStringLiteral("ProgressBar1"));
    progressBar_->hide();
    progress->addWidget(progressBar_, 1);
    progress->addWidget(answerBox_);
    column->addLayout(progress);
    column->addStretch();
}

void FrmTransmit::onLoad() {
    saveOptions_->button(config().SaveOption ? 1 : 0)->setChecked(true);
    Option1_Click(config().SaveOption ? 1 : 0);
    options_->showValues();
}

void FrmTransmit::Option1_Click(int index) {
    config().SaveOption = index == 1;
    // The bursts of a keyboard download still under way follow the choice.
    if (auto* download = qobject_cast<KeyboardDownloadExchange*>(keyboardExchange()))
        download->setSave(config().SaveOption);
}

void FrmTransmit::cmdClose_Click() {
    closePortAndWindow();
}

void FrmTransmit::setButtonsEnabled(bool enabled) {
    for (QPushButton* b : {downloadButton_, closeButton_, uploadButton_, versionButton_})
        b->setEnabled(enabled);
}

void FrmTransmit::endOfExchange() {
    setButtonsEnabled(true);
    progressBar_->hide();
}

void FrmTransmit::showProgress(int value, int maximum) {
    if (progressBar_->maximum() != maximum)
        progressBar_->setMaximum(maximum);
    progressBar_->setValue(value);
    if (progressBar_->isHidden())
        progressBar_->show();
}

void FrmTransmit::cmdTransmit_Click() {
    if (isExchangeRunning())
        return;
    const LinkTiming& timing = services_.timing;
    if (config().LinkMode == 1) {
        startExchange(
            new DownloadExchange(serialTarget(), config().CfgData, config().SaveOption, timing));
        return;
    }
    auto* download = new KeyboardDownloadExchange(services_.portAccess, config().CfgData,
                                                  config().SaveOption, timing);
    // The data go out as the image is once the decoder has answered.
    download->setImageSource([this] { return config().CfgData; });
    startKeyboard(download);
}

void FrmTransmit::cmdReceive_Click() {
    if (isExchangeRunning())
        return;
    CommandScope scope(*this);
    if (!confirm(scope, tr("This will replace your current data with reader's data!"),
                 LinkTitle::Upload))
        return;
    upload(UploadRequest::Configuration);
}

void FrmTransmit::CmdVersion_Click() {
    if (isExchangeRunning())
        return;
    upload(UploadRequest::Version);
}

void FrmTransmit::upload(UploadRequest request) {
    // A good upload replaces the answering decoder's region of the image; a version request
    // leaves the image alone.
    auto apply = [this, request](const ExchangeResult& result) {
        if (result.ok() && result.upload && request == UploadRequest::Configuration)
            ApplyUpload(config().CfgData, *result.upload);
    };
    const LinkTiming& timing = services_.timing;
    if (config().LinkMode == 1) {
        startExchange(new UploadExchange(serialTarget(), request, timing), apply);
        return;
    }
    startKeyboard(new KeyboardUploadExchange(services_.portAccess, request, timing), apply);
}

void FrmTransmit::startKeyboard(KeyboardExchange* exchange, Done done) {
    connect(exchange, &Exchange::progress, this, &FrmTransmit::showProgress);
    // The decoder types its next answer into Text1 as well.
    connect(exchange, &KeyboardExchange::answerAwaited, this, [this] {
        answerBox_->clear();
        answerBox_->setFocus();
    });
    startKeyboardExchange(exchange, std::move(done));
}

} // namespace orv
