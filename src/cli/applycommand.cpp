// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "linksetup.h"

#include "applyjob.h"
#include "applywatch.h"
#include "commandset.h"
#include "console.h"
#include "devicewatch.h"
#include "linksetup.h"

#include <algorithm>

namespace orv {

namespace {

const QCommandLineOption CheckOption(
    QStringLiteral("check"),
    QStringLiteral("Only compare: tell what would change and send nothing (status 3 when a "
                   "decoder would change)."));
const QCommandLineOption ApplyJsonOption(
    QStringLiteral("json"),
    QStringLiteral("Print the result of every decoder as JSON: once every port has finished, or "
                   "with --watch a line of JSON for each decoder as it finishes."));
const QCommandLineOption WatchOption(
    QStringLiteral("watch"),
    QStringLiteral("Wait for serial devices to appear and bring each new one to FILE at once, "
                   "until Ctrl+C (SIGINT), SIGTERM or SIGHUP; those present when the watch starts "
                   "are left alone, and a device unplugged and plugged again is served again."));
const QCommandLineOption MatchOption(
    QStringLiteral("match"),
    QStringLiteral("With --watch: only the devices whose paths match GLOB (\"/dev/ttyUSB*\"; "
                   "wildcards in the last part only), or every device a folder of links leads "
                   "to (\"/dev/serial/by-id/\"); without it, every serial port (/dev/tty* with a "
                   "device behind it: a USB adapter, a UART)."),
    QStringLiteral("GLOB"));

int Apply(const CommandCall& call) {
    Console& console = call.console();
    const QString command = QStringLiteral("apply");
    const QString path = call.operands().at(0);
    const bool watch = call.isSet(QStringLiteral("watch"));
    if (!watch && call.isSet(QStringLiteral("match")))
        return call.usageError(QStringLiteral("--match goes with --watch"));
    if (watch && call.isSet(QStringLiteral("port")))
        return call.usageError(
            QStringLiteral("--watch finds its ports itself: it takes no --port"));
    QString why;
    const auto file = LoadConfigFile(path, &why);
    if (!file) {
        console.error(why);
        return ExitTrouble;
    }
    // Without --port, the port a configuration file names, as download does.
    const int filePort = !watch && file->hasHeader() ? file->contents.ComPort : 0;
    auto setup =
        ReadSetup(call, true, filePort, watch ? PortsGiven::Optional : PortsGiven::Needed);
    if (!setup)
        return ExitTrouble;
    if (EvenOrOdd(setup->settings))
        return call.usageError(
            UploadParityRefusal(QStringLiteral("apply uploads, and an upload")));
    const bool check = call.isSet(QStringLiteral("check"));
    const bool save = !call.isSet(QStringLiteral("not-save"));
    auto makeJob = [&](const PortName& name) {
        return std::make_unique<ApplyJob>(name, setup->makePort(name), setup->settings,
                                          setup->timing, *file, path, save, check);
    };

    if (watch) {
        auto devices = DeviceWatch::create(call.value(QStringLiteral("match")), &why);
        if (!devices)
            return call.usageError(why);
        WatchSession::Options options{setup->json, check, setup->log.get(), setup->record.get()};
        WatchSession session(
            console, *devices,
            [&](const QString& device) {
                QString unused;
                return makeJob(*ParsePortName(device, &unused));
            },
            options);
        return session.exec();
    }

    LinkSession session(console, setup->sessionOptions(command));
    for (const PortName& name : setup->ports)
        session.add(makeJob(name));
    const int code = session.exec();
    const auto& jobs = session.jobs();
    const bool wouldChange = std::any_of(jobs.begin(), jobs.end(), [](const auto& job) {
        return job->outcome().key == WouldChange;
    });
    return code == ExitOk && wouldChange ? ExitWouldChange : code;
}

} // namespace

Command ApplyCommand() {
    return {QStringLiteral("apply"),
         QStringLiteral("apply FILE (--port P... | --watch [--match GLOB]) [--check]"),
         QStringLiteral("Bring decoders to a configuration file, touching only those that "
                        "differ."),
         QStringLiteral(
             "Uploads the region of the decoder on each port (bar decoder: bytes 0..24, "
             "magnetic reader: 25..84; the decoder tells which) and compares it with the same "
             "region of FILE (a configuration or defaults file). When they are equal nothing "
             "is sent (\"unchanged\"). Otherwise FILE is downloaded, the region uploaded again "
             "to verify, and the settings that changed are listed by key and caption, old → "
             "new (\"changed\"). Without --port, the port is the \"com N\" that a "
             "configuration file records. RS232 only.\nWith several --port the decoders are "
             "served at once; each gets its result, then a summary follows. --watch serves a "
             "production line instead: every decoder plugged in, at once; a line for each with "
             "a running count, a live status line for each in progress on a terminal, and a "
             "summary at the end. The first Ctrl+C stops watching and lets the exchanges under "
             "way end; a second ends them at once.\nExit status: 0 when every decoder is as "
             "FILE says, 1 when a decoder or port failed (a failed verification included), 2 "
             "on usage or file trouble (the log and the record included), 3 with --check "
             "when a decoder would change; 130, 143 or 129 when ended by SIGINT, SIGTERM or "
             "SIGHUP (with --watch: by a second signal)."),
         QList<QCommandLineOption>{PortOption(true), CheckOption, NotSaveOption(), ApplyJsonOption,
                                   LogOption(), RecordOption(), WatchOption, MatchOption} +
             LineOptions(),
         1, 1, Apply};
}

} // namespace orv
