#pragma once

#include "linkwindow.h"

#include <optional>

class QButtonGroup;
class QProgressBar;
class QPushButton;

namespace orv {

class LinkOptions;

// frmTransmit: downloads the configuration image to the decoder, uploads the settings of the
// answering decoder into the image, and asks for the decoder's firmware version, over RS232 or
// over the keyboard link. Closing it while an exchange waits ends the exchange (LinkWindow);
// the image then stays as it was.
class FrmTransmit : public KeyboardLinkWindow {
    Q_OBJECT
public:
    FrmTransmit(Config& config, const WindowInfo& info, const LinkServices& services,
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
    void takeSerialReply(const QByteArray& bytes) override;
    void onAbort() override;
    QByteArray burstLetters() const override;
    bool isHandshakeAnswer(const QString& text) const override;
    void Text1_Change(const QString& text) override;

private:
    // What a change of Text1 is watched for after the handshake.
    enum class TypedAnswer { None, Accepted, UploadReply };

    void buildControls();
    void endOfExchange();

    void upload();
    // The RS232 halves return false when the port could not be opened: nothing was sent and
    // the buttons were never disabled.
    bool downloadSerial();
    void downloadKeyboard();
    bool uploadSerial();
    void uploadKeyboard();
    void awaitTypedAnswer(TypedAnswer answer, int timeoutMsecs);
    // Opens the port, sends the request and waits for the reply (or the time-out, or the port's
    // loss). False when the port could not be opened: nothing was sent then.
    bool requestOverSerial(const QByteArray& request, int threshold, int timeoutMsecs);

    LinkOptions* options_ = nullptr;
    QButtonGroup* option1_ = nullptr;
    QPushButton* cmdTransmit_ = nullptr;
    QPushButton* cmdReceive_ = nullptr;
    QPushButton* CmdVersion_ = nullptr;
    QPushButton* cmdClose_ = nullptr;
    QProgressBar* ProgressBar1_ = nullptr;

    // Exchange state.
    bool VersionRequest = false;
    QString VersionText;
    std::optional<UploadBlock> uploaded_; // the block of a good RS232 upload reply
    TypedAnswer typedAnswer_ = TypedAnswer::None;
};

} // namespace orv
