#include "frmisp.h"

#include "linkoptions.h"

#include "core/config.h"
#include "core/dialogs.h"
#include "link/protocol/isp.h"
#include "link/protocol/text.h"
#include "link/serial/serialport.h"

#include <QFile>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace orv {

namespace {

const QString IspTitle = QStringLiteral("ISP Message");
const QString BinFilter = QStringLiteral("Bin File(*.bin)|*.bin");

constexpr int AccessTimeoutMsecs = 5000;
constexpr int EraseTimeoutMsecs = 5000;
constexpr int PageTimeoutMsecs = 3000;
constexpr int LoaderPauseMsecs = 5; // after the access command, and before the end packet
constexpr int PagePauseMsecs = 200; // after every page taken

} // namespace

FrmIsp::FrmIsp(Config& config, const WindowInfo& info, const LinkServices& services,
               QWidget* parent)
    : LinkWindow(config, info, services, parent) {
    buildControls();
}

void FrmIsp::buildControls() {
    QVBoxLayout* column = makeBody(QStringLiteral("ISP"));
    QWidget* body = widget();

    LinkOptionsLayout layout;
    layout.ports = 4;
    layout.baud600 = true;
    layout.framingHidden = true;
    options_ = new LinkOptions(config(), services_.serialPorts, layout, body);
    column->addWidget(options_, 0, Qt::AlignLeft);

    auto* form = new QFormLayout;
    auto* fileRow = new QHBoxLayout;
    TxtBinFile_ = new QLineEdit(body);
    TxtBinFile_->setObjectName(QStringLiteral("TxtBinFile"));
    fileRow->addWidget(TxtBinFile_, 1);
    CmdFind_ = addButton(fileRow, "CmdFind", "...", &FrmIsp::CmdFind_Click);
    CmdFind_->setToolTip(tr("Choose the firmware file"));
    auto* fileLabel = new QLabel(QStringLiteral("File Name:"), body);
    fileLabel->setObjectName(QStringLiteral("lblFile"));
    fileLabel->setBuddy(TxtBinFile_);
    form->addRow(fileLabel, fileRow);

    ProgressBar1_ = new QProgressBar(body);
    ProgressBar1_->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1_->setValue(0);
    form->addRow(QString(), ProgressBar1_);
    lblStatus_ = new QLabel(body);
    lblStatus_->setObjectName(QStringLiteral("lblStatus"));
    auto* statusLabel = new QLabel(QStringLiteral("Status:"), body);
    statusLabel->setObjectName(QStringLiteral("lblStatusCaption"));
    statusLabel->setBuddy(lblStatus_);
    form->addRow(statusLabel, lblStatus_);
    column->addLayout(form);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    cmdTransmit_ = addButton(buttons, "cmdTransmit", "Transmit", &FrmIsp::cmdTransmit_Click);
    cmdClose_ = addButton(buttons, "cmdClose", "Close", &FrmIsp::cmdClose_Click);
    column->addLayout(buttons);
    column->addStretch();
}

void FrmIsp::onLoad() {
    options_->showValues();
}

bool FrmIsp::queryUnload() {
    return !isExchangeRunning();
}

void FrmIsp::setButtonsEnabled(bool enabled) {
    cmdTransmit_->setEnabled(enabled);
    cmdClose_->setEnabled(enabled);
}

void FrmIsp::setStatus(const QString& text) {
    lblStatus_->setText(text);
}

void FrmIsp::CmdFind_Click() {
    Dialogs::FileRequest request;
    request.filter = BinFilter;
    request.defaultExtension = QStringLiteral("bin");
    request.fileMustExist = true;
    const auto path = services_.dialogs.openFileName(request);
    if (!path)
        return;
    ISPFileName = *path;
    TxtBinFile_->setText(*path);
}

void FrmIsp::cmdClose_Click() {
    closePortAndWindow();
}

std::optional<QByteArray> FrmIsp::readImage() {
    ISPFileName = TxtBinFile_->text();
    const QString cannotOpen =
        QStringLiteral("Cann't Open File '") + ISPFileName + QStringLiteral("'!");
    QFile file(ISPFileName);
    if (QFileInfo(ISPFileName).isDir() || !file.open(QIODevice::ReadOnly)) {
        message(cannotOpen, IspTitle);
        return std::nullopt;
    }
    // One byte more than the largest image tells a file that is too large.
    const QByteArray image = file.read(IspMaxImageSize + 1);
    if (file.error() != QFileDevice::NoError) {
        message(cannotOpen, IspTitle);
        return std::nullopt;
    }
    if (image.size() > IspMaxImageSize) {
        message(QStringLiteral("File's Size is larger than 64K!"), IspTitle);
        return std::nullopt;
    }
    return image;
}

void FrmIsp::cmdTransmit_Click() {
    if (isExchangeRunning())
        return;
    ExchangeScope scope(*this);
    lblStatus_->clear();
    ProgressBar1_->setValue(0);
    if (TxtBinFile_->text().isEmpty()) {
        message(QStringLiteral("You Must Input a Bin File Name"), IspTitle);
        return;
    }
    const auto image = readImage();
    if (!image)
        return;
    ProgressBar1_->setMaximum(IspProgressMaximum(image->size()));
    ACKFlag = true;
    // Whatever the baud rate and framing options say. (The adapter's transmit buffer has no
    // fixed size, so the 520 bytes the loader needs always fit.)
    if (!OpenSerialLink(*MSComm1_, IspSerialSettings, config().ComPort, services_.dialogs))
        return;
    transfer(*image);
}

void FrmIsp::transfer(const QByteArray& image) {
    setStatus(QStringLiteral("Be Transmiting ISP Command"));
    setButtonsEnabled(false);
    if (!sendBuffer(IspAccessCommand(), AccessTimeoutMsecs))
        return;
    switch (ReplyStatus) {
    case IspAccepted:
        break;
    case IspNoReply:
        return failed(QStringLiteral("Time Out Error!"));
    case IspIncorrectVersion:
        return failed(QStringLiteral("A Incorrect Version No!"));
    default:
        return failed(QStringLiteral("Access ISP Command Failed!"));
    }
    setStatus(QStringLiteral("Access ISP Command OK!"));
    Pause(LoaderPauseMsecs);
    ACKFlag = false;

    setStatus(QStringLiteral("Be transmiting Erase Command!"));
    if (!sendBuffer(IspErasePacket(), EraseTimeoutMsecs))
        return;
    if (ReplyStatus != IspAccepted)
        return failed(QStringLiteral("Erase Command Failed!"));
    setStatus(QStringLiteral("Erase Command OK!"));

    for (int start = 0; start < image.size(); start += IspPageSize) {
        const auto bytes =
            QByteArrayView(image).sliced(start, qMin<qsizetype>(IspPageSize, image.size() - start));
        const QByteArray page = IspPage(start, bytes);
        for (int attempt = 1; attempt <= IspMaxTries; ++attempt) {
            setStatus(QStringLiteral("Be transmiting Data From  ") + NumberText(start) +
                      QStringLiteral("To ") + NumberText(start + IspPageSize - 1) +
                      QStringLiteral(" : ") + NumberText(attempt));
            MSComm1_->discardOutput();
            if (!sendBuffer(page, PageTimeoutMsecs))
                return;
            if (ReplyStatus == IspAccepted)
                break;
        }
        if (ReplyStatus != IspAccepted)
            return failed(QStringLiteral("Transmit Data Failled!"));
        setStatus(QStringLiteral("Transmit Data For Page ") + NumberText(start) +
                  QStringLiteral(" OK!"));
        ProgressBar1_->setValue((start + IspPageSize) / IspPageSize);
        // The loader writes the page meanwhile; the window keeps handling events.
        Pause(PagePauseMsecs);
    }

    Pause(LoaderPauseMsecs);
    MSComm1_->discardOutput();
    MSComm1_->write(IspEndPacket()); // the loader does not answer it
    ProgressBar1_->setValue(ProgressBar1_->maximum());
    message(QStringLiteral("ISP Transmit OK!"), IspTitle);
    closePort();
    setButtonsEnabled(true);
}

bool FrmIsp::sendBuffer(const QByteArray& bytes, int timeoutMsecs) {
    sendAndAwait(bytes, 1, timeoutMsecs);
    if (!portLost())
        return true;
    services_.dialogs.message(NotAvailableMessage(config().ComPort, MSComm1_->errorString()));
    closePort();
    setButtonsEnabled(true);
    return false;
}

void FrmIsp::failed(const QString& text) {
    message(text, IspTitle);
    closePort();
    setButtonsEnabled(true);
}

void FrmIsp::takeSerialReply(const QByteArray& bytes) {
    ReplyStatus = IspReplyOutcome(ACKFlag, bytes);
}

} // namespace orv
