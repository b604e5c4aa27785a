#include "frmtransmit.h"

#include "link/protocol/frames.h"
#include "link/serial/serialport.h"
#include "linkoptions.h"

#include "core/config.h"
#include "core/dialogs.h"
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

// Marks an exchange as running while it is on the stack; a window closed meanwhile is deleted
// once the exchange has returned.
class FrmTransmit::ExchangeScope {
public:
    explicit ExchangeScope(FrmTransmit& w) : w_(w) {
        w_.exchange_ = true;
        w_.aborted_ = false;
    }
    ~ExchangeScope() {
        w_.exchange_ = false;
        if (w_.deleteAfterExchange_)
            w_.deleteLater();
    }
    ExchangeScope(const ExchangeScope&) = delete;
    ExchangeScope& operator=(const ExchangeScope&) = delete;

private:
    FrmTransmit& w_;
};

FrmTransmit::FrmTransmit(Config& config, const WindowSpec& spec, const LinkServices& services,
                         QWidget* parent)
    : ChildWindow(config, spec, parent), services_(services),
      MSComm1_(services.serialPorts.createPort()),
      handshake_(
          services.portAccess, ReplyDone, [this] { return burstLetters(); }, KeyboardPauseMsecs) {
    MSComm1_->setObjectName(QStringLiteral("MSComm1"));
    connect(MSComm1_.get(), &SerialPort::received, this, &FrmTransmit::MSComm1_OnComm);
    connect(MSComm1_.get(), &SerialPort::lost, this, &FrmTransmit::MSComm1_Lost);
    Timer2_.setObjectName(QStringLiteral("Timer2"));
    Timer2_.setTimerType(Qt::PreciseTimer);
    Timer2_.setSingleShot(true);
    connect(&Timer2_, &QTimer::timeout, this, &FrmTransmit::Timer2_Timer);
    buildControls();
}

FrmTransmit::~FrmTransmit() {
    MSComm1_->disconnect(this);
    MSComm1_->close();
}

void FrmTransmit::buildControls() {
    auto* body = new QWidget;
    body->setObjectName(QStringLiteral("frmTransmitBody"));
    auto* column = new QVBoxLayout(body);

    auto* heading = new QLabel(QStringLiteral("Download and Upload Configuration Data"), body);
    heading->setObjectName(QStringLiteral("lblTitle"));
    QFont font = heading->font();
    font.setBold(true);
    font.setPointSizeF(font.pointSizeF() * 1.4);
    heading->setFont(font);
    heading->setAlignment(Qt::AlignCenter);
    column->addWidget(heading);

    auto* settings = new QHBoxLayout;
    LinkOptionsLayout layout;
    layout.modeCaptions = {QStringLiteral("Keyboard"), QStringLiteral("RS232")};
    layout.ports = 6;
    layout.parity = true;
    options_ = new LinkOptions(config(), services_.serialPorts, layout, body);
    connect(options_, &LinkOptions::parityChosen, this, [this](int index) {
        // Buttons disabled by a running exchange stay so until it ends.
        if (exchange_)
            return;
        const bool upload = index != 1 && index != 2; // not with even or odd parity
        cmdReceive_->setEnabled(upload);
        CmdVersion_->setEnabled(upload);
    });
    settings->addWidget(options_);

    auto* frame5 = new QGroupBox(QStringLiteral("Download Option"), body);
    frame5->setObjectName(QStringLiteral("Frame5"));
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
    connect(option1_, &QButtonGroup::idClicked, this, &FrmTransmit::Option1_Click);
    settings->addWidget(frame5);
    column->addLayout(settings);

    auto* buttons = new QHBoxLayout;
    auto button = [&](const char* name, const char* caption, void (FrmTransmit::*slot)()) {
        auto* b = new QPushButton(QString::fromLatin1(caption), body);
        b->setObjectName(QString::fromLatin1(name));
        connect(b, &QPushButton::clicked, this, slot);
        buttons->addWidget(b);
        return b;
    };
    cmdTransmit_ = button("cmdTransmit", "Download to Decoder", &FrmTransmit::cmdTransmit_Click);
    cmdReceive_ = button("cmdReceive", "Upload To PC", &FrmTransmit::cmdReceive_Click);
    CmdVersion_ = button("CmdVersion", "Get Firmware Version", &FrmTransmit::CmdVersion_Click);
    cmdClose_ = button("cmdClose", "Close", &FrmTransmit::cmdClose_Click);
    column->addLayout(buttons);

    auto* progress = new QHBoxLayout;
    ProgressBar1_ = new QProgressBar(body);
    ProgressBar1_->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1_->hide();
    progress->addWidget(ProgressBar1_, 1);
    // The decoder types its keyboard-link answers into this box.
    Text1_ = new QLineEdit(body);
    Text1_->setObjectName(QStringLiteral("Text1"));
    Text1_->setAccessibleName(tr("Decoder answer"));
    Text1_->setFixedWidth(Text1_->fontMetrics().horizontalAdvance(QLatin1Char('W')) * 4);
    connect(Text1_, &QLineEdit::textChanged, this, &FrmTransmit::Text1_Change);
    progress->addWidget(Text1_);
    column->addLayout(progress);
    column->addStretch();
    setWidget(body);
}

void FrmTransmit::onLoad() {
    option1_->button(config().SaveOption ? 1 : 0)->setChecked(true);
    Option1_Click(config().SaveOption ? 1 : 0);
    options_->showValues();
    VersionRequest = false;
}

bool FrmTransmit::queryUnload() {
    if (exchange_) {
        abortExchange();
        // The exchange is still on the stack: the window goes once it has returned.
        setAttribute(Qt::WA_DeleteOnClose, false);
        deleteAfterExchange_ = true;
    }
    return true;
}

void FrmTransmit::onUnload() {
    if (MSComm1_->isOpen())
        MSComm1_->close();
}

void FrmTransmit::Option1_Click(int index) {
    config().SaveOption = index == 1;
}

void FrmTransmit::cmdClose_Click() {
    if (MSComm1_->isOpen())
        MSComm1_->close();
    close();
}

void FrmTransmit::setButtonsEnabled(bool enabled) {
    for (QPushButton* b : {cmdTransmit_, cmdClose_, cmdReceive_, CmdVersion_})
        b->setEnabled(enabled);
}

void FrmTransmit::endOfExchange() {
    setButtonsEnabled(true);
    ProgressBar1_->hide();
}

void FrmTransmit::message(const QString& text, const QString& title) {
    services_.dialogs.message({text, title});
}

void FrmTransmit::abortExchange() {
    aborted_ = true;
    handshake_.stop();
    Timer2_.stop();
    typedAnswer_ = TypedAnswer::None;
    awaitingSerial_ = false;
    endKeyboardWait();
    if (MSComm1_->isOpen())
        MSComm1_->close();
    ReplyDone.set();
}

QByteArray FrmTransmit::burstLetters() const {
    char letter = BurstUpload;
    if (!config().ExpectDataReply)
        letter = config().SaveOption ? BurstDownloadSave : BurstDownloadNoSave;
    return QByteArray(BurstLength, letter);
}

// ----- Download -----

void FrmTransmit::cmdTransmit_Click() {
    if (exchange_)
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
    if (!aborted_) {
        reportSerialOutcome(QStringLiteral("Download OK!"), QStringLiteral("Download Failed!"),
                            CfgTitle);
    }
    return true;
}

void FrmTransmit::downloadKeyboard() {
    if (!keyboardHandshake()) {
        if (!aborted_)
            message(QStringLiteral("Times Out Error"), CfgTitle);
        return;
    }
    Pause(HandshakePauseMsecs);
    if (aborted_)
        return;
    ProgressBar1_->setValue(0);
    ProgressBar1_->setMaximum(ImageSize - 1); // the progress is the index of the byte sent
    ProgressBar1_->show();
    const QByteArray text = KeyboardDownloadText(config().CfgData);
    for (int k = 0; k < text.size() && !aborted_; ++k) {
        sendKeyboardByte(static_cast<quint8>(text[k]));
        if (k % 2 == 1 && k / 2 < ImageSize)
            ProgressBar1_->setValue(k / 2);
    }
    if (aborted_)
        return;
    awaitTypedAnswer(TypedAnswer::Accepted, KeyboardAcceptMsecs);
    if (aborted_)
        return;
    const bool accepted = Text1_->text().toUpper() == QLatin1String("P");
    message(accepted ? QStringLiteral("Download OK!") : QStringLiteral("Download Failed!"),
            CfgTitle);
}

// ----- Upload and firmware version -----

void FrmTransmit::cmdReceive_Click() {
    if (exchange_)
        return;
    upload();
}

void FrmTransmit::CmdVersion_Click() {
    if (exchange_)
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
        if (answer != Dialogs::Answer::Ok || aborted_) {
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
    if (!requestOverSerial(UploadRequestFrame(), SerialUploadThreshold, UploadTimeoutMsecs))
        return false;
    if (aborted_)
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
        if (!aborted_)
            message(QStringLiteral("Times Out Error"), UploadTitle);
        return;
    }
    ProgressBar1_->setValue(0);
    ProgressBar1_->setMaximum(KeyboardUploadLength + 1);
    ProgressBar1_->show();
    awaitTypedAnswer(TypedAnswer::UploadReply, KeyboardUploadMsecs);
    if (aborted_)
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

bool FrmTransmit::keyboardHandshake() {
    Text1_->setFocus();
    Text1_->clear();
    handshake_.start();
    setButtonsEnabled(false);
    ReplyDone.clear();
    keyboardWait_ = true;
    typedAnswer_ = TypedAnswer::Handshake;
    ReplyDone.wait();
    typedAnswer_ = TypedAnswer::None;
    endKeyboardWait();
    handshake_.stop();
    return !aborted_ && !handshake_.timedOut();
}

void FrmTransmit::awaitTypedAnswer(TypedAnswer answer, int timeoutMsecs) {
    ReplyDone.clear();
    Text1_->clear();
    Text1_->setFocus();
    keyboardWait_ = true;
    typedAnswer_ = answer;
    Timer2_.start(timeoutMsecs);
    ReplyDone.wait();
    Timer2_.stop();
    typedAnswer_ = TypedAnswer::None;
    endKeyboardWait();
}

void FrmTransmit::endKeyboardWait() {
    if (!keyboardWait_)
        return;
    keyboardWait_ = false;
    UnmaskKeyboardInterrupts(services_.portAccess);
}

void FrmTransmit::sendKeyboardByte(quint8 byte) {
    if (!aborted_)
        SendKeyboardByte(services_.portAccess, byte, KeyboardPauseMsecs);
}

void FrmTransmit::Text1_Change() {
    const QString text = Text1_->text();
    switch (typedAnswer_) {
    case TypedAnswer::None:
        break;
    case TypedAnswer::Handshake:
        if (text.toUpper() == QLatin1String("S"))
            ReplyDone.set();
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
    if (!OpenSerialLink(*MSComm1_, config(), services_.dialogs))
        return false;
    setButtonsEnabled(false);
    // Reception is made ready before the request goes out, so that a quick answer is not
    // thrown away with the stale bytes.
    MSComm1_->discardInput();
    MSComm1_->setReceiveThreshold(threshold);
    ReplyStatus = NoReply;
    uploaded_.reset();
    portLost_ = false;
    ReplyDone.clear();
    awaitingSerial_ = true;
    MSComm1_->write(request);
    Timer2_.start(timeoutMsecs);
    ReplyDone.wait();
    Timer2_.stop();
    awaitingSerial_ = false;
    return true;
}

void FrmTransmit::reportSerialOutcome(const QString& good, const QString& bad,
                                      const QString& title) {
    if (portLost_)
        message(NotAvailableText(MSComm1_->commPort()), QString());
    else if (ReplyStatus == NoReply)
        message(QStringLiteral("Time Out Error!"), title);
    else if (ReplyStatus == GoodReply)
        message(good, title);
    else
        message(bad, title);
    MSComm1_->close();
}

void FrmTransmit::MSComm1_OnComm(const QByteArray& bytes) {
    // Only the first reply of a wait counts; a late one after a time-out changes nothing.
    if (!awaitingSerial_)
        return;
    awaitingSerial_ = false;
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
    ReplyDone.set();
}

void FrmTransmit::MSComm1_Lost() {
    if (!awaitingSerial_)
        return;
    awaitingSerial_ = false;
    portLost_ = true;
    ReplyDone.set();
}

void FrmTransmit::Timer2_Timer() {
    ReplyDone.set();
}

} // namespace orv
