// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "linksetup.h"

#include "commandset.h"

#include "link/exchange/configexchanges.h"

namespace orv {

namespace {

class VersionJob : public PortJob {
public:
    using PortJob::PortJob;

protected:
    void begin() override {
        run(std::make_unique<UploadExchange>(target(), UploadRequest::Version, timing()));
    }

    void finished(const ExchangeResult& result) override {
        if (!result.ok()) {
            complete(FailureOutcome(result));
            return;
        }
        PortOutcome o = OkOutcome(result);
        if (result.upload)
            o.extra = VersionJson(*result.upload);
        complete(o);
    }
};

int Version(const CommandCall& call) {
    auto setup = ReadSetup(call, true);
    if (!setup)
        return ExitTrouble;
    if (EvenOrOdd(setup->settings))
        return call.usageError(UploadParityRefusal(QStringLiteral("asking for the version")));
    LinkSession session(call.console(), setup->sessionOptions(QStringLiteral("version")));
    for (const PortName& name : setup->ports) {
        session.add(std::make_unique<VersionJob>(name, setup->makePort(name), setup->settings,
                                                 setup->timing));
    }
    return session.exec();
}

} // namespace

Command VersionCommand() {
    return {QStringLiteral("version"),
            QStringLiteral("version --port P..."),
            QStringLiteral("Print the firmware version of decoders."),
            LinkDescription(QStringLiteral(
                "Asks the decoder for its firmware version, as \"Get Firmware Version\" does, and "
                "prints it; control bytes in it are shown by name (<ESC>, <9B>), --json gives it "
                "as sent.")),
            LinkOptions(),
            0,
            0,
            Version};
}

} // namespace orv
