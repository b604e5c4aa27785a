// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "serialexchange.h"

#include "link/protocol/isp.h"

namespace orv {

// The firmware transfer to the decoder's loader, always at 19200,N,8,1 (the target's settings
// text is not used): the access command (answer 07h; 1Bh is another loader version), a pause,
// the erase packet, then the image in 184-byte pages, each tried up to 3 times and followed by
// a pause while the loader writes it; a last short pause and the end-of-image packet, which is
// not answered. The steps are told with statusText() and the pages with progress(); outcomes:
// the LinkOutcome::Firmware rows.
class FirmwareExchange : public SerialExchange {
    Q_OBJECT
public:
    // image: at most IspMaxImageSize bytes.
    FirmwareExchange(SerialTarget target, QByteArray image, const LinkTiming& timing,
                     QObject* parent = nullptr);

    // The progress bar's maximum for this image.
    int progressMaximum() const;

protected:
    void opened() override;
    void replied(const QByteArray& bytes) override;
    void timedOut() override;
    void paused() override;

private:
    enum class Step { Access, AccessPause, Erase, Page, PagePause, EndPause };

    // The loader's answer (IspNoReply: none in time) to the step awaiting one.
    void reply(IspReplyCode code);
    void accessAnswered(IspReplyCode code);
    void eraseAnswered(IspReplyCode code);
    void pageAnswered(IspReplyCode code);
    void sendPage();
    void sendEndPacket();

    QByteArray image_;
    Step step_ = Step::Access;
    int pageStart_ = 0;   // the page's start in the image
    int pageAttempt_ = 0; // 1..IspMaxTries
};

} // namespace orv
