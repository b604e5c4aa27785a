// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "linksetup.h"

#include "commandset.h"
#include "console.h"
#include "decoderrecord.h"
#include "linkcommands.h"

#include "core/filename.h"
#include "core/userfolder.h"
#include "link/serial/loggingserialport.h"

#include <sys/stat.h>

namespace orv {

// The window's start values: 9600 baud, no parity, 8 data bits, 1 stop bit.
const QString StartSettings = QStringLiteral("9600,N,8,1 ");

const QString PortWords = QStringLiteral(
    "The decoder's port: a device path (/dev/ttyUSB0), a device name (ttyUSB0, which is a file "
    "of that name in the current folder if there is one, else /dev/ttyUSB0), or \"com 1\" to "
    "\"com 6\" as orvcfg maps them.");
const QCommandLineOption PortOption({QStringLiteral("p"), QStringLiteral("port")},
                                    PortWords +
                                        QStringLiteral(" Repeat it to run on several ports at "
                                                       "once (each device once)."),
                                    QStringLiteral("P"));
const QCommandLineOption SettingsOption(
    QStringLiteral("settings"),
    QStringLiteral("Line settings as the window writes them: baud rate, parity letter (N, E, O, "
                   "M, S), data bits, stop bits (\"9600,N,8,1\", the default)."),
    QStringLiteral("TEXT"));
const QCommandLineOption
    BaudOption(QStringLiteral("baud"),
               QStringLiteral("Baud rate, one the window offers: 1200, 2400, 4800, 9600 or 19200."),
               QStringLiteral("N"));
const QCommandLineOption ParityOption(QStringLiteral("parity"),
                                      QStringLiteral("Parity: none, even, odd, mark or space."),
                                      QStringLiteral("P"));
const QCommandLineOption DataBitsOption(QStringLiteral("data-bits"),
                                        QStringLiteral("Data bits: 7 or 8."), QStringLiteral("N"));
const QCommandLineOption StopBitsOption(QStringLiteral("stop-bits"),
                                        QStringLiteral("Stop bits: 1 or 2."), QStringLiteral("N"));
const QCommandLineOption JsonOption(
    QStringLiteral("json"),
    QStringLiteral("Print the result of every port as JSON, once every port has finished."));
const QCommandLineOption LogOption(
    QStringLiteral("log"),
    QStringLiteral("Write every open and close of a port and every chunk of bytes sent and "
                   "received, in hex with times, to FILE (a regular file). A log that cannot be "
                   "written ends the command with status 2."),
    QStringLiteral("FILE"));
const QCommandLineOption RecordOption(
    QStringLiteral("record"),
    QStringLiteral("Append one JSON line for every decoder to LOG (a regular file, which several "
                   "runs may share): the time, the host, the port, the device's USB serial "
                   "number and ids, the firmware version, the region, the SHA-256 of the "
                   "region before and after, the settings changed and the result. A line that "
                   "cannot be written ends the command with status 2."),
    QStringLiteral("LOG"));
const QCommandLineOption
    NotSaveOption(QStringLiteral("not-save"),
                  QStringLiteral("The decoder uses the image without keeping it (\"Not Save\")."));

const QList<QCommandLineOption> LineOptions = {SettingsOption, BaudOption, ParityOption,
                                               DataBitsOption, StopBitsOption};

QList<QCommandLineOption> With(QList<QCommandLineOption> a, const QList<QCommandLineOption>& b) {
    a += b;
    return a;
}

// ----- What every link command sets up -----

std::unique_ptr<SerialPort> LinkSetup::makePort(const PortName& name) const {
    std::unique_ptr<SerialPort> port =
        name.isComPort() ? factory->createPort() : factory->createDevicePort(name.device);
    port->setHolder(QStringLiteral("\"%1\" port").arg(name.label));
    if (log) {
        port = std::make_unique<LoggingSerialPort>(
            std::move(port), name.label, [log = log](const QString& line) { log->write(line); });
    }
    return port;
}

// The device a port stands for as the system knows it, links followed: a device node by its
// number, any other file by its file system and inode. Nothing when there is no such file.
std::optional<std::pair<quint64, quint64>> DeviceIdentity(const PortName& name) {
    const QString path = name.isComPort() ? name.resolved : name.device;
    struct stat st {};
    if (path.isEmpty() || ::stat(FileNameBytes(path).constData(), &st) != 0)
        return std::nullopt;
    if (S_ISCHR(st.st_mode) || S_ISBLK(st.st_mode))
        return std::pair<quint64, quint64>{0, st.st_rdev};
    return std::pair<quint64, quint64>{quint64(st.st_dev) + 1, st.st_ino};
}

int Usage(Console& console, const QString& command, const QString& message) {
    console.error(message);
    console.printError(QStringLiteral("Try 'orvctl %1 --help'.\n").arg(command));
    return ExitTrouble;
}

// Reads the options every link command shares. `fallbackPort`: the port a file names, used when
// no --port is given (0: none). Nothing when they are not usable; the message is out then.
std::optional<LinkSetup> ReadSetup(const CommandCall& call, const QString& command,
                                   bool lineOptions, int fallbackPort, PortsGiven portsGiven) {
    Console& console = call.console();
    LinkSetup s;
    QStringList given = call.values(QStringLiteral("port"));
    if (given.isEmpty() && fallbackPort > 0)
        given << QStringLiteral("com %1").arg(fallbackPort);
    if (given.isEmpty() && portsGiven == PortsGiven::Needed) {
        Usage(console, command, QStringLiteral("--port is needed: a device path or \"com N\""));
        return std::nullopt;
    }
    for (const QString& text : given) {
        QString why;
        const auto name = ParsePortName(text, &why);
        if (!name) {
            Usage(console, command, why);
            return std::nullopt;
        }
        for (const PortName& other : s.ports) {
            if (other.label == name->label) {
                Usage(console, command,
                      QStringLiteral("the port %1 is given twice").arg(name->label));
                return std::nullopt;
            }
        }
        s.ports.push_back(*name);
    }
    s.settings = StartSettings;
    if (lineOptions) {
        QString why;
        const auto settings = LinkSettingsText(
            call.value(QStringLiteral("settings")), call.value(QStringLiteral("baud")),
            call.value(QStringLiteral("parity")), call.value(QStringLiteral("data-bits")),
            call.value(QStringLiteral("stop-bits")), &why);
        if (!settings) {
            Usage(console, command, why);
            return std::nullopt;
        }
        s.settings = *settings;
    }
    s.timing = CommandLinkTiming();
    s.json = call.isSet(QStringLiteral("json"));
    s.configDir = UserConfigFolder();
    s.factory = std::make_unique<QtSerialPortFactory>(s.configDir);
    for (PortName& name : s.ports) {
        if (name.isComPort())
            name.resolved = s.factory->deviceFor(name.comPort);
    }
    // The same device under two names would have two exchanges on one line.
    for (size_t i = 0; i < s.ports.size(); ++i) {
        const auto a = DeviceIdentity(s.ports[i]);
        for (size_t j = 0; a && j < i; ++j) {
            if (DeviceIdentity(s.ports[j]) == a) {
                Usage(console, command,
                      QStringLiteral("the port %1 is given twice: %2 is the same device")
                          .arg(s.ports[j].label, s.ports[i].label));
                return std::nullopt;
            }
        }
    }
    if (call.isSet(QStringLiteral("log"))) {
        const QString path = call.value(QStringLiteral("log"));
        QString why;
        s.log = FrameLog::open(path, &why);
        if (!s.log) {
            console.error(QStringLiteral("the log %1 could not be written: %2").arg(path, why));
            return std::nullopt;
        }
    }
    if (call.isSet(QStringLiteral("record"))) {
        const QString path = call.value(QStringLiteral("record"));
        QString why;
        s.record = DecoderRecord::open(path, command, call.operands().value(0), &why);
        if (!s.record) {
            console.error(QStringLiteral("the record %1 could not be written: %2").arg(path, why));
            return std::nullopt;
        }
    }
    return s;
}

bool EvenOrOdd(const QString& settings) {
    const auto parsed = ParseSerialSettings(settings);
    return parsed &&
           (parsed->parity == QSerialPort::EvenParity || parsed->parity == QSerialPort::OddParity);
}

// Why an upload is refused with even or odd parity; `what` needs the upload.
QString UploadParityRefusal(const QString& what) {
    return QStringLiteral("%1 needs parity none, mark or space (the window offers no upload with "
                          "even or odd parity)")
        .arg(what);
}

QString RegionName(Region r) {
    return r == Region::Bar ? QStringLiteral("bar") : QStringLiteral("mag");
}

QString RegionWords(Region r) {
    return r == Region::Bar ? QStringLiteral("bar decoder settings (bytes 0..24)")
                            : QStringLiteral("magnetic reader settings (bytes 25..84)");
}

} // namespace orv
