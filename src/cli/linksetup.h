// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What every link command of orvctl shares: the options of the port and the line, and the setup
// they make (the ports, the line settings, the timing, the frame log and the decoder record).

#include "linksession.h"

#include "link/exchange/linktiming.h"
#include "link/protocol/replies.h"
#include "link/serial/qtserialport.h"

#include <QCommandLineOption>
#include <QList>
#include <QString>

#include <memory>
#include <optional>
#include <utility>
#include <vector>

namespace orv {

class CommandCall;
class Console;
class DecoderRecord;

// The window's start values: 9600 baud, no parity, 8 data bits, 1 stop bit.
extern const QString StartSettings;

// What --port says, for the options of commands that take one port or several.
extern const QString PortWords;
extern const QCommandLineOption PortOption;
extern const QCommandLineOption SettingsOption;
extern const QCommandLineOption BaudOption;
extern const QCommandLineOption ParityOption;
extern const QCommandLineOption DataBitsOption;
extern const QCommandLineOption StopBitsOption;
extern const QCommandLineOption JsonOption;
extern const QCommandLineOption LogOption;
extern const QCommandLineOption RecordOption;
extern const QCommandLineOption NotSaveOption;
// --settings, --baud, --parity, --data-bits, --stop-bits.
extern const QList<QCommandLineOption> LineOptions;

QList<QCommandLineOption> With(QList<QCommandLineOption> a, const QList<QCommandLineOption>& b);

struct LinkSetup {
    std::vector<PortName> ports;
    QString settings;
    LinkTiming timing;
    bool json = false;
    QString configDir; // where "com N" links are looked up, as orvcfg does
    std::unique_ptr<QtSerialPortFactory> factory;
    std::shared_ptr<FrameLog> log;
    std::shared_ptr<DecoderRecord> record; // --record, if given

    std::unique_ptr<SerialPort> makePort(const PortName& name) const;
};

// The device a port stands for as the system knows it, links followed: a device node by its
// number, any other file by its file system and inode. Nothing when there is no such file.
std::optional<std::pair<quint64, quint64>> DeviceIdentity(const PortName& name);

// A usage error of a command: the message, and where help is; returns ExitTrouble.
int Usage(Console& console, const QString& command, const QString& message);

// Whether --port may be left out (apply --watch finds its ports itself).
enum class PortsGiven { Needed, Optional };

// Reads the options every link command shares. `fallbackPort`: the port a file names, used when
// no --port is given (0: none). Nothing when they are not usable; the message is out then.
std::optional<LinkSetup> ReadSetup(const CommandCall& call, const QString& command,
                                   bool lineOptions, int fallbackPort = 0,
                                   PortsGiven ports = PortsGiven::Needed);

bool EvenOrOdd(const QString& settings);
// Why an upload is refused with even or odd parity; `what` needs the upload.
QString UploadParityRefusal(const QString& what);

// "bar", "mag".
QString RegionName(Region r);
// "bar decoder settings (bytes 0..24)", ...
QString RegionWords(Region r);

} // namespace orv
