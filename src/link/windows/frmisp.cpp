// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "frmisp.h"

#include "linkoptions.h"

#include "core/config.h"
#include "core/dialogs.h"
#include "core/wholefile.h"
#include "link/exchange/firmwareexchange.h"
#include "link/exchange/linkmessages.h"
#include "link/exchange/shownmessages.h"
#include "link/serial/serialport.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace orv {

namespace {

// The filter in the user's language, read when it is shown.
QString BinFilter() {
    return FrmIsp::tr("Bin File(*.bin)|*.bin");
}

} // namespace

FrmIsp::FrmIsp(Config& config, const WindowInfo& info, const Services& services, QWidget* parent)
    : LinkWindow(config, info, services, parent) {
    port_->setHolder(tr("\"Transmit\" (ISP) window")); // the captions are alike
    buildControls();
}

void FrmIsp::buildControls() {
    QVBoxLayout* column = makeBody(tr("ISP"));
    QWidget* body = widget();

    LinkOptionsLayout layout;
    layout.ports = 4;
    layout.baud600 = true;
    layout.framingHidden = true;
    options_ = new LinkOptions(config(), services_.serialPorts, layout, body);
    column->addWidget(options_, 0, Qt::AlignLeft);

    auto* form = new QFormLayout;
    auto* fileRow = new QHBoxLayout;
    fileBox_ = new QLineEdit(body);
    fileBox_->setObjectName(QStringLiteral("TxtBinFile"));
    fileRow->addWidget(fileBox_, 1);
    findButton_ = addButton(fileRow, "CmdFind", tr("..."), &FrmIsp::CmdFind_Click);
    findButton_->setToolTip(tr("Choose the firmware file"));
    auto* fileLabel = new QLabel(tr("File Name:"), body);
    fileLabel->setObjectName(QStringLiteral("lblFile"));
    fileLabel->setBuddy(fileBox_);
    form->addRow(fileLabel, fileRow);

    progressBar_ = new QProgressBar(body);
    progressBar_->setObjectName(QStringLiteral("ProgressBar1"));
    progressBar_->setValue(0);
    form->addRow(QString(), progressBar_);
    statusLine_ = new QLabel(body);
    statusLine_->setObjectName(QStringLiteral("lblStatus"));
    auto* statusLabel = new QLabel(tr("Status:"), body);
    statusLabel->setObjectName(QStringLiteral("lblStatusCaption"));
    statusLabel->setBuddy(statusLine_);
    form->addRow(statusLabel, statusLine_);
    column->addLayout(form);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    transmitButton_ = addButton(buttons, "cmdTransmit", tr("Transmit"), &FrmIsp::cmdTransmit_Click);
    closeButton_ = addButton(buttons, "cmdClose", tr("Close"), &FrmIsp::cmdClose_Click);
    column->addLayout(buttons);
    column->addStretch();
}

void FrmIsp::onLoad() {
    options_->showValues();
}

QString FrmIsp::runningExchangeRefusal() const {
    return tr("A firmware update is in progress; wait until it ends.");
}

void FrmIsp::setButtonsEnabled(bool enabled) {
    transmitButton_->setEnabled(enabled);
    closeButton_->setEnabled(enabled);
}

void FrmIsp::CmdFind_Click() {
    Dialogs::FileRequest request;
    request.filter = BinFilter();
    request.defaultExtension = QStringLiteral("bin");
    request.fileMustExist = true;
    const auto path = services_.dialogs.openFileName(request);
    if (!path)
        return;
    imageFileName_ = *path;
    fileBox_->setText(*path);
}

void FrmIsp::cmdClose_Click() {
    closePortAndWindow();
}

std::optional<QByteArray> FrmIsp::readImage() {
    imageFileName_ = fileBox_->text();
    // Only a regular file is opened (a named pipe or a device would block the window), and its
    // size is checked before it is read.
    const ReadResult file = ReadWholeFile(imageFileName_, IspMaxImageSize);
    switch (file.status) {
    case ReadStatus::Ok:
        return file.bytes;
    case ReadStatus::TooLarge:
        message(tr("File's Size is larger than 64K!"), LinkTitle::Isp);
        return std::nullopt;
    case ReadStatus::NotRegular:
    case ReadStatus::Failed:
        break;
    }
    // Why, in the details: "It is a named pipe, not a regular file.", "No such file or directory."
    Dialogs::Message m(tr("Cann't Open File '%1'!").arg(imageFileName_), LinkTitle::Isp);
    m.details = file.why.left(1).toUpper() + file.why.mid(1) + QLatin1Char('.');
    services_.dialogs.message(ShownLinkMessage(m));
    return std::nullopt;
}

void FrmIsp::cmdTransmit_Click() {
    if (isExchangeRunning())
        return;
    // The file checks belong to the transfer: the window does not close meanwhile.
    CommandScope scope(*this);
    statusLine_->clear();
    progressBar_->setValue(0);
    if (fileBox_->text().isEmpty()) {
        message(tr("You Must Input a Bin File Name"), LinkTitle::Isp);
        return;
    }
    const auto image = readImage();
    if (!image)
        return;
    auto* transfer = new FirmwareExchange(serialTarget(), *image, services_.timing);
    progressBar_->setMaximum(transfer->progressMaximum());
    connect(transfer, &Exchange::statusText, statusLine_,
            [this](const QString& text) { statusLine_->setText(ShownLinkText(text)); });
    connect(transfer, &Exchange::progress, this, [this](int value, int maximum) {
        progressBar_->setMaximum(maximum);
        progressBar_->setValue(value);
    });
    startExchange(transfer);
}

} // namespace orv
