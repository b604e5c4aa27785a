#include "frmtransmit.h"

#include "link/protocol/frames.h"
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

namespace {

const QString CfgTitle = QStringLiteral("CFG Message");
const QString UploadTitle = QStringLiteral("Upload Message");

constexpr int KeyboardPauseMsecs = 4;   // after every byte to the keyboard controller
constexpr int HandshakePauseMsecs = 20; // between the decoder's "S" and the download data
constexpr int DownloadTimeoutMsecs = 3000;
constexpr int UploadTimeoutMsecs = 7000;
constexpr int KeyboardAcceptMsecs = 1000;
constexpr int KeyboardUploadMsecs = 5000;

} // namespace

FrmTransmit::FrmTransmit(Config& config, const WindowInfo& info, const LinkServices& services,
                         QWidget* parent)
    : KeyboardLinkWindow(config, info, services, KeyboardPauseMsecs, parent) {
    buildControls();
}

void FrmTransmit::buildControls() {
    QVBoxLayout* column = makeBody(QStringLiteral("Download and Upload Configuration Data"));
    QWidget* body = widget();

    auto* settings = new QHBoxLayout;
    LinkOptionsLayout layout;
    layout.modeCaptions = {QStringLiteral("Keyboard"), QStringLiteral("RS232")};
    layout.ports = 6;
    layout.parity = true;
    options_ = new LinkOptions(config(), services_.serialPorts, layout, body);
    connect(options_, &LinkOptions::parityChosen, this, [this](int index) {
        // Buttons disabled by a running exchange stay so until it ends.
        if (isExchangeRunning())
            return;
        const bool upload = index != 1 && index != 2; // not with even or odd parity
        cmdReceive_->setEnabled(upload);
        CmdVersion_->setEnabled(upload);
    });
    settings->addWidget(options_);

    QGroupBox* frame5 =
        TitledFrame(QStringLiteral("Frame5"), QStringLiteral("Download Option"), body);
    auto* frame5Layout = new QVBoxLayout(frame5);
    option1_ = new QButtonGroup(this);
    option1_->setObjectName(QStringLiteral("Option1"));
    const QStringList saveCaptions = {QStringLiteral("Not Save"), QStringLiteral("Save")};
    for (int i = 0; i < saveCaptions.size(); ++i) {
        auto* b = new QRadioButton(saveCaptions[i], frame5);
        b->setObjectName(ArrayName(QStringLiteral("Option1"), i));
        option1_->addButton(b, i);
        frame5Layout->addWidget(b);
    }
    frame5Layout->addStretch();
    OnOptionChosen(option1_, this, [this](int index) { Option1_Click(index); });
    settings->addWidget(frame5);
    column->addLayout(settings);

    auto* buttons = new QHBoxLayout;
    cmdTransmit_ =
        addButton(buttons, "cmdTransmit", "Download to Decoder", &FrmTransmit::cmdTransmit_Click);
    cmdReceive_ = addButton(buttons, "cmdReceive", "Upload To PC", &FrmTransmit::cmdReceive_Click);
    CmdVersion_ =
        addButton(buttons, "CmdVersion", "Get Firmware Version", &FrmTransmit::CmdVersion_Click);
    cmdClose_ = addButton(buttons, "cmdClose", "Close", &FrmTransmit::cmdClose_Click);
    column->addLayout(buttons);

    auto* progress = new QHBoxLayout;
    ProgressBar1_ = new QProgressBar(body);
    ProgressBar1_->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1_->hide();
    progress->addWidget(ProgressBar1_, 1);
    progress->addWidget(Text1_);
    column->addLayout(progress);
    column->addStretch();
}

void FrmTransmit::onLoad() {
    option1_->button(config().SaveOption ? 1 : 0)->setChecked(true);
    Option1_Click(config().SaveOption ? 1 : 0);
    options_->showValues();
    VersionRequest = false;
}

void FrmTransmit::Option1_Click(int index) {
    config().SaveOption = index == 1;
}

void FrmTransmit::cmdClose_Click() {
    closePortAndWindow();
}

void FrmTransmit::setButtonsEnabled(bool enabled) {
    for (QPushButton* b : {cmdTransmit_, cmdClose_, cmdReceive_, CmdVersion_})
        b->setEnabled(enabled);
}

void FrmTransmit::endOfExchange() {
    setButtonsEnabled(true);
    ProgressBar1_->hide();
}

void FrmTransmit::onAbort() {
    typedAnswer_ = TypedAnswer::None;
    KeyboardLinkWindow::onAbort();
}

QByteArray FrmTransmit::burstLetters() const {
    char letter = BurstUpload;
    if (!config().ExpectDataReply)
        letter = config().SaveOption ? BurstDownloadSave : BurstDownloadNoSave;
    return QByteArray(BurstLength, letter);
}

// ----- Download -----

void FrmTransmit::cmdTransmit_Click() {
    if (isExchangeRunning())
        return;
    ExchangeScope scope(*this);
    config().ExpectDataReply = false;
    if (config().LinkMode == 1) {
        if (!downloadSerial())
            return;
    } else {
        downloadKeyboard();
    }
    endOfExchange();
}

bool FrmTransmit::downloadSerial() {
    const QByteArray frame = DownloadFrame(config().CfgData, config().SaveOption);
    if (!requestOverSerial(frame, 1, DownloadTimeoutMsecs))
        return false;
    if (!aborted()) {
        reportSerialOutcome(QStringLiteral("Download OK!"), QStringLiteral("Download Failed!"),
                            CfgTitle);
    }
    return true;
}

void FrmTransmit::downloadKeyboard() {
    if (!keyboardHandshake()) {
        if (!aborted())
            message(QStringLiteral("Times Out Error"), CfgTitle);
        return;
    }
    Pause(HandshakePauseMsecs);
    if (aborted())
        return;
    ProgressBar1_->setValue(0);
    ProgressBar1_->setMaximum(ImageSize - 1); // the progress is the index of the byte sent
    ProgressBar1_->show();
    const QByteArray text = KeyboardDownloadText(config().CfgData);
    for (int k = 0; k < text.size() && !aborted(); ++k) {
        sendKeyboardByte(static_cast<quint8>(text[k]));
        if (k % 2 == 1 && k / 2 < ImageSize)
            ProgressBar1_->setValue(k / 2);
    }
    if (aborted())
        return;
    awaitTypedAnswer(TypedAnswer::Accepted, KeyboardAcceptMsecs);
    if (aborted())
        return;
    const bool accepted = Text1_->text().toUpper() == QLatin1String("P");
    message(accepted ? QStringLiteral("Download OK!") : QStringLiteral("Download Failed!"),
            CfgTitle);
}

// ----- Upload and firmware version -----

void FrmTransmit::cmdReceive_Click() {
    if (isExchangeRunning())
        return;
    upload();
}

void FrmTransmit::CmdVersion_Click() {
    if (isExchangeRunning())
        return;
    config().ExpectDataReply = true;
    VersionRequest = true;
    upload();
    VersionRequest = false;
}

void FrmTransmit::upload() {
    ExchangeScope scope(*this);
    config().ExpectDataReply = true;
    if (!VersionRequest) {
        const auto answer = services_.dialogs.message(
            {QStringLiteral("This will replace your current data with reader's data!"), UploadTitle,
             Dialogs::Buttons::OkCancel});
        if (answer != Dialogs::Answer::Ok || aborted()) {
            VersionRequest = false;
            return;
        }
    }
    if (config().LinkMode == 1) {
        if (!uploadSerial()) {
            VersionRequest = false;
            return;
        }
    } else {
        uploadKeyboard();
    }
    endOfExchange();
    VersionRequest = false;
}

bool FrmTransmit::uploadSerial() {
    uploaded_.reset();
    if (!requestOverSerial(UploadRequestFrame(), SerialUploadThreshold, UploadTimeoutMsecs))
        return false;
    if (aborted())
        return true;
    if (ReplyStatus == GoodReply && uploaded_)
        ApplyUpload(config().CfgData, *uploaded_);
    reportSerialOutcome(VersionRequest ? VersionMessage(VersionText)
                                       : QStringLiteral("   Upload OK!   "),
                        QStringLiteral("Upload Failed!"), UploadTitle);
    return true;
}

void FrmTransmit::uploadKeyboard() {
    if (!keyboardHandshake()) {
        if (!aborted())
            message(QStringLiteral("Times Out Error"), UploadTitle);
        return;
    }
    ProgressBar1_->setValue(0);
    ProgressBar1_->setMaximum(KeyboardUploadLength + 1);
    ProgressBar1_->show();
    awaitTypedAnswer(TypedAnswer::UploadReply, KeyboardUploadMsecs);
    if (aborted())
        return;
    const auto block = ParseKeyboardUpload(Text1_->text());
    if (block) {
        if (!VersionRequest)
            ApplyUpload(config().CfgData, *block);
        VersionText = orv::VersionText(*block);
    }
    if (block && VersionRequest)
        message(VersionMessage(VersionText), UploadTitle);
    else if (block)
        message(QStringLiteral("   Upload OK!   "), UploadTitle);
    else
        message(QStringLiteral("Upload Failed!"), UploadTitle);
}

// ----- Keyboard link -----

bool FrmTransmit::isHandshakeAnswer(const QString& text) const {
    return text.toUpper() == QLatin1String("S");
}

void FrmTransmit::awaitTypedAnswer(TypedAnswer answer, int timeoutMsecs) {
    Text1_->clear();
    Text1_->setFocus();
    typedAnswer_ = answer;
    KeyboardLinkWindow::awaitTypedAnswer(timeoutMsecs);
    typedAnswer_ = TypedAnswer::None;
}

void FrmTransmit::Text1_Change(const QString& text) {
    switch (typedAnswer_) {
    case TypedAnswer::None:
        break;
    case TypedAnswer::Accepted:
        if (text.toUpper() == QLatin1String("P"))
            ReplyDone.set();
        break;
    case TypedAnswer::UploadReply:
        ProgressBar1_->setValue(static_cast<int>(qMin<qsizetype>(text.size(), 146)));
        if (text.size() == KeyboardUploadLength)
            ReplyDone.set();
        break;
    }
}

// ----- RS232 link -----

bool FrmTransmit::requestOverSerial(const QByteArray& request, int threshold, int timeoutMsecs) {
    if (!openSerialLink())
        return false;
    setButtonsEnabled(false);
    sendAndAwait(request, threshold, timeoutMsecs);
    return true;
}

void FrmTransmit::takeSerialReply(const QByteArray& bytes) {
    if (!config().ExpectDataReply) {
        ReplyStatus = DownloadReplyStatus(bytes);
    } else if (const auto block = ParseSerialUpload(bytes)) {
        if (VersionRequest)
            VersionText = orv::VersionText(*block);
        else
            uploaded_ = block;
        ReplyStatus = GoodReply;
    } else {
        ReplyStatus = BadReply;
    }
}

} // namespace orv
