#pragma once

#include "keyboardlink.h"
#include "linkservices.h"
#include "replywait.h"

#include "link/protocol/replies.h"
#include "ui/childwindow.h"

#include <QTimer>

#include <memory>
#include <optional>

class QButtonGroup;
class QLineEdit;
class QProgressBar;
class QPushButton;

namespace orv {

class LinkOptions;
class SerialPort;

// frmTransmit: downloads the configuration image to the decoder, uploads the settings of the
// answering decoder into the image, and asks for the decoder's firmware version, over RS232 or
// over the keyboard link.
//
// Closing the window (or New, Open, another window, closing the main window) while an exchange
// waits ends the exchange: the port closes and the keyboard interrupts are unmasked at once,
// no result message follows, and the image stays as it was. The window itself is deleted only
// after the exchange has left the stack.
class FrmTransmit : public ChildWindow {
    Q_OBJECT
public:
    FrmTransmit(Config& config, const WindowSpec& spec, const LinkServices& services,
                QWidget* parent = nullptr);
    ~FrmTransmit() override;

    // Button and option handlers.
    void cmdTransmit_Click();
    void cmdReceive_Click();
    void CmdVersion_Click();
    void cmdClose_Click();
    void Option1_Click(int index);

    bool isExchangeRunning() const { return exchange_; }
    SerialPort& serialPort() const { return *MSComm1_; }
    LinkOptions* linkOptions() const { return options_; }

protected:
    void onLoad() override;
    bool queryUnload() override;
    void onUnload() override;

private:
    class ExchangeScope;
    // What a change of Text1 is watched for.
    enum class TypedAnswer { None, Handshake, Accepted, UploadReply };

    void buildControls();
    void setButtonsEnabled(bool enabled);
    void endOfExchange();
    void abortExchange();

    void upload();
    // The RS232 halves return false when the port could not be opened: nothing was sent and
    // the buttons were never disabled.
    bool downloadSerial();
    void downloadKeyboard();
    bool uploadSerial();
    void uploadKeyboard();
    // Steps common to both keyboard exchanges: the letter bursts until the decoder types "S".
    // False when the handshake timed out (its message is the caller's) or the exchange ended.
    bool keyboardHandshake();
    void awaitTypedAnswer(TypedAnswer answer, int timeoutMsecs);
    void endKeyboardWait();
    void sendKeyboardByte(quint8 byte);
    // Opens the port, sends the request and waits for the reply (or the time-out, or the port's
    // loss). False when the port could not be opened: nothing was sent then.
    bool requestOverSerial(const QByteArray& request, int threshold, int timeoutMsecs);
    // The message of the reply's outcome ("good" for a good reply); then the port closes. A
    // port lost during the wait is reported as not available.
    void reportSerialOutcome(const QString& good, const QString& bad, const QString& title);

    void MSComm1_OnComm(const QByteArray& bytes);
    void MSComm1_Lost();
    void Text1_Change();
    void Timer2_Timer();
    void message(const QString& text, const QString& title);

    QByteArray burstLetters() const;

    LinkServices services_;
    std::unique_ptr<SerialPort> MSComm1_;

    LinkOptions* options_ = nullptr;
    QButtonGroup* option1_ = nullptr;
    QPushButton* cmdTransmit_ = nullptr;
    QPushButton* cmdReceive_ = nullptr;
    QPushButton* CmdVersion_ = nullptr;
    QPushButton* cmdClose_ = nullptr;
    QProgressBar* ProgressBar1_ = nullptr;
    QLineEdit* Text1_ = nullptr;
    QTimer Timer2_;

    // Exchange state.
    bool VersionRequest = false;
    ReplyWait ReplyDone;
    qint16 ReplyStatus = NoReply;
    QString VersionText;
    KeyboardHandshake handshake_;
    std::optional<UploadBlock> uploaded_; // the block of a good RS232 upload reply

    TypedAnswer typedAnswer_ = TypedAnswer::None;
    bool awaitingSerial_ = false; // a serial reply is awaited; later bytes are not taken
    bool keyboardWait_ = false;   // a keyboard wait runs that has not unmasked yet
    bool portLost_ = false;
    bool exchange_ = false;
    bool aborted_ = false;
    bool deleteAfterExchange_ = false;
};

} // namespace orv
