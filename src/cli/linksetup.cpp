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

#include <QFileInfo>
#include <QJsonArray>

#include <sys/stat.h>

namespace orv {

namespace {

// --parity: a name or its letter.
bool ReadParity(const QString& text, Parity* parity, QString* why) {
    static const QStringList Names = {QStringLiteral("none"), QStringLiteral("even"),
                                      QStringLiteral("odd"), QStringLiteral("mark"),
                                      QStringLiteral("space")};
    const QString p = text.trimmed().toLower();
    qsizetype i = Names.indexOf(p);
    if (i < 0 && p.size() == 1)
        i = QStringLiteral("neoms").indexOf(p);
    if (i < 0) {
        *why = QStringLiteral("'%1' is not a parity: none, even, odd, mark or space").arg(text);
        return false;
    }
    *parity = static_cast<Parity>(i);
    return true;
}

// --data-bits (7 or 8) and --stop-bits (1 or 2): `first` or the number after it.
bool ReadBits(const QString& text, int first, const QString& what, int* bits, QString* why) {
    const QString v = text.trimmed();
    const QString a = QString::number(first);
    const QString b = QString::number(first + 1);
    if (v != a && v != b) {
        *why = QStringLiteral("'%1' is not a number of %2: %3 or %4").arg(text, what, a, b);
        return false;
    }
    *bits = v.toInt();
    return true;
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

// The ports given, or the one a file names; each once. Nothing when they are not usable; the
// message is out then.
std::optional<std::vector<PortName>> ReadPorts(const CommandCall& call, int fallbackPort,
                                               PortsGiven portsGiven) {
    QStringList given = call.values(QStringLiteral("port"));
    if (given.isEmpty() && fallbackPort > 0)
        given << QStringLiteral("com %1").arg(fallbackPort);
    if (given.isEmpty() && portsGiven == PortsGiven::Needed) {
        call.usageError(QStringLiteral("--port is needed: a device path or \"com N\""));
        return std::nullopt;
    }
    std::vector<PortName> ports;
    for (const QString& text : given) {
        QString why;
        const auto name = ParsePortName(text, &why);
        if (!name) {
            call.usageError(why);
            return std::nullopt;
        }
        for (const PortName& other : ports) {
            if (other.label == name->label) {
                call.usageError(QStringLiteral("the port %1 is given twice").arg(name->label));
                return std::nullopt;
            }
        }
        ports.push_back(*name);
    }
    return ports;
}

// Whether every port is a device of its own: the same device under two names would have two
// exchanges on one line. Says so when not.
bool DistinctDevices(const std::vector<PortName>& ports, const CommandCall& call) {
    for (size_t i = 0; i < ports.size(); ++i) {
        const auto a = DeviceIdentity(ports[i]);
        for (size_t j = 0; a && j < i; ++j) {
            if (DeviceIdentity(ports[j]) == a) {
                call.usageError(QStringLiteral("the port %1 is given twice: %2 is the same device")
                                    .arg(ports[j].label, ports[i].label));
                return false;
            }
        }
    }
    return true;
}

// "com 2" -> "com2", "/dev/ttyUSB0" -> "ttyUSB0": a port as part of a file name.
QString PortFileName(const PortName& name) {
    if (name.isComPort())
        return QStringLiteral("com%1").arg(name.comPort);
    const QString file = QFileInfo(name.device).fileName();
    return file.isEmpty() ? QStringLiteral("port") : file;
}

} // namespace

// ----- Options and help texts -----

QCommandLineOption PortOption(bool several) {
    const QString words = QStringLiteral(
        "The decoder's port: a device path (/dev/ttyUSB0), a device name (ttyUSB0, which is a file "
        "of that name in the current folder if there is one, else /dev/ttyUSB0), or \"com 1\" to "
        "\"com 6\" as orvcfg maps them.");
    return {{QStringLiteral("p"), QStringLiteral("port")},
            several ? words + QStringLiteral(" Repeat it to run on several ports at once (each "
                                             "device once).")
                    : words,
            QStringLiteral("P")};
}

QCommandLineOption LogOption() {
    return {QStringLiteral("log"),
            QStringLiteral("Write every open and close of a port and every chunk of bytes sent and "
                           "received, in hex with times, to FILE (a regular file). A log that "
                           "cannot be written ends the command with status 2."),
            QStringLiteral("FILE")};
}

QCommandLineOption RecordOption() {
    return {QStringLiteral("record"),
            QStringLiteral("Append one JSON line for every decoder to LOG (a regular file, which "
                           "several runs may share): the time, the host, the port, the device's "
                           "USB serial number and ids, the firmware version, the region, the "
                           "SHA-256 of the region before and after, the settings changed and the "
                           "result. A line that cannot be written ends the command with status "
                           "2."),
            QStringLiteral("LOG")};
}

QCommandLineOption NotSaveOption() {
    return {QStringLiteral("not-save"),
            QStringLiteral("The decoder uses the image without keeping it (\"Not Save\").")};
}

QList<QCommandLineOption> LineOptions() {
    return {
        {QStringLiteral("settings"),
         QStringLiteral("Line settings as the window writes them: baud rate, parity letter (N, E, "
                        "O, M, S), data bits, stop bits (\"9600,N,8,1\", the default)."),
         QStringLiteral("TEXT")},
        {QStringLiteral("baud"),
         QStringLiteral("Baud rate, one the window offers: 1200, 2400, 4800, 9600 or 19200."),
         QStringLiteral("N")},
        {QStringLiteral("parity"), QStringLiteral("Parity: none, even, odd, mark or space."),
         QStringLiteral("P")},
        {QStringLiteral("data-bits"), QStringLiteral("Data bits: 7 or 8."), QStringLiteral("N")},
        {QStringLiteral("stop-bits"), QStringLiteral("Stop bits: 1 or 2."), QStringLiteral("N")},
    };
}

QList<QCommandLineOption> CommonLinkOptions() {
    return {PortOption(true),
            {QStringLiteral("json"),
             QStringLiteral("Print the result of every port as JSON, once every port has "
                            "finished.")},
            LogOption()};
}

QList<QCommandLineOption> LinkOptions(const QList<QCommandLineOption>& more) {
    return CommonLinkOptions() + LineOptions() + more;
}

QString SeveralPortsText() {
    return QStringLiteral("\nWith several --port the command runs on all of them at once; each "
                          "port gets its own result line, then a summary follows.");
}

QString LinkDescription(const QString& what) {
    return what +
           QStringLiteral(" RS232 only: the keyboard link needs orvcfg's window, which receives "
                          "the decoder's typed answers.") +
           SeveralPortsText() +
           QStringLiteral("\nExit status: 0 when every port succeeded, 1 when a decoder or port "
                          "failed, 2 on usage or file trouble (the log included), 130, 143 or 129 "
                          "when ended by SIGINT, SIGTERM or SIGHUP, which close every port "
                          "cleanly.");
}

// ----- The setup -----

std::unique_ptr<SerialPort> LinkSetup::makePort(const PortName& name) const {
    std::unique_ptr<SerialPort> port =
        name.isComPort() ? portFactory->createPort() : portFactory->createDevicePort(name.device);
    port->setHolder(QStringLiteral("\"%1\" port").arg(name.label));
    if (log) {
        port = std::make_unique<LoggingSerialPort>(
            std::move(port), name.label, [log = log](const QString& line) { log->write(line); });
    }
    return port;
}

LinkSession::Options LinkSetup::sessionOptions(const QString& command) const {
    LinkSession::Options options{command, json};
    options.log = log.get();
    options.record = record.get();
    return options;
}

// Opens the frame log (--log) and the decoder record (--record) of a setup; false, with the
// message out, when one cannot be written.
bool OpenOutputs(const CommandCall& call, LinkSetup& s) {
    QString why;
    if (call.isSet(QStringLiteral("log"))) {
        const QString path = call.value(QStringLiteral("log"));
        s.log = FrameLog::open(path, &why);
        if (!s.log) {
            call.console().error(
                QStringLiteral("the log %1 could not be written: %2").arg(path, why));
            return false;
        }
    }
    if (call.isSet(QStringLiteral("record"))) {
        const QString path = call.value(QStringLiteral("record"));
        s.record = DecoderRecord::open(path, call.name(), call.operands().value(0), &why);
        if (!s.record) {
            call.console().error(
                QStringLiteral("the record %1 could not be written: %2").arg(path, why));
            return false;
        }
    }
    return true;
}

std::optional<LinkSetup> ReadSetup(const CommandCall& call, bool lineOptions, int fallbackPort,
                                   PortsGiven portsGiven) {
    LinkSetup s;
    auto ports = ReadPorts(call, fallbackPort, portsGiven);
    if (!ports)
        return std::nullopt;
    s.ports = std::move(*ports);
    if (lineOptions) {
        QString why;
        const auto settings = LinkSettings(
            call.value(QStringLiteral("settings")), call.value(QStringLiteral("baud")),
            call.value(QStringLiteral("parity")), call.value(QStringLiteral("data-bits")),
            call.value(QStringLiteral("stop-bits")), &why);
        if (!settings) {
            call.usageError(why);
            return std::nullopt;
        }
        s.settings = *settings;
    }
    s.timing = CommandLinkTiming();
    s.json = call.isSet(QStringLiteral("json"));
    s.portFactory = std::make_unique<QtSerialPortFactory>(UserConfigFolder());
    for (PortName& name : s.ports) {
        if (name.isComPort())
            name.resolved = s.portFactory->deviceFor(name.comPort);
    }
    if (!DistinctDevices(s.ports, call))
        return std::nullopt;
    if (!OpenOutputs(call, s))
        return std::nullopt;
    return s;
}

std::optional<QStringList> OutputPaths(const QString& out, const LinkSetup& s,
                                       const CommandCall& call) {
    QStringList paths;
    if (s.ports.size() == 1) {
        paths << QString(out).replace(QStringLiteral("%p"), PortFileName(s.ports.front()));
        return paths;
    }
    if (!out.contains(QStringLiteral("%p"))) {
        call.usageError(
            QStringLiteral("with several ports the output name needs %p, which stands for the "
                           "port (\"upload-%p.cfg\")"));
        return std::nullopt;
    }
    for (const PortName& name : s.ports) {
        const QString path = QString(out).replace(QStringLiteral("%p"), PortFileName(name));
        if (paths.contains(path)) {
            call.usageError(
                QStringLiteral("two ports would write %1; give them distinct names").arg(path));
            return std::nullopt;
        }
        paths << path;
    }
    return paths;
}

bool EvenOrOdd(const SerialSettings& settings) {
    return settings.parity == Parity::Even || settings.parity == Parity::Odd;
}

QString UploadParityRefusal(const QString& what) {
    return QStringLiteral("%1 needs parity none, mark or space (the window offers no upload with "
                          "even or odd parity)")
        .arg(what);
}

// ----- Results -----

PortOutcome OkOutcome(const ExchangeResult& result, const QString& more) {
    PortOutcome o;
    o.status = PortStatus::Ok;
    o.key = LinkStatusKey(result.status);
    o.title = result.message.title;
    o.text = result.message.text.simplified();
    if (!more.isEmpty())
        o.text += QLatin1Char(' ') + more;
    return o;
}

QString RegionName(Region r) {
    return r == Region::Bar ? QStringLiteral("bar") : QStringLiteral("mag");
}

QString RegionWords(Region r) {
    return r == Region::Bar ? QStringLiteral("bar decoder settings (bytes 0..24)")
                            : QStringLiteral("magnetic reader settings (bytes 25..84)");
}

QJsonObject VersionJson(const UploadBlock& block) {
    return {{QStringLiteral("version"), QJsonArray{block.versionFirst, block.versionLast}},
            {QStringLiteral("region"), RegionName(block.region)}};
}

std::optional<SerialSettings> LinkSettings(const QString& settings, const QString& baud,
                                           const QString& parity, const QString& dataBits,
                                           const QString& stopBits, QString* why) {
    std::optional<SerialSettings> line = SerialSettings();
    if (!settings.isNull())
        line = ParseSerialSettings(settings);
    if (!line) {
        *why = QStringLiteral("'%1' is not a line setting such as \"9600,N,8,1\"").arg(settings);
        return std::nullopt;
    }
    // As given: "09600" is no rate of the window's.
    const QString rate = !baud.isNull()      ? baud.trimmed()
                         : settings.isNull() ? QString::number(line->baudRate)
                                             : settings.section(QLatin1Char(','), 0, 0).trimmed();
    // Only the rates the window offers: the decoder takes no other.
    if (!LinkBaudRates.contains(rate)) {
        *why = QStringLiteral("'%1' is not a baud rate of the link: give one of %2")
                   .arg(rate, LinkBaudRates.join(QStringLiteral(", ")));
        return std::nullopt;
    }
    line->baudRate = rate.toInt();
    if (!parity.isNull() && !ReadParity(parity, &line->parity, why))
        return std::nullopt;
    if (!dataBits.isNull() &&
        !ReadBits(dataBits, 7, QStringLiteral("data bits"), &line->dataBits, why))
        return std::nullopt;
    if (!stopBits.isNull() &&
        !ReadBits(stopBits, 1, QStringLiteral("stop bits"), &line->stopBits, why))
        return std::nullopt;
    return line;
}

LinkTiming CommandLinkTiming() {
    // Test-only: the suite sets this to run the exchanges with scaled time-outs and pauses.
    bool ok = false;
    const double factor = qEnvironmentVariable("ORVCTL_TIMING_SCALE").toDouble(&ok);
    if (ok && factor > 0 && factor <= 1)
        return LinkTiming{}.scaled(factor);
    return LinkTiming{};
}

} // namespace orv
