// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "linksetup.h"

#include "commandset.h"
#include "console.h"

#include "core/cfgformat.h"
#include "link/exchange/configexchanges.h"

#include <QDate>
#include <QJsonArray>

namespace orv {

namespace {

// ----- download -----

class DownloadJob : public PortJob {
public:
    DownloadJob(PortName name, std::unique_ptr<SerialPort> port, SerialSettings settings,
                LinkTiming timing, const Image& image, bool save, bool verify, QString file)
        : PortJob(std::move(name), std::move(port), std::move(settings), timing), image_(image),
          decoderKeeps_(save), verify_(verify), fileName_(std::move(file)) {}

protected:
    void begin() override {
        run(std::make_unique<DownloadExchange>(target(), image_, decoderKeeps_, timing()));
    }

    void finished(const ExchangeResult& result) override {
        if (!result.ok()) {
            PortOutcome o = FailureOutcome(result);
            if (verifying_)
                o.text = downloadResult_.message.text.simplified() + QStringLiteral(" Verify: ") +
                         o.text;
            complete(o);
            return;
        }
        if (!verify_) {
            complete(OkOutcome(result));
            return;
        }
        if (!verifying_) {
            verifying_ = true;
            downloadResult_ = result;
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
        PortOutcome o = OkOutcome(downloadResult_);
        o.extra.insert(QStringLiteral("region"), RegionName(block.region));
        o.extra.insert(QStringLiteral("verified"), differ.isEmpty());
        if (differ.isEmpty()) {
            o.text += QStringLiteral(" Verified: the decoder's %1 match %2.")
                          .arg(RegionWords(block.region), fileName_);
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
                      .arg(RegionWords(block.region), fileName_, where);
        QJsonArray bytes;
        for (const QString& b : differ)
            bytes.append(b.toInt());
        o.extra.insert(QStringLiteral("differing_bytes"), bytes);
        return o;
    }

    Image image_;
    bool decoderKeeps_;
    bool verify_;
    QString fileName_;
    bool verifying_ = false;
    ExchangeResult downloadResult_;
};

// ----- upload -----

class UploadJob : public PortJob {
public:
    UploadJob(PortName name, std::unique_ptr<SerialPort> port, SerialSettings settings,
              LinkTiming timing, CfgContents base, QString out)
        : PortJob(std::move(name), std::move(port), std::move(settings), timing),
          baseContents_(std::move(base)), outputPath_(std::move(out)) {}

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
        CfgContents contents = baseContents_;
        ApplyUpload(contents.data, block);
        contents.LinkMode = 1;
        if (name().isComPort())
            contents.ComPort = static_cast<qint16>(name().comPort);
        QString why;
        if (!SaveConfigFile(outputPath_, ConfigFile{FileFormat::Cfg, contents}, &why)) {
            PortOutcome o;
            o.status = PortStatus::Trouble;
            o.key = QStringLiteral("file_error");
            o.text = result.message.text.simplified() +
                     QStringLiteral(" But %1 could not be written: %2").arg(outputPath_, why);
            complete(o);
            return;
        }
        PortOutcome o = OkOutcome(
            result,
            QStringLiteral("The %1 are in %2.").arg(RegionWords(block.region), outputPath_));
        o.extra = VersionJson(block);
        o.extra.insert(QStringLiteral("output"), outputPath_);
        complete(o);
    }

private:
    CfgContents baseContents_;
    QString outputPath_;
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
    auto setup = ReadSetup(call, true, file->hasHeader() ? file->contents.ComPort : 0);
    if (!setup)
        return ExitTrouble;
    const bool verify = call.isSet(QStringLiteral("verify"));
    if (verify && EvenOrOdd(setup->settings))
        return call.usageError(
            UploadParityRefusal(QStringLiteral("--verify uploads, and an upload")));
    LinkSession session(console, setup->sessionOptions(QStringLiteral("download")));
    for (const PortName& name : setup->ports) {
        session.add(std::make_unique<DownloadJob>(
            name, setup->makePort(name), setup->settings, setup->timing, file->contents.data,
            !call.isSet(QStringLiteral("not-save")), verify, path));
    }
    return session.exec();
}

int Upload(const CommandCall& call) {
    Console& console = call.console();
    if (!call.isSet(QStringLiteral("output")))
        return call.usageError(QStringLiteral("-o OUT is needed"));
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
    auto setup = ReadSetup(call, true, fallbackPort);
    if (!setup)
        return ExitTrouble;
    if (EvenOrOdd(setup->settings))
        return call.usageError(UploadParityRefusal(QStringLiteral("an upload")));
    const auto outs = OutputPaths(call.value(QStringLiteral("output")), *setup, call);
    if (!outs)
        return ExitTrouble;
    LinkSession session(console, setup->sessionOptions(QStringLiteral("upload")));
    for (size_t i = 0; i < setup->ports.size(); ++i) {
        const PortName& name = setup->ports[i];
        session.add(std::make_unique<UploadJob>(name, setup->makePort(name), setup->settings,
                                                setup->timing, base, outs->at(i)));
    }
    return session.exec();
}

} // namespace

Command DownloadCommand() {
    return {QStringLiteral("download"),
            QStringLiteral("download FILE [--port P...] [--not-save] [--verify]"),
            QStringLiteral("Send a file's configuration to decoders."),
            LinkDescription(QStringLiteral(
                "Sends the 85-byte image of FILE (a configuration or defaults file) to the decoder "
                "on each port, as \"Download to Decoder\" does; the decoder keeps it unless "
                "--not-save is given. --verify then uploads the decoder's region and compares it "
                "with FILE. Without --port, the port is the \"com N\" that a configuration file "
                "records.")),
            LinkOptions({NotSaveOption(),
                         {QStringLiteral("verify"),
                          QStringLiteral("Upload the decoder's settings afterwards and compare "
                                         "them with FILE.")},
                         RecordOption()}),
            1,
            1,
            Download};
}

Command UploadCommand() {
    return {QStringLiteral("upload"),
            QStringLiteral("upload [--port P...] -o OUT [--base FILE]"),
            QStringLiteral("Save a decoder's configuration in a configuration file."),
            LinkDescription(QStringLiteral(
                "Asks the decoder for its settings, as \"Upload To PC\" does, and writes OUT, a "
                "configuration file byte for byte as orvcfg saves it: the region the decoder owns "
                "comes from the decoder, the other region and the header records from --base (or "
                "the built-in defaults and a new file's header). The file records the RS232 link, "
                "and the port when it is \"com N\". Nothing is written when the upload fails. "
                "Without --port, the port is the \"com N\" that the --base configuration file "
                "records.")),
            LinkOptions({{{QStringLiteral("o"), QStringLiteral("output")},
                          QStringLiteral("The configuration file to write; with several ports, "
                                         "%p in it stands for the port."),
                          QStringLiteral("OUT")},
                         {QStringLiteral("base"),
                          QStringLiteral("The configuration or defaults file that gives the "
                                         "other region and the header (default: the built-in "
                                         "defaults)."),
                          QStringLiteral("FILE")},
                         RecordOption()}),
            0,
            0,
            Upload};
}

} // namespace orv
