// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "linksetup.h"

#include "commandset.h"
#include "console.h"

#include "core/wholefile.h"
#include "link/exchange/firmwareexchange.h"
#include "link/protocol/isp.h"

#include <QElapsedTimer>

namespace orv {

namespace {

class FlashJob : public PortJob {
public:
    FlashJob(PortName name, std::unique_ptr<SerialPort> port, LinkTiming timing, QByteArray image)
        : PortJob(std::move(name), std::move(port), IspSerialSettings, timing),
          image_(std::move(image)) {}

    // The pages left, each taking as long as the pages so far did (before the first one: its
    // time on the line at 19200 baud and the loader's pause after it).
    qint64 msecsLeft() const override {
        const int pages = IspProgressMaximum(image_.size());
        const int pagesDone = progressValue();
        const qint64 pageMsecs =
            pagesDone > 0 ? transferClock_.elapsed() / pagesDone
                          : IspPacketSize * 10 * 1000 / 19200 + timing().ispPagePauseMsecs;
        return qMax(0, pages - pagesDone) * pageMsecs;
    }

protected:
    void begin() override {
        transferClock_.start();
        run(std::make_unique<FirmwareExchange>(target(), image_, timing()));
    }

    void finished(const ExchangeResult& result) override {
        if (!result.ok()) {
            complete(FailureOutcome(result));
            return;
        }
        PortOutcome o = OkOutcome(result);
        o.extra.insert(QStringLiteral("bytes"), image_.size());
        complete(o);
    }

private:
    QByteArray image_;
    QElapsedTimer transferClock_;
};

int Flash(const CommandCall& call) {
    Console& console = call.console();
    const QString path = call.operands().at(0);
    const ReadResult file = ReadWholeFile(path, IspMaxImageSize);
    if (file.status != ReadStatus::Ok) {
        console.error(file.status == ReadStatus::TooLarge
                          ? QStringLiteral("%1 is larger than %2 bytes, the most a firmware image "
                                           "holds (\"File's Size is larger than 64K!\")")
                                .arg(path)
                                .arg(IspMaxImageSize)
                          : QStringLiteral("%1 could not be read: %2").arg(path, file.why));
        return ExitTrouble;
    }
    auto setup = ReadSetup(call, false);
    if (!setup)
        return ExitTrouble;
    LinkSession::Options options = setup->sessionOptions(QStringLiteral("flash"));
    options.showProgress = true;
    // Once the loader has erased the decoder, only the whole image makes it work again.
    options.uninterruptible = true;
    LinkSession session(console, options);
    for (const PortName& name : setup->ports)
        session.add(
            std::make_unique<FlashJob>(name, setup->makePort(name), setup->timing, file.bytes));
    return session.exec();
}

} // namespace

Command FlashCommand() {
    return {
        QStringLiteral("flash"),
        QStringLiteral("flash FIRMWARE --port P..."),
        QStringLiteral("Send a firmware image to the decoder's loader."),
        QStringLiteral("Sends FIRMWARE (a regular file of at most 65,535 bytes) to the firmware "
                       "loader of the decoder on each port, page by page, always at "
                       "19200,N,8,1. The progress shows as a bar on a terminal and as plain "
                       "lines otherwise.") +
            SeveralPortsText() +
            QStringLiteral(
                "\nA transfer cannot be interrupted, as the decoder would be left without "
                "firmware: SIGINT (Ctrl+C), SIGTERM and SIGHUP are held until every transfer "
                "has ended, with a word on how long that takes, and then end orvctl with "
                "status 130, 143 or 129. A closed output loses the lines, nothing else.\nExit "
                "status: 0 when every port succeeded, 1 when a decoder or port failed, 2 on "
                "usage or file trouble (the log included)."),
        CommonLinkOptions() << RecordOption(),
        1,
        1,
        Flash,
        false};
}

} // namespace orv
