// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
// orvctl apply against decoder emulators on pseudo-terminals: a decoder as the file says, one
// that differs, one that does not take the file, the fault modes, --check, the JSON and the
// record; --watch with links that appear and vanish in a folder.

#include "orvctlrig.h"

#include "core/cfgformat.h"
#include "support/waiting.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSysInfo>
#include <QTest>

#include <csignal>
#include <sys/resource.h>

using namespace orv;
using namespace orv::test;
using emu::DecoderEmulator;
using emu::Fault;
using emu::Kind;

namespace {

// What the decoder holds at the start, and what it does with a download.
enum class Decoder {
    HoldsFile,       // the settings of the file already
    HoldsDefaults,   // its built-in settings
    KeepsOld,        // takes the download (07h) but keeps its settings
    RefusesDownload, // answers the download 15h
    Unplugged,       // no device at all
};

QByteArray RegionOf(const Image& image, Kind kind) {
    const QByteArray all(reinterpret_cast<const char*>(image.data()), ImageSize);
    return kind == Kind::Bar ? all.left(25) : all.mid(25);
}

QList<QJsonObject> JsonLines(const QByteArray& bytes) {
    QList<QJsonObject> lines;
    for (const QByteArray& l : bytes.split('\n')) {
        if (!l.isEmpty())
            lines << QJsonDocument::fromJson(l).object();
    }
    return lines;
}

} // namespace

Q_DECLARE_METATYPE(Decoder)

class TestOrvctlApply : public QObject, protected OrvctlRig {
    Q_OBJECT
private slots:
    void init() { startRig(); }
    void cleanup() { endRig(); }

    void apply_data();
    void apply();
    void severalPortsJsonAndRecord();
    void recordOfTheOtherCommands();
    void watch();
};

void TestOrvctlApply::apply_data() {
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<Decoder>("decoder");
    QTest::addColumn<Fault>("fault");
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<int>("exit");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QList<int>>("commands"); // the frames the decoder received
    const QList<int> read{0x80};
    const QList<int> changed{0x80, 0x01, 0x80};
    for (Kind kind : {Kind::Bar, Kind::Mag}) {
        const char* k = kind == Kind::Bar ? "bar" : "mag";
        QTest::addRow("%s unchanged", k) << kind << Decoder::HoldsFile << Fault::None
                                         << QStringList() << 0 << ": unchanged" << read;
        QTest::addRow("%s changed", k) << kind << Decoder::HoldsDefaults << Fault::None
                                       << QStringList() << 0 << ": changed and verified" << changed;
        QTest::addRow("%s check", k) << kind << Decoder::HoldsDefaults << Fault::None
                                     << QStringList{"--check"} << 3 << ": would change" << read;
    }
    auto row = [](const char* name, Decoder d, Fault f, QStringList options, int exit,
                  const char* message, QList<int> commands) {
        QTest::addRow("%s", name) << Kind::Bar << d << f << options << exit
                                  << QString::fromUtf8(message) << commands;
    };
    row("check, unchanged", Decoder::HoldsFile, Fault::None, {"--check"}, 0, ": unchanged", read);
    row("not save", Decoder::HoldsDefaults, Fault::None, {"--not-save"}, 0,
        ": changed and verified", {0x80, 0x02, 0x80});
    row("keeps its old settings", Decoder::KeepsOld, Fault::None, {}, 1,
        ": verify failed: after the download the decoder differs from", changed);
    row("refuses the download", Decoder::RefusesDownload, Fault::None, {}, 1,
        "failed: Download Failed!", {0x80, 0x01});
    row("split replies", Decoder::HoldsDefaults, Fault::Split, {}, 0, ": changed and verified",
        changed);
    row("silent", Decoder::HoldsDefaults, Fault::Silent, {}, 1,
        ": reading the settings failed: Time Out Error!", read);
    row("refuses", Decoder::HoldsDefaults, Fault::Refuse, {}, 1,
        ": reading the settings failed: Upload Failed!", read);
    row("wrong check", Decoder::HoldsDefaults, Fault::WrongCheck, {}, 1,
        ": reading the settings "
        "failed: Upload Failed!",
        read);
    row("unplugged", Decoder::Unplugged, Fault::None, {}, 1,
        ": reading the settings failed: not available: No such file or device", {});
}

void TestOrvctlApply::apply() {
    QFETCH(Kind, kind);
    QFETCH(Decoder, decoder);
    QFETCH(Fault, fault);
    QFETCH(QStringList, options);
    QFETCH(int, exit);
    QFETCH(QString, message);
    QFETCH(QList<int>, commands);
    if (fault == Fault::Silent)
        timingScale_ = TimingScale; // its time-out ends the run
    DecoderEmulator& d = this->decoder(kind, fault);
    const QString file = writeConfig(QStringLiteral("a.cfg"), 5);
    const QByteArray wanted = RegionOf(imageOf(file), kind);
    if (decoder == Decoder::HoldsFile)
        d.core().settings = wanted;
    const QByteArray before = d.core().settings;
    if (decoder == Decoder::KeepsOld || decoder == Decoder::RefusesDownload) {
        const QByteArray answer(1, decoder == Decoder::KeepsOld ? '\x07' : '\x15');
        d.core().addCommand(0x01, true, [answer](const emu::Frame&) { return answer; });
    }
    const QString port = decoder == Decoder::Unplugged ? path("ttyGone") : d.devicePath();
    const Run r = orvctl(QStringList{"apply", file, "--port", port} + options);
    QCOMPARE(r.exit, exit);
    const QByteArray shown = exit == 1 ? r.err : r.out;
    QVERIFY2(shown.startsWith((port + ": ").toUtf8()) && shown.contains(message.toUtf8()),
             r.out + r.err);
    QList<int> received;
    for (const emu::Frame& f : d.core().frames)
        received << f.command;
    QCOMPARE(received, commands);
    const bool sent = commands.size() > 2;
    QCOMPARE(d.core().settings, sent && decoder != Decoder::KeepsOld ? wanted : before);
    // The changes listed, old -> new, are settings of the decoder's region only.
    const bool listed = message.contains("change") && !message.contains("unchanged");
    QCOMPARE(r.out.contains(kind == Kind::Bar ? "\n  bar." : "\n  mag."), listed);
    QVERIFY(!r.out.contains(kind == Kind::Bar ? "\n  mag." : "\n  bar."));
}

void TestOrvctlApply::severalPortsJsonAndRecord() {
    DecoderEmulator& bar = decoder(Kind::Bar);
    DecoderEmulator& mag = decoder(Kind::Mag);
    const QString file = writeConfig(QStringLiteral("a.cfg"), 8);
    const Image image = imageOf(file);
    mag.core().settings = RegionOf(image, Kind::Mag);
    const QString gone = path("ttyGone");
    const QString record = path("decoders.jsonl");
    WriteAll(record, "{\"from\":\"an earlier run\"}\n");
    const Run r = orvctl({"apply", file, "--json", "--record", record, "-p", bar.devicePath(), "-p",
                          mag.devicePath(), "-p", gone});
    QCOMPARE(r.exit, 1);
    const QJsonArray ports = QJsonDocument::fromJson(r.out)["ports"].toArray();
    QCOMPARE(ports.size(), 3);
    QCOMPARE(ports[0]["status"].toString(), QStringLiteral("changed"));
    QCOMPARE(ports[0]["decoder"].toString(), QStringLiteral("bar"));
    QCOMPARE(ports[0]["version"].toString(), QStringLiteral("DECODER V3.4 2024-05-17"));
    const QJsonArray changes = ports[0]["changes"].toArray();
    QVERIFY(!changes.isEmpty());
    for (const QJsonValue& c : changes) {
        QVERIFY2(c["key"].toString().startsWith("bar."), qPrintable(c["key"].toString()));
        QVERIFY(!c["label"].toString().isEmpty());
        QVERIFY(c["old"].toString() != c["new"].toString() || c["old_code"] != c["new_code"]);
    }
    QCOMPARE(ports[1]["status"].toString(), QStringLiteral("unchanged"));
    QCOMPARE(ports[1]["decoder"].toString(), QStringLiteral("mag"));
    QCOMPARE(ports[1]["changes"].toArray(), QJsonArray());
    QCOMPARE(ports[2]["status"].toString(), QStringLiteral("failed"));
    QCOMPARE(ports[2]["reason"].toString(), QStringLiteral("port_unavailable"));
    QVERIFY(ports[2]["decoder"].isNull());

    // The earlier line stays; one line for each port follows, in the order they finished.
    QList<QJsonObject> lines = JsonLines(ReadAll(record));
    QCOMPARE(lines.size(), 4);
    QCOMPARE(lines.takeFirst()["from"].toString(), QStringLiteral("an earlier run"));
    auto lineOf = [&lines](const QString& port) {
        for (const QJsonObject& l : lines) {
            if (l["port"].toString() == port)
                return l;
        }
        return QJsonObject();
    };
    const auto hash = [](const QByteArray& bytes) {
        return QString::fromLatin1(
            QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex());
    };
    const QJsonObject b = lineOf(bar.devicePath());
    QCOMPARE(b["result"].toString(), QStringLiteral("changed"));
    QCOMPARE(b["command"].toString(), QStringLiteral("apply"));
    QCOMPARE(b["file"].toString(), file);
    QCOMPARE(b["host"].toString(), QSysInfo::machineHostName());
    QVERIFY2(QDateTime::fromString(b["time"].toString(), Qt::ISODateWithMs).timeSpec() == Qt::UTC,
             qPrintable(b["time"].toString()));
    QCOMPARE(b["region"].toString(), QStringLiteral("bar"));
    QCOMPARE(b["sha256_before"].toString(), hash(emu::DecoderCore::DefaultSettings(Kind::Bar)));
    QCOMPARE(b["sha256_after"].toString(), hash(RegionOf(image, Kind::Bar)));
    QCOMPARE(b["changes"].toArray().size(), changes.size());
    QCOMPARE(b["changes"][0].toString(), changes[0]["key"].toString());
    QVERIFY(b["usb_serial"].isNull()); // a pseudo-terminal is no USB device
    const QJsonObject m = lineOf(mag.devicePath());
    QCOMPARE(m["result"].toString(), QStringLiteral("unchanged"));
    QCOMPARE(m["sha256_after"], m["sha256_before"]);
    QCOMPARE(m["changes"].toArray(), QJsonArray());
    const QJsonObject g = lineOf(gone);
    QCOMPARE(g["result"].toString(), QStringLiteral("failed"));
    QVERIFY(g["region"].isNull() && g["sha256_before"].isNull() && g["version"].isNull());
}

void TestOrvctlApply::recordOfTheOtherCommands() {
    DecoderEmulator& d = decoder(Kind::Mag);
    const QString file = writeConfig(QStringLiteral("a.cfg"), 3);
    const QString record = path("decoders.jsonl");
    WriteAll(path("fw.bin"), QByteArray(100, '\x5a'));
    QCOMPARE(orvctl({"upload", "-p", d.devicePath(), "-o", path("u.cfg"), "--record", record}).exit,
             0);
    QCOMPARE(orvctl({"download", file, "--verify", "-p", d.devicePath(), "--record", record}).exit,
             0);
    QCOMPARE(orvctl({"flash", path("fw.bin"), "-p", d.devicePath(), "--record", record}).exit, 0);
    const QList<QJsonObject> lines = JsonLines(ReadAll(record));
    QCOMPARE(lines.size(), 3);
    // An upload reads the region: before and after are the same.
    QCOMPARE(lines[0]["command"].toString(), QStringLiteral("upload"));
    QCOMPARE(lines[0]["result"].toString(), QStringLiteral("ok"));
    QCOMPARE(lines[0]["sha256_before"], lines[0]["sha256_after"]);
    QCOMPARE(lines[0]["changes"].toArray(), QJsonArray());
    // A download knows the region only from its verification, after it.
    QCOMPARE(lines[1]["command"].toString(), QStringLiteral("download"));
    QVERIFY(lines[1]["sha256_before"].isNull());
    QVERIFY(lines[1]["sha256_after"] != lines[0]["sha256_after"]);
    QCOMPARE(lines[1]["region"].toString(), QStringLiteral("mag"));
    // The firmware loader tells no version and no region.
    QCOMPARE(lines[2]["command"].toString(), QStringLiteral("flash"));
    QCOMPARE(lines[2]["file"].toString(), path("fw.bin"));
    QVERIFY(lines[2]["version"].isNull() && lines[2]["sha256_after"].isNull());

    // A line the record cannot take (a full disk; here a file size limit) is trouble.
    const Run full =
        orvctl({"download", file, "-p", d.devicePath(), "--record", record}, nullptr, [] {
            const rlimit limit{100, 100};
            ::setrlimit(RLIMIT_FSIZE, &limit);
            ::signal(SIGXFSZ, SIG_IGN);
        });
    QCOMPARE(full.exit, 2);
    QVERIFY2(full.err.contains("the record " + record.toUtf8() + " could not be written"),
             full.err);
    QCOMPARE(JsonLines(ReadAll(record)).size(), 3);
}

void TestOrvctlApply::watch() {
    const QString file = writeConfig(QStringLiteral("a.cfg"), 4);
    const Image image = imageOf(file);
    QVERIFY(QDir(dir_->path()).mkdir("line"));
    DecoderEmulator& present = decoder(Kind::Bar);
    DecoderEmulator& bar = decoder(Kind::Bar);
    DecoderEmulator& mag = decoder(Kind::Mag);
    DecoderEmulator& refusing = decoder(Kind::Bar, Fault::Refuse);
    DecoderEmulator& late = decoder(Kind::Mag, Fault::Late);
    late.lateMsecs = 300; // still answering when the watch is stopped
    mag.core().settings = RegionOf(image, Kind::Mag);
    auto plug = [this](DecoderEmulator& d, const char* name) {
        QVERIFY(QFile::link(d.devicePath(), path(QStringLiteral("line/") + name)));
    };
    plug(present, "present");
    const QString record = path("decoders.jsonl");
    const Run r =
        orvctl({"apply", file, "--watch", "--match", "line/", "--json", "--record", record},
               [&](QProcess& p) {
                   auto served = [&p] {
                       return Shown(p, QProcess::StandardOutput).count('\n');
                   };
                   QTRY_VERIFY_WITH_TIMEOUT(Shown(p, QProcess::StandardError).contains("watching"),
                                            GiveUpMsecs);
                   plug(bar, "a");
                   plug(mag, "b");
                   QTRY_COMPARE_WITH_TIMEOUT(served(), 2, GiveUpMsecs);
                   // Unplugged and plugged again: served again, and now as the file says.
                   QVERIFY(QFile::remove(path("line/a")));
                   QTRY_VERIFY_WITH_TIMEOUT(
                       Shown(p, QProcess::StandardError).contains("a: unplugged"), GiveUpMsecs);
                   plug(bar, "a");
                   QTRY_COMPARE_WITH_TIMEOUT(served(), 3, GiveUpMsecs);
                   plug(refusing, "c");
                   QTRY_COMPARE_WITH_TIMEOUT(served(), 4, GiveUpMsecs);
                   // Ctrl+C while a decoder is under way: it is served to its end.
                   plug(late, "d");
                   QTRY_COMPARE_WITH_TIMEOUT(late.core().frames.size(), 1, GiveUpMsecs);
                   ::kill(p.processId(), SIGINT);
               });
    QCOMPARE(r.exit, 1); // a decoder failed
    const QList<QJsonObject> lines = JsonLines(r.out);
    QStringList results;
    for (const QJsonObject& l : lines)
        results << QFileInfo(l["port"].toString()).fileName() + ' ' + l["status"].toString();
    QCOMPARE(results.mid(2), (QStringList{"a unchanged", "c failed", "d changed"}));
    QVERIFY2(results.mid(0, 2).contains("a changed") && results.contains("b unchanged"),
             qPrintable(results.join(", ")));
    QCOMPARE(lines.last()["count"].toInt(), 5);
    QVERIFY(present.core().frames.isEmpty()); // there before the watch: left alone
    QVERIFY2(r.err.contains("stopping: waiting for the 1 decoder"), r.err);
    QVERIFY2(r.err.contains("5 decoders: 2 changed, 2 unchanged, 1 failed; not: " +
                            path("line/c").toUtf8()),
             r.err);
    QCOMPARE(JsonLines(ReadAll(record)).size(), 5);
}

QTEST_GUILESS_MAIN(TestOrvctlApply)
#include "tst_orvctl_apply.moc"
