// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "linkcommands.h"

#include "commandset.h"
#include "console.h"
#include "filecommands.h"
#include "interrupts.h"
#include "linksession.h"
#include "linksetup.h"

#include "core/cfgformat.h"
#include "core/filename.h"
#include "core/userfolder.h"
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
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QTimer>

#include <memory>
#include <sys/stat.h>

namespace orv {

namespace {

// ----- Options -----

// The monitor watches one port.
const QCommandLineOption MonitorPortOption({QStringLiteral("p"), QStringLiteral("port")}, PortWords,
                                           QStringLiteral("P"));
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
const QCommandLineOption MemoryRawOption(
    QStringLiteral("raw"),
    QStringLiteral("read: print the decoder's bytes as they are (ISO 8859-1, lines ended by CR "
                   "LF, control bytes and all) instead of the text with control bytes by name."));
const QCommandLineOption MonitorRawOption(
    QStringLiteral("raw"),
    QStringLiteral("Print the bytes as they arrive, unchanged, instead of a line per datum with "
                   "control bytes by name."));

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
    LinkSession::Options options{QStringLiteral("download"), setup->json};
    options.log = setup->log.get();
    options.record = setup->record.get();
    LinkSession session(console, options);
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
            contents.ComPort = static_cast<qint16>(name().comPort);
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
    LinkSession::Options options{command, setup->json};
    options.log = setup->log.get();
    options.record = setup->record.get();
    LinkSession session(console, options);
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
    LinkSession::Options options{command, setup->json};
    options.log = setup->log.get();
    LinkSession session(console, options);
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
          image_(std::move(image)) {
        connect(this, &PortJob::progress, this, [this](int value, int) { pagesDone_ = value; });
    }

    // The pages left, each taking as long as the pages so far did (before the first one: its
    // time on the line at 19200 baud and the loader's pause after it).
    qint64 msecsLeft() const override {
        const int pages = IspProgressMaximum(image_.size());
        const qint64 pageMsecs =
            pagesDone_ > 0 ? clock_.elapsed() / pagesDone_
                           : IspPacketSize * 10 * 1000 / 19200 + timing().ispPagePauseMsecs;
        return qMax(0, pages - pagesDone_) * pageMsecs;
    }

protected:
    void begin() override {
        clock_.start();
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
    QElapsedTimer clock_;
    int pagesDone_ = 0;
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
    // Once the loader has erased the decoder, only the whole image makes it work again.
    options.uninterruptible = true;
    options.log = setup->log.get();
    options.record = setup->record.get();
    LinkSession session(console, options);
    for (const PortName& name : setup->ports)
        session.add(
            std::make_unique<FlashJob>(name, setup->makePort(name), setup->timing, file.bytes));
    return session.exec();
}

// ----- memory -----

// How a memory read prints the text: not at all (a file or JSON takes it), for a person (control
// bytes by name, in UTF-8), or as the decoder's bytes.
enum class MemoryPrint { None, Visible, Raw };

// The memory text for a person: a line for each record, control bytes by name, so that no byte
// of the decoder reaches a terminal as a command.
QString VisibleMemoryText(QByteArrayView text) {
    QString out;
    while (!text.isEmpty()) {
        const qsizetype end = text.indexOf(QByteArrayView("\r\n"));
        out += VisibleText(end < 0 ? text : text.first(end), VisibleStyle::Terminal) +
               QLatin1Char('\n');
        text = end < 0 ? QByteArrayView() : text.sliced(end + 2);
    }
    return out;
}

class MemoryJob : public PortJob {
public:
    // out: the memory data file to write; empty: the text is printed as `print` says, under a
    // heading with the port when `heading` says so.
    MemoryJob(PortName name, std::unique_ptr<SerialPort> port, QString settings, LinkTiming timing,
              bool read, QString out, Console& console, MemoryPrint print, bool heading)
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
            if (print_ != MemoryPrint::None) {
                // With several ports each text is headed by its port.
                const QString heading =
                    heading_ ? QStringLiteral("==> %1 <==\n")
                                   .arg(VisibleText(name().label, VisibleStyle::Terminal))
                             : QString();
                // The records' bytes are ISO 8859-1; a person's terminal gets them in UTF-8.
                if (print_ == MemoryPrint::Raw)
                    console_.writeOut(heading.toUtf8() + result.memoryText);
                else
                    console_.print(heading + VisibleMemoryText(result.memoryText));
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
    MemoryPrint print_;
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
    const bool raw = call.isSet(QStringLiteral("raw"));
    if (raw && !read)
        return Usage(console, command, QStringLiteral("memory clear prints no text"));
    if (raw && (call.isSet(QStringLiteral("output")) || call.isSet(QStringLiteral("json"))))
        return Usage(console, command,
                     QStringLiteral("--raw prints the text; it does not go with -o or --json"));
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
    options.log = setup->log.get();
    // The memory text itself is the output of a read without -o.
    const bool printText = read && outs.isEmpty() && !setup->json;
    options.resultsToErr = printText;
    const MemoryPrint print = !printText ? MemoryPrint::None
                              : raw      ? MemoryPrint::Raw
                                         : MemoryPrint::Visible;
    LinkSession session(console, options);
    for (size_t i = 0; i < setup->ports.size(); ++i) {
        const PortName& name = setup->ports[i];
        session.add(std::make_unique<MemoryJob>(name, setup->makePort(name), setup->settings,
                                                setup->timing, read, outs.value(int(i)), console,
                                                print, setup->ports.size() > 1));
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
    // arrived by its end is shown as one line, control bytes by name (DEL and the C1 controls
    // too, which the window shows as characters: a terminal would act on them). --raw passes
    // the bytes on as they come.
    const bool raw = call.isSet(QStringLiteral("raw"));
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
        console.print(VisibleText(std::exchange(reception, {}), VisibleStyle::Terminal) +
                      QLatin1Char('\n'));
        console.flush();
    };
    QObject::connect(&wait, &QTimer::timeout, &loop, show);
    QObject::connect(port.get(), &SerialPort::received, &loop, [&](const QByteArray& bytes) {
        if (raw) {
            console.writeOut(bytes);
            console.flush();
            return;
        }
        reception += bytes;
        if (!wait.isActive())
            wait.start();
    });
    bool logTold = false;
    auto logFailed = [&] {
        if (std::exchange(logTold, true))
            return;
        show();
        console.error(setup->log->errorMessage());
        code = ExitTrouble;
        loop.quit();
    };
    if (setup->log)
        QObject::connect(setup->log.get(), &FrameLog::failed, &loop, logFailed);
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
    if (setup->log && !setup->log->error().isEmpty())
        logFailed();
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
    // Only the rates the window offers: the decoder takes no other.
    const auto refuseBaud = [why](const QString& rate) {
        *why = QStringLiteral("'%1' is not a baud rate of the link: give one of %2")
                   .arg(rate, LinkBaudRates.join(QStringLiteral(", ")));
        return std::nullopt;
    };
    if (!baud.isNull())
        parts[0] = baud.trimmed();
    if (!LinkBaudRates.contains(parts[0]))
        return refuseBaud(parts[0]);
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
                                      QStringLiteral("memory"),   QStringLiteral("monitor"),
                                      QStringLiteral("apply")};
    return Names.contains(name);
}

void AddLinkCommands(CommandSet& commands) {
    const QString rs232 = QStringLiteral(
        " RS232 only: the keyboard link needs orvcfg's window, which receives the decoder's "
        "typed answers.");
    const QString ports = QStringLiteral(
        "\nWith several --port the command runs on all of them at once; each port gets its own "
        "result line, then a summary follows.");
    const QString status = QStringLiteral(
        "\nExit status: 0 when every port succeeded, 1 when a decoder or port failed, 2 on usage "
        "or file trouble (the log included), 130, 143 or 129 when ended by SIGINT, SIGTERM or "
        "SIGHUP, which close every port cleanly.");
    const QList<QCommandLineOption> common = {PortOption, JsonOption, LogOption};
    commands.add(
        {QStringLiteral("download"),
         QStringLiteral("download FILE [--port P...] [--not-save] [--verify]"),
         QStringLiteral("Send a file's configuration to decoders."),
         QStringLiteral("Sends the 85-byte image of FILE (a configuration or defaults file) to "
                        "the decoder on each port, as \"Download to Decoder\" does; the decoder "
                        "keeps it unless --not-save is given. --verify then uploads the "
                        "decoder's region and compares it with FILE. Without --port, the port "
                        "is the \"com N\" that a configuration file records.") +
             rs232 + ports + status,
         With(With(common, LineOptions), {NotSaveOption, VerifyOption, RecordOption}), 1, 1,
         Download});
    commands.add(
        {QStringLiteral("upload"), QStringLiteral("upload [--port P...] -o OUT [--base FILE]"),
         QStringLiteral("Save a decoder's configuration in a configuration file."),
         QStringLiteral("Asks the decoder for its settings, as \"Upload To PC\" does, and writes "
                        "OUT, a configuration file byte for byte as orvcfg saves it: the region "
                        "the decoder owns comes from the decoder, the other region and the "
                        "header records from --base (or the built-in defaults and a new file's "
                        "header). The file records the RS232 link, and the port when it is "
                        "\"com N\". Nothing is written when the upload fails. Without --port, "
                        "the port is the \"com N\" that the --base configuration file records.") +
             rs232 + ports + status,
         With(With(common, LineOptions), {UploadOutputOption, BaseOption, RecordOption}), 0, 0,
         Upload});
    commands.add({QStringLiteral("version"), QStringLiteral("version --port P..."),
                  QStringLiteral("Print the firmware version of decoders."),
                  QStringLiteral("Asks the decoder for its firmware version, as \"Get Firmware "
                                 "Version\" does, and prints it; control bytes in it are shown "
                                 "by name (<ESC>, <9B>), --json gives it as sent.") +
                      rs232 + ports + status,
                  With(common, LineOptions), 0, 0, Version});
    commands.add(
        {QStringLiteral("flash"), QStringLiteral("flash FIRMWARE --port P..."),
         QStringLiteral("Send a firmware image to the decoder's loader."),
         QStringLiteral("Sends FIRMWARE (a regular file of at most 65,535 bytes) to the firmware "
                        "loader of the decoder on each port, page by page, always at "
                        "19200,N,8,1. The progress shows as a bar on a terminal and as plain "
                        "lines otherwise.") +
             ports +
             QStringLiteral(
                 "\nA transfer cannot be interrupted, as the decoder would be left without "
                 "firmware: SIGINT (Ctrl+C), SIGTERM and SIGHUP are held until every transfer "
                 "has ended, with a word on how long that takes, and then end orvctl with "
                 "status 130, 143 or 129. A closed output loses the lines, nothing else.\nExit "
                 "status: 0 when every port succeeded, 1 when a decoder or port failed, 2 on "
                 "usage or file trouble (the log included)."),
         With(common, {RecordOption}), 1, 1, Flash, false});
    commands.add(
        {QStringLiteral("memory"),
         QStringLiteral("memory read|clear --port P... [-o FILE] [--raw]"),
         QStringLiteral("Read or clear the decoder's data memory."),
         QStringLiteral("read: reads the decoder's memory records and prints them, a line for "
                        "each, control bytes by name (<ESC>, <7F>); --raw prints the bytes as "
                        "they are, and -o writes them as a memory data file (the lines ended by "
                        "CR LF, then one more CR LF). Nothing is written when the read fails. "
                        "clear: empties the memory.") +
             rs232 + ports + status,
         With(With(common, LineOptions), {MemoryOutputOption, MemoryRawOption}), 1, 1, Memory});
    commands.add(
        {QStringLiteral("monitor"), QStringLiteral("monitor --port P [--raw]"),
         QStringLiteral("Print what a decoder sends, until Ctrl+C."),
         QStringLiteral("Opens one port and prints what the decoder sends, as the KR Test window "
                        "shows it: a line for each datum, control bytes by name (<STX>, <CR>), "
                        "and DEL and the C1 controls as <7F>, <9B>, which a terminal would take "
                        "as commands. --raw prints the bytes unchanged.\nExit status: 0 when "
                        "ended by SIGINT (Ctrl+C), SIGTERM or SIGHUP, 1 when the port cannot be "
                        "opened or is lost, 2 on usage trouble or when the log cannot be "
                        "written."),
         With({MonitorPortOption}, With(LineOptions, {LogOption, MonitorRawOption})), 0, 0,
         Monitor});
}

} // namespace orv
