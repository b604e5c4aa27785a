// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What the link commands share: the options every one of them reads into a LinkSetup, and the
// pieces of their results.

#include "linksession.h"

#include "link/serial/qtserialport.h"

#include <QCommandLineOption>
#include <QJsonObject>
#include <QList>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>
#include <vector>

namespace orv {

class CommandCall;
class DecoderRecord;
struct Command;
struct UploadBlock;

// What a link command runs with, from the options every one of them shares.
struct LinkSetup {
    std::vector<PortName> ports; // each device once
    SerialSettings settings;     // the window's start values unless options say otherwise
    LinkTiming timing;
    bool json = false;
    std::unique_ptr<QtSerialPortFactory> portFactory; // "com N" as orvcfg maps it
    std::shared_ptr<FrameLog> log;                    // --log, if given
    std::shared_ptr<DecoderRecord> record;            // --record, if given

    // The port of one of the ports, named as its holder and writing to the frame log.
    std::unique_ptr<SerialPort> makePort(const PortName& name) const;
    // What the session of `command` ("download", "memory read") starts with: JSON as asked, the
    // frame log and the decoder record.
    LinkSession::Options sessionOptions(const QString& command) const;
};

// Whether --port may be left out (apply --watch finds its ports itself).
enum class PortsGiven { Needed, Optional };

// Reads the options every link command shares. `fallbackPort`: the port a file names, used when
// no --port is given (0: none). Nothing when they are not usable; the message is out then.
std::optional<LinkSetup> ReadSetup(const CommandCall& call, bool lineOptions, int fallbackPort = 0,
                                   PortsGiven portsGiven = PortsGiven::Needed);

// The output file of each port: OUT itself for one port; with several, OUT with %p replaced by
// the port. Nothing (with the message out) when several ports would write one file.
std::optional<QStringList> OutputPaths(const QString& out, const LinkSetup& s,
                                       const CommandCall& call);

// Whether the settings have even or odd parity, with which the window uploads nothing.
bool EvenOrOdd(const SerialSettings& settings);

// Why an upload is refused with even or odd parity; `what` needs the upload.
QString UploadParityRefusal(const QString& what);

// The outcome of an exchange that succeeded: the window's message, then `more`.
PortOutcome OkOutcome(const ExchangeResult& result, const QString& more = QString());

// "bar", "mag": a region in JSON.
QString RegionName(Region r);
// "bar decoder settings (bytes 0..24)": a region in a result line.
QString RegionWords(Region r);
// The version and region an upload reply gives, for the port's JSON.
QJsonObject VersionJson(const UploadBlock& block);

// The link commands, each in its own file.
Command DownloadCommand();
Command UploadCommand();
Command VersionCommand();
Command FlashCommand();
Command MemoryCommand();
Command MonitorCommand();
Command ApplyCommand();

// The options of the link commands. -p, --port P; `several`: it may be repeated.
QCommandLineOption PortOption(bool several);
// --log FILE, the frame log.
QCommandLineOption LogOption();
// --record LOG, the decoder record.
QCommandLineOption RecordOption();
// --not-save: the decoder uses the image without keeping it.
QCommandLineOption NotSaveOption();
// The line settings: --settings, --baud, --parity, --data-bits and --stop-bits.
QList<QCommandLineOption> LineOptions();
// What every command that runs on several ports takes: --port, --json and --log.
QList<QCommandLineOption> CommonLinkOptions();
// Those, the line options, and a command's own.
QList<QCommandLineOption> LinkOptions(const QList<QCommandLineOption>& more = {});

// The help's note that a command runs on several ports at once.
QString SeveralPortsText();
// The help text of a command that runs on several ports over RS232: what it does, then that it
// needs RS232, runs on several ports at once, and its exit statuses.
QString LinkDescription(const QString& what);

} // namespace orv
