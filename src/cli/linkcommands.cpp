#include "linkcommands.h"

#include "commandset.h"
#include "console.h"
#include "filecommands.h"
#include "interrupts.h"
#include "linksession.h"

#include "core/cfgformat.h"
#include "core/wholefile.h"
#include "link/exchange/configexchanges.h"
#include "link/exchange/firmwareexchange.h"
#include "link/exchange/memoryexchanges.h"
#include "link/protocol/isp.h"
#include "link/protocol/text.h"
#include "link/serial/loggingserialport.h"
#include "link/serial/qtserialport.h"

#include <QDate>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QStandardPaths>
#include <QTimer>

#include <memory>

namespace orv {

namespace {

// The window's start values: 9600 baud, no parity, 8 data bits, 1 stop bit.
const QString StartSettings = QStringLiteral("9600,N,8,1 ");

// ----- Options -----

const QCommandLineOption PortOption(
    {QStringLiteral("p"), QStringLiteral("port")},
    QStringLiteral("The decoder's port: a device path (/dev/ttyUSB0) or \"com N\" as orvcfg maps "
                   "it. Repeat it to run on several ports at once."),
    QStringLiteral("P"));
const QCommandLineOption SettingsOption(
    QStringLiteral("settings"),
    QStringLiteral("Line settings as the window writes them, \"9600,N,8,1\" (the default)."),
    QStringLiteral("TEXT"));
const QCommandLineOption BaudOption(QStringLiteral("baud"),
                                    QStringLiteral("Baud rate (600 to 19200 on the decoder)."),
                                    QStringLiteral("N"));
const QCommandLineOption ParityOption(QStringLiteral("parity"),
                                      QStringLiteral("Parity: none, even, odd, mark or space."),
                                      QStringLiteral("P"));
const QCommandLineOption DataBitsOption(QStringLiteral("data-bits"),
                                        QStringLiteral("Data bits: 7 or 8."), QStringLiteral("N"));
const QCommandLineOption StopBitsOption(QStringLiteral("stop-bits"),
                                        QStringLiteral("Stop bits: 1 or 2."), QStringLiteral("N"));
const QCommandLineOption JsonOption(QStringLiteral("json"),
                                    QStringLiteral("Print the result of every port as JSON."));
const QCommandLineOption
    LogOption(QStringLiteral("log"),
              QStringLiteral("Write every frame sent and received, in hex with times, to FILE."),
              QStringLiteral("FILE"));
const QCommandLineOption
    NotSaveOption(QStringLiteral("not-save"),
                  QStringLiteral("The decoder uses the image without keeping it (\"Not Save\")."));
const QCommandLineOption VerifyOption(
    QStringLiteral("verify"),
    QStringLiteral("Upload the decoder's settings afterwards and compare them with FILE."));
const QCommandLineOption UploadOutputOption(
    {QStringLiteral("o"), QStringLiteral("output")},
    QStringLiteral("The configuration file to write; with several ports, %p in it stands for "
                   "the port."),
    QStringLiteral("OUT"));
const QCommandLineOption BaseOption(
    QStringLiteral("base"),
    QStringLiteral("The configuration or defaults file that gives the other region and the "
                   "header (default: the built-in defaults)."),
    QStringLiteral("FILE"));
const QCommandLineOption MemoryOutputOption(
    {QStringLiteral("o"), QStringLiteral("output")},
    QStringLiteral("read: write the memory data file FILE instead of printing the text; with "
                   "several ports, %p in it stands for the port."),
    QStringLiteral("FILE"));

const QList<QCommandLineOption> LineOptions = {SettingsOption, BaudOption, ParityOption,
                                               DataBitsOption, StopBitsOption};

QList<QCommandLineOption> With(QList<QCommandLineOption> a, const QList<QCommandLineOption>& b) {
    a += b;
    return a;
}

// ----- What every link command sets up -----

struct LinkSetup {
    std::vector<PortName> ports;
    QString settings;
    LinkTiming timing;
    bool json = false;
    QString configDir; // where "com N" links are looked up, as orvcfg does
    std::unique_ptr<QtSerialPortFactory> factory;
    std::shared_ptr<QFile> log;

    std::unique_ptr<SerialPort> makePort(const PortName& name) const {
        std::unique_ptr<SerialPort> port =
            name.isComPort() ? factory->createPort() : factory->createDevicePort(name.device);
        port->setHolder(QStringLiteral("\"%1\" port").arg(name.label));
        if (log) {
            port = std::make_unique<LoggingSerialPort>(std::move(port), name.label,
                                                       [log = log](const QString& line) {
                                                           log->write(line.toUtf8() + '\n');
                                                           log->flush();
                                                       });
        }
        return port;
    }
};

// The per-user folder orvcfg keeps its files and "com N" links in (~/.config/orvcfg).
QString OrvcfgConfigDir() {
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation))
        .filePath(QStringLiteral("orvcfg"));
}

int Usage(Console& console, const QString& command, const QString& message) {
    console.error(message);
    console.printError(QStringLiteral("Try 'orvctl %1 --help'.\n").arg(command));
    return ExitTrouble;
}

// Reads the options every link command shares. `fallbackPort`: the port a file names, used when
// no --port is given (0: none). Nothing when they are not usable; the message is out then.
std::optional<LinkSetup> ReadSetup(const CommandCall& call, const QString& command,
                                   bool lineOptions, int fallbackPort = 0) {
    Console& console = call.console();
    LinkSetup s;
    QStringList given = call.values(QStringLiteral("port"));
    if (given.isEmpty() && fallbackPort > 0)
        given << QStringLiteral("com %1").arg(fallbackPort);
    if (given.isEmpty()) {
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
    s.configDir = OrvcfgConfigDir();
    s.factory = std::make_unique<QtSerialPortFactory>(s.configDir);
    for (PortName& name : s.ports) {
        if (name.isComPort())
            name.resolved = s.factory->deviceFor(name.comPort);
    }
    if (call.isSet(QStringLiteral("log"))) {
        const QString path = call.value(QStringLiteral("log"));
        auto log = std::make_shared<QFile>(path);
        if (QFileInfo(path).isDir() ||
            !log->open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered)) {
            console.error(QStringLiteral("the log %1 could not be written: %2")
                              .arg(path, QFileInfo(path).isDir() ? QStringLiteral("it is a folder")
                                                                 : log->errorString()));
            return std::nullopt;
        }
        s.log = log;
    }
    return s;
}

// "com 2" -> "com2", "/dev/ttyUSB0" -> "ttyUSB0": a port as part of a file name.
QString PortFileName(const PortName& name) {
    if (name.isComPort())
        return QStringLiteral("com%1").arg(name.comPort);
    const QString file = QFileInfo(name.device).fileName();
    return file.isEmpty() ? QStringLiteral("port") : file;
}

// The output file of each port: OUT itself for one port; with several, OUT with %p replaced by
// the port. Nothing (with the message out) when several ports would write one file.
std::optional<QStringList> OutputPaths(const QString& out, const LinkSetup& s, Console& console,
                                       const QString& command) {
    QStringList paths;
    if (s.ports.size() == 1) {
        paths << QString(out).replace(QStringLiteral("%p"), PortFileName(s.ports.front()));
        return paths;
    }
    if (!out.contains(QStringLiteral("%p"))) {
        Usage(console, command,
              QStringLiteral("with several ports the output name needs %p, which stands for the "
                             "port (\"upload-%p.cfg\")"));
        return std::nullopt;
    }
    for (const PortName& name : s.ports) {
        const QString path = QString(out).replace(QStringLiteral("%p"), PortFileName(name));
        if (paths.contains(path)) {
            Usage(console, command,
                  QStringLiteral("two ports would write %1; give them distinct names").arg(path));
            return std::nullopt;
        }
        paths << path;
    }
    return paths;
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

PortOutcome OkOutcome(const ExchangeResult& result, const QString& more = QString()) {
    PortOutcome o;
    o.status = PortStatus::Ok;
    o.key = QStringLiteral("ok");
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

// ----- download -----

class DownloadJob : public PortJob {
public:
    DownloadJob(PortName name, std::unique_ptr<SerialPort> port, QString settings,
                LinkTiming timing, const Image& image, bool save, bool verify, QString file)
        : PortJob(std::move(name), std::move(port), std::move(settings), timing), image_(image),
          save_(save), verify_(verify), file_(std::move(file)) {}

protected:
    void begin() override {
        run(std::make_unique<DownloadExchange>(target(), image_, save_, timing()));
    }

    void finished(const ExchangeResult& result) override {
        if (!result.ok()) {
            PortOutcome o = FailureOutcome(result);
            if (verifying_)
                o.text =
                    downloaded_.message.text.simplified() + QStringLiteral(" Verify: ") + o.text;
            complete(o);
            return;
        }
        if (!verify_) {
            complete(OkOutcome(result));
            return;
        }
        if (!verifying_) {
            verifying_ = true;
            downloaded_ = result;
            // The download lets go of the port once its `finished` has been handled: the upload
            // starts after that.
            QMetaObject::invokeMethod(
                this,
                [this] {
                    if (!isDone()) // not interrupted meanwhile
                        run(std::make_unique<UploadExchange>(target(), UploadRequest::Configuration,
                                                             timing()));
                },
                Qt::QueuedConnection);
            return;
        }
        complete(compare(result));
    }

private:
    PortOutcome compare(const ExchangeResult& upload) const {
        const UploadBlock& block = *upload.upload;
        const int first = RegionFirst(block.region);
        QStringList differ;
        for (int i = 0; i < RegionSize(block.region) && i < block.settings.size(); ++i) {
            if (static_cast<quint8>(block.settings[i]) != image_[first + i])
                differ << QString::number(first + i);
        }
        PortOutcome o = OkOutcome(downloaded_);
        o.extra.insert(QStringLiteral("region"), RegionName(block.region));
        o.extra.insert(QStringLiteral("verified"), differ.isEmpty());
        if (differ.isEmpty()) {
            o.text += QStringLiteral(" Verified: the decoder's %1 match %2.")
                          .arg(RegionWords(block.region), file_);
            return o;
        }
        o.status = PortStatus::Failed;
        o.key = QStringLiteral("verify_failed");
        QString where = differ.size() == 1 ? QStringLiteral("byte ") + differ.front()
                                           : QStringLiteral("%1 bytes: ").arg(differ.size()) +
                                                 differ.mid(0, 8).join(QStringLiteral(", "));
        if (differ.size() > 8)
            where += QStringLiteral(" and %1 more").arg(differ.size() - 8);
        o.text += QStringLiteral(" Verify failed: the decoder's %1 differ from %2 in %3.")
                      .arg(RegionWords(block.region), file_, where);
        QJsonArray bytes;
        for (const QString& b : differ)
            bytes.append(b.toInt());
        o.extra.insert(QStringLiteral("differing_bytes"), bytes);
        return o;
    }

    Image image_;
    bool save_;
    bool verify_;
    QString file_;
    bool verifying_ = false;
    ExchangeResult downloaded_;
};

int Download(const CommandCall& call) {
    Console& console = call.console();
    const QString path = call.operands().at(0);
    QString why;
    const auto file = LoadConfigFile(path, &why);
    if (!file) {
        console.error(why);
        return ExitTrouble;
    }
    auto setup = ReadSetup(call, QStringLiteral("download"), true,
                           file->hasHeader() ? file->contents.ComPort : 0);
    if (!setup)
        return ExitTrouble;
    const bool verify = call.isSet(QStringLiteral("verify"));
    if (verify && EvenOrOdd(setup->settings))
        return Usage(console, QStringLiteral("download"),
                     UploadParityRefusal(QStringLiteral("--verify uploads, and an upload")));
    LinkSession session(console, {QStringLiteral("download"), setup->json});
    for (const PortName& name : setup->ports) {
        session.add(std::make_unique<DownloadJob>(
            name, setup->makePort(name), setup->settings, setup->timing, file->contents.data,
            !call.isSet(QStringLiteral("not-save")), verify, path));
    }
    return session.exec();
}

// ----- upload and version -----

class UploadJob : public PortJob {
public:
    UploadJob(PortName name, std::unique_ptr<SerialPort> port, QString settings, LinkTiming timing,
              CfgContents base, QString out)
        : PortJob(std::move(name), std::move(port), std::move(settings), timing),
          base_(std::move(base)), out_(std::move(out)) {}

protected:
    void begin() override {
        run(std::make_unique<UploadExchange>(target(), UploadRequest::Configuration, timing()));
    }

    void finished(const ExchangeResult& result) override {
        if (!result.ok()) {
            complete(FailureOutcome(result));
            return;
        }
        const UploadBlock& block = *result.upload;
        // What the window holds after an upload over RS232 on this port, saved.
        CfgContents contents = base_;
        ApplyUpload(contents.data, block);
        contents.LinkMode = 1;
        if (name().isComPort())
            contents.ComPort = static_cast<qint16>(qBound(1, name().comPort, 6));
        QString why;
        if (!SaveConfigFile(out_, ConfigFile{FileFormat::Cfg, contents}, &why)) {
            PortOutcome o;
            o.status = PortStatus::Trouble;
            o.key = QStringLiteral("file_error");
            o.text = result.message.text.simplified() +
                     QStringLiteral(" But %1 could not be written: %2").arg(out_, why);
            complete(o);
            return;
        }
        PortOutcome o = OkOutcome(
            result, QStringLiteral("The %1 are in %2.").arg(RegionWords(block.region), out_));
        o.extra = VersionJson(block);
        o.extra.insert(QStringLiteral("output"), out_);
        complete(o);
    }

private:
    CfgContents base_;
    QString out_;
};

int Upload(const CommandCall& call) {
    Console& console = call.console();
    const QString command = QStringLiteral("upload");
    if (!call.isSet(QStringLiteral("output")))
        return Usage(console, command, QStringLiteral("-o OUT is needed"));
    CfgContents base;
    Config newFile;
    newFile.SetNewFileHeaders(QDate::currentDate());
    base.DeviceName = newFile.DeviceName;
    base.UserName = newFile.UserName;
    base.SetupDate = newFile.SetupDate;
    base.Description = newFile.Description;
    base.data = Config::BuiltInDefaults();
    int fallbackPort = 0;
    if (call.isSet(QStringLiteral("base"))) {
        QString why;
        const auto file = LoadConfigFile(call.value(QStringLiteral("base")), &why);
        if (!file) {
            console.error(why);
            return ExitTrouble;
        }
        if (file->hasHeader()) {
            base = file->contents;
            fallbackPort = base.ComPort;
        } else {
            base.data = file->contents.data;
        }
    }
    auto setup = ReadSetup(call, command, true, fallbackPort);
    if (!setup)
        return ExitTrouble;
    if (EvenOrOdd(setup->settings))
        return Usage(console, command, UploadParityRefusal(QStringLiteral("an upload")));
    const auto outs = OutputPaths(call.value(QStringLiteral("output")), *setup, console, command);
    if (!outs)
        return ExitTrouble;
    LinkSession session(console, {command, setup->json});
    for (size_t i = 0; i < setup->ports.size(); ++i) {
        const PortName& name = setup->ports[i];
        session.add(std::make_unique<UploadJob>(name, setup->makePort(name), setup->settings,
                                                setup->timing, base, outs->at(i)));
    }
    return session.exec();
}

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
    Console& console = call.console();
    const QString command = QStringLiteral("version");
    auto setup = ReadSetup(call, command, true);
    if (!setup)
        return ExitTrouble;
    if (EvenOrOdd(setup->settings))
        return Usage(console, command,
                     UploadParityRefusal(QStringLiteral("asking for the version")));
    LinkSession session(console, {command, setup->json});
    for (const PortName& name : setup->ports) {
        session.add(std::make_unique<VersionJob>(name, setup->makePort(name), setup->settings,
                                                 setup->timing));
    }
    return session.exec();
}

// ----- flash -----

class FlashJob : public PortJob {
public:
    FlashJob(PortName name, std::unique_ptr<SerialPort> port, LinkTiming timing, QByteArray image)
        : PortJob(std::move(name), std::move(port), IspSerialSettings, timing),
          image_(std::move(image)) {}

protected:
    void begin() override { run(std::make_unique<FirmwareExchange>(target(), image_, timing())); }

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
};

int Flash(const CommandCall& call) {
    Console& console = call.console();
    const QString command = QStringLiteral("flash");
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
    auto setup = ReadSetup(call, command, false);
    if (!setup)
        return ExitTrouble;
    LinkSession::Options options{command, setup->json};
    options.showProgress = true;
    LinkSession session(console, options);
    for (const PortName& name : setup->ports)
        session.add(
            std::make_unique<FlashJob>(name, setup->makePort(name), setup->timing, file.bytes));
    return session.exec();
}

// ----- memory -----

class MemoryJob : public PortJob {
public:
    // out: the memory data file to write; empty: the text is printed when `print` says so,
    // under a heading with the port when `heading` says so.
    MemoryJob(PortName name, std::unique_ptr<SerialPort> port, QString settings, LinkTiming timing,
              bool read, QString out, Console& console, bool print, bool heading)
        : PortJob(std::move(name), std::move(port), std::move(settings), timing), read_(read),
          out_(std::move(out)), console_(console), print_(print), heading_(heading) {}

protected:
    void begin() override {
        if (read_)
            run(std::make_unique<ReadMemoryExchange>(target(), timing()));
        else
            run(std::make_unique<ClearMemoryExchange>(target(), timing()));
    }

    void finished(const ExchangeResult& result) override {
        if (!result.ok()) {
            complete(FailureOutcome(result));
            return;
        }
        if (!read_) {
            complete(OkOutcome(result));
            return;
        }
        const int lines = static_cast<int>(result.memoryText.count("\r\n"));
        if (out_.isEmpty()) {
            PortOutcome o = OkOutcome(result);
            o.extra.insert(QStringLiteral("lines"), lines);
            o.extra.insert(QStringLiteral("text"),
                           QString::fromLatin1(result.memoryText)
                               .replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
            if (print_) {
                // The records' bytes are ISO 8859-1; the terminal gets them in UTF-8. With
                // several ports each text is headed by its port.
                QString text = QString::fromLatin1(result.memoryText);
                text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
                if (heading_)
                    text.prepend(QStringLiteral("==> %1 <==\n").arg(name().label));
                console_.print(text);
                console_.flush();
            }
            complete(o);
            return;
        }
        // The memory data file: the lines, each ended by CR LF, then one more CR LF.
        QString why;
        if (!WriteWholeFile(out_, result.memoryText + "\r\n", &why)) {
            PortOutcome o;
            o.status = PortStatus::Trouble;
            o.key = QStringLiteral("file_error");
            o.text = result.message.text.simplified() +
                     QStringLiteral(" But %1 could not be written: %2").arg(out_, why);
            complete(o);
            return;
        }
        PortOutcome o =
            OkOutcome(result, QStringLiteral("%1 line%2 in %3.")
                                  .arg(lines)
                                  .arg(lines == 1 ? QString() : QStringLiteral("s"), out_));
        o.extra.insert(QStringLiteral("lines"), lines);
        o.extra.insert(QStringLiteral("output"), out_);
        complete(o);
    }

private:
    bool read_;
    QString out_;
    Console& console_;
    bool print_;
    bool heading_;
};

int Memory(const CommandCall& call) {
    Console& console = call.console();
    const QString action = call.operands().at(0);
    const QString command = QStringLiteral("memory");
    if (action != QLatin1String("read") && action != QLatin1String("clear"))
        return Usage(console, command,
                     QStringLiteral("unknown action '%1': read or clear").arg(action));
    const bool read = action == QLatin1String("read");
    if (!read && call.isSet(QStringLiteral("output")))
        return Usage(console, command, QStringLiteral("memory clear writes no file"));
    auto setup = ReadSetup(call, command, true);
    if (!setup)
        return ExitTrouble;
    QStringList outs;
    if (read && call.isSet(QStringLiteral("output"))) {
        const auto paths =
            OutputPaths(call.value(QStringLiteral("output")), *setup, console, command);
        if (!paths)
            return ExitTrouble;
        outs = *paths;
    }
    LinkSession::Options options{command + QLatin1Char(' ') + action, setup->json};
    // The memory text itself is the output of a read without -o.
    const bool printText = read && outs.isEmpty() && !setup->json;
    options.resultsToErr = printText;
    LinkSession session(console, options);
    for (size_t i = 0; i < setup->ports.size(); ++i) {
        const PortName& name = setup->ports[i];
        session.add(std::make_unique<MemoryJob>(name, setup->makePort(name), setup->settings,
                                                setup->timing, read, outs.value(int(i)), console,
                                                printText, setup->ports.size() > 1));
    }
    return session.exec();
}

// ----- monitor -----

int Monitor(const CommandCall& call) {
    Console& console = call.console();
    const QString command = QStringLiteral("monitor");
    auto setup = ReadSetup(call, command, true);
    if (!setup)
        return ExitTrouble;
    if (setup->ports.size() != 1 || setup->json)
        return Usage(console, command, QStringLiteral("monitor watches one port"));
    const PortName name = setup->ports.front();
    std::unique_ptr<SerialPort> port = setup->makePort(name);
    port->setSettings(setup->settings);
    port->setCommPort(name.isComPort() ? name.comPort : 1);
    if (!port->open()) {
        console.error(QStringLiteral("%1: not available: %2").arg(name.label, port->errorString()));
        return ExitLinkFailed;
    }
    port->discardInput();
    port->setReceiveThreshold(1);
    console.printError(QStringLiteral("%1: watching at %2; Ctrl+C ends.\n")
                           .arg(name.label, setup->settings.trimmed()));
    console.flush();

    // As the test window does: the first bytes of a datum start a short wait, and what has
    // arrived by its end is shown as one line, control bytes by name.
    QEventLoop loop;
    InterruptWatcher interrupts;
    QTimer wait;
    wait.setSingleShot(true);
    wait.setTimerType(Qt::PreciseTimer);
    wait.setInterval(setup->timing.receptionWaitMsecs);
    QByteArray reception;
    int code = ExitOk;
    auto show = [&] {
        wait.stop();
        if (reception.isEmpty())
            return;
        console.print(VisibleText(std::exchange(reception, {})) + QLatin1Char('\n'));
        console.flush();
    };
    QObject::connect(&wait, &QTimer::timeout, &loop, show);
    QObject::connect(port.get(), &SerialPort::received, &loop, [&](const QByteArray& bytes) {
        reception += bytes;
        if (!wait.isActive())
            wait.start();
    });
    QObject::connect(port.get(), &SerialPort::lost, &loop, [&](const QString& reason) {
        show();
        console.error(QStringLiteral("%1: not available (lost): %2").arg(name.label, reason));
        code = ExitLinkFailed;
        loop.quit();
    });
    QObject::connect(&interrupts, &InterruptWatcher::interrupted, &loop, [&] {
        show();
        loop.quit();
    });
    loop.exec();
    port->close();
    return code;
}

} // namespace

std::optional<QString> LinkSettingsText(const QString& settings, const QString& baud,
                                        const QString& parity, const QString& dataBits,
                                        const QString& stopBits, QString* why) {
    const QString start = settings.isNull() ? StartSettings : settings;
    QStringList parts = start.split(QLatin1Char(','));
    if (parts.size() != 4 || !ParseSerialSettings(start)) {
        *why = QStringLiteral("'%1' is not a line setting such as \"9600,N,8,1\"").arg(settings);
        return std::nullopt;
    }
    for (QString& p : parts)
        p = p.trimmed();
    if (!baud.isNull()) {
        bool ok = false;
        const int rate = baud.trimmed().toInt(&ok);
        if (!ok || rate <= 0) {
            *why = QStringLiteral("'%1' is not a baud rate").arg(baud);
            return std::nullopt;
        }
        parts[0] = QString::number(rate);
    }
    if (!parity.isNull()) {
        static const QStringList Names = {QStringLiteral("none"), QStringLiteral("even"),
                                          QStringLiteral("odd"), QStringLiteral("mark"),
                                          QStringLiteral("space")};
        const QString p = parity.trimmed().toLower();
        qsizetype i = Names.indexOf(p);
        if (i < 0 && p.size() == 1)
            i = QStringLiteral("neoms").indexOf(p);
        if (i < 0) {
            *why =
                QStringLiteral("'%1' is not a parity: none, even, odd, mark or space").arg(parity);
            return std::nullopt;
        }
        parts[1] = QStringLiteral("NEOMS").at(i);
    }
    auto choice = [why](const QString& value, const QString& a, const QString& b,
                        const QString& what) -> std::optional<QString> {
        const QString v = value.trimmed();
        if (v == a || v == b)
            return v;
        *why = QStringLiteral("'%1' is not a number of %2: %3 or %4").arg(value, what, a, b);
        return std::nullopt;
    };
    if (!dataBits.isNull()) {
        const auto v =
            choice(dataBits, QStringLiteral("7"), QStringLiteral("8"), QStringLiteral("data bits"));
        if (!v)
            return std::nullopt;
        parts[2] = *v;
    }
    if (!stopBits.isNull()) {
        const auto v =
            choice(stopBits, QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("stop bits"));
        if (!v)
            return std::nullopt;
        parts[3] = *v;
    }
    parts[1] = parts[1].toUpper();
    // As the window writes it: the stop bits followed by a blank.
    return parts.join(QLatin1Char(',')) + QLatin1Char(' ');
}

LinkTiming CommandLinkTiming() {
    // Test-only: the suite sets this to run the exchanges with scaled time-outs and pauses.
    bool ok = false;
    const double factor = qEnvironmentVariable("ORVCTL_TIMING_SCALE").toDouble(&ok);
    if (ok && factor > 0 && factor <= 1)
        return LinkTiming{}.scaled(factor);
    return LinkTiming{};
}

bool IsLinkCommand(const QString& name) {
    static const QStringList Names = {QStringLiteral("download"), QStringLiteral("upload"),
                                      QStringLiteral("version"),  QStringLiteral("flash"),
                                      QStringLiteral("memory"),   QStringLiteral("monitor")};
    return Names.contains(name);
}

void AddLinkCommands(CommandSet& commands) {
    const QString rs232 = QStringLiteral(
        " RS232 only: the keyboard link needs orvcfg's window, which receives the decoder's "
        "typed answers.");
    const QString ports = QStringLiteral(
        " With several --port the command runs on all of them at once; each port gets its own "
        "result line, then a summary follows. Exit status: 0 when every port succeeded, 1 when "
        "a decoder or port failed, 2 on usage or file trouble, 130 (143) when ended by SIGINT "
        "(SIGTERM).");
    const QList<QCommandLineOption> common = {PortOption, JsonOption, LogOption};
    commands.add(
        {QStringLiteral("download"),
         QStringLiteral("download FILE --port P... [--not-save] [--verify]"),
         QStringLiteral("Send a file's configuration to decoders."),
         QStringLiteral("Sends the 85-byte image of FILE (a configuration or defaults file) to "
                        "the decoder on each port, as \"Download to Decoder\" does; the decoder "
                        "keeps it unless --not-save is given. --verify then uploads the "
                        "decoder's region and compares it with FILE. Without --port, the port "
                        "is the \"com N\" that a configuration file names.") +
             rs232 + ports,
         With(With(common, LineOptions), {NotSaveOption, VerifyOption}), 1, 1, Download});
    commands.add(
        {QStringLiteral("upload"), QStringLiteral("upload --port P... -o OUT [--base FILE]"),
         QStringLiteral("Save a decoder's configuration in a configuration file."),
         QStringLiteral("Asks the decoder for its settings, as \"Upload To PC\" does, and writes "
                        "OUT, a configuration file byte for byte as orvcfg saves it: the region "
                        "the decoder owns comes from the decoder, the other region and the "
                        "header records from --base (or the built-in defaults and a new file's "
                        "header). Nothing is written when the upload fails.") +
             rs232 + ports,
         With(With(common, LineOptions), {UploadOutputOption, BaseOption}), 0, 0, Upload});
    commands.add({QStringLiteral("version"), QStringLiteral("version --port P..."),
                  QStringLiteral("Print the firmware version of decoders."),
                  QStringLiteral("Asks the decoder for its firmware version, as \"Get Firmware "
                                 "Version\" does, and prints it.") +
                      rs232 + ports,
                  With(common, LineOptions), 0, 0, Version});
    commands.add(
        {QStringLiteral("flash"), QStringLiteral("flash FIRMWARE --port P..."),
         QStringLiteral("Send a firmware image to the decoder's loader."),
         QStringLiteral("Sends FIRMWARE (a .bin image of at most 65,535 bytes) to the firmware "
                        "loader of the decoder on each port, page by page, always at "
                        "19200,N,8,1. The progress shows as a bar on a terminal and as plain "
                        "lines otherwise.") +
             ports,
         common, 1, 1, Flash});
    commands.add(
        {QStringLiteral("memory"), QStringLiteral("memory read|clear --port P... [-o FILE]"),
         QStringLiteral("Read or clear the decoder's data memory."),
         QStringLiteral("read: reads the decoder's memory records and prints them as lines of "
                        "text, or writes them with -o as a memory data file (the lines ended by "
                        "CR LF, then one more CR LF). clear: empties the memory. Nothing is "
                        "written when the read fails.") +
             rs232 + ports,
         With(With(common, LineOptions), {MemoryOutputOption}), 1, 1, Memory});
    commands.add(
        {QStringLiteral("monitor"),
         QStringLiteral("monitor --port P [--settings TEXT]"),
         QStringLiteral("Print what a decoder sends, until Ctrl+C."),
         QStringLiteral("Opens the port and prints what the decoder sends, as the KR Test window "
                        "shows it: a line for each datum, control bytes by name (<STX>, <CR>). "
                        "Ends with status 0 on Ctrl+C (SIGINT) or SIGTERM, with 1 when the port "
                        "cannot be opened or is lost."),
         {PortOption, SettingsOption, BaudOption, ParityOption, DataBitsOption, StopBitsOption,
          LogOption},
         0,
         0,
         Monitor});
}

} // namespace orv
