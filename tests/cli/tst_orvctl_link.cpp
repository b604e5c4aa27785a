// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
// orvctl's link commands, run as the real program (QProcess) against decoder emulators on
// pseudo-terminals in this process: every command in every fault mode (exit code, the window's
// message, which files exist afterwards), several ports at once with one failing, JSON, the
// frame log, "com N", SIGINT, and the monitor. A run whose exchanges end by their time-outs has
// its link timing scaled down by ORVCTL_TIMING_SCALE, so that they take a fraction of a second.

#include "cli/linkcommands.h"
#include "cli/linksession.h"
#include "core/cfgformat.h"
#include "core/config.h"
#include "link/exchange/linktiming.h"
#include "link/protocol/text.h"
#include "orvctlrig.h"
#include "orvemu/decoderemulator.h"
#include "support/waiting.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <csignal>
#include <functional>
#include <memory>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

using namespace orv;
using emu::DecoderEmulator;
using emu::Fault;
using emu::Kind;
using orv::test::GiveUpMsecs;
using orv::test::NeverMsecs;
using orv::test::ReadAll;
using orv::test::Run;
using orv::test::Shown;
using orv::test::TimingScale;
using orv::test::WriteAll;

Q_DECLARE_METATYPE(orv::VisibleStyle)

namespace {

// A decoder that answers with bytes of no meaning at all.
void Garbage(DecoderEmulator& d) {
    for (quint8 command : {0x01, 0x02, 0x80, 0x82, 0x83, 0x84}) {
        const bool hasData = command == 0x01 || command == 0x02;
        d.core().addCommand(command, hasData, [](const emu::Frame&) {
            QByteArray junk;
            for (int i = 0; i < 90; ++i)
                junk.append(static_cast<char>(0x41 + i % 23));
            return junk;
        });
    }
}

} // namespace

class TestOrvctlLink : public QObject, protected test::OrvctlRig {
    Q_OBJECT
private slots:
    void init() { startRig(); }
    void cleanup() { endRig(); }

    void settingsText_data();
    void settingsText();
    void portName_data();
    void portName();
    void visibleText_data();
    void visibleText();

    void usage_data();
    void usage();
    void helpNamesTheKeyboardLink();

    void download_data();
    void download();
    void verify_data();
    void verify();
    void upload_data();
    void upload();
    void uploadWithBase();
    void version_data();
    void version();
    void memoryRead_data();
    void memoryRead();
    void memoryTextOfSeveralPorts();
    void memoryClear_data();
    void memoryClear();
    void flash_data();
    void flash();
    void firmwareSizeLimit();

    void outputThatCannotBeWritten();
    void portLostMidExchange();
    void severalPortsOneFailing();
    void portsWaitSideBySide();
    void severalUploadsWriteOneFileEach();
    void jsonResults();
    void frameLog();
    void comPortMapping();
    void interruptEndsEveryExchange();

    void decoderControlBytes_data();
    void decoderControlBytes();
    void monitorShowsControlBytes();
    void monitorPortLost();
};

// ----- Library pieces -----

void TestOrvctlLink::settingsText_data() {
    QTest::addColumn<QStringList>("parts"); // settings, baud, parity, data bits, stop bits
    QTest::addColumn<QString>("expected");  // empty: refused
    const QString null;
    QTest::newRow("start values") << QStringList{null, null, null, null, null} << "9600,N,8,1 ";
    QTest::newRow("settings") << QStringList{"19200,e,7,2", null, null, null, null}
                              << "19200,E,7,2 ";
    QTest::newRow("options over settings")
        << QStringList{"19200,E,7,2", "1200", "space", "8", "1"} << "1200,S,8,1 ";
    QTest::newRow("parity letter") << QStringList{null, null, "O", null, null} << "9600,O,8,1 ";
    QTest::newRow("mark") << QStringList{null, null, "Mark", null, null} << "9600,M,8,1 ";
    QTest::newRow("bad settings") << QStringList{"9600,N,8", null, null, null, null} << "";
    QTest::newRow("bad parity") << QStringList{null, null, "x", null, null} << "";
    QTest::newRow("bad data bits") << QStringList{null, null, null, "9", null} << "";
    QTest::newRow("bad stop bits") << QStringList{null, null, null, null, "3"} << "";
    QTest::newRow("bad baud") << QStringList{null, "fast", null, null, null} << "";
    QTest::newRow("zero baud") << QStringList{null, "0", null, null, null} << "";
    QTest::newRow("baud the window does not offer")
        << QStringList{null, "96000", null, null, null} << "";
    QTest::newRow("600 is the loader's alone") << QStringList{null, "600", null, null, null} << "";
    QTest::newRow("settings with such a baud")
        << QStringList{"14400,N,8,1", null, null, null, null} << "";
    QTest::newRow("a rate the window offers, written otherwise")
        << QStringList{"09600,N,8,1", null, null, null, null} << "";
}

void TestOrvctlLink::settingsText() {
    QFETCH(QStringList, parts);
    QFETCH(QString, expected);
    QString why;
    const auto line = LinkSettings(parts[0], parts[1], parts[2], parts[3], parts[4], &why);
    QCOMPARE(line ? SerialSettingsText(*line) : QString(), expected);
    QCOMPARE(why.isEmpty(), !expected.isEmpty());
}

void TestOrvctlLink::portName_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("label");
    QTest::addColumn<int>("comPort"); // -1: refused
    QTest::addColumn<QString>("device");
    QTest::newRow("path") << "/dev/ttyUSB0"
                          << "/dev/ttyUSB0" << 0 << "/dev/ttyUSB0";
    QTest::newRow("com 2") << "com 2"
                           << "com 2" << 2 << "";
    QTest::newRow("Com 6 blanks") << "  Com   6 "
                                  << "com 6" << 6 << "";
    QTest::newRow("COM12 is not a window's port") << "COM12"
                                                  << "" << -1 << "";
    QTest::newRow("com 7") << "com 7"
                           << "" << -1 << "";
    QTest::newRow("com 0") << "com 0"
                           << "" << -1 << "";
    QTest::newRow("bare name is a device") << "ttyOrvNone"
                                           << "ttyOrvNone" << 0 << "/dev/ttyOrvNone";
    QTest::newRow("relative path") << "sub/ttyS0"
                                   << "sub/ttyS0" << 0 << QDir::current().filePath("sub/ttyS0");
    QTest::newRow("empty") << ""
                           << "" << -1 << "";
}

void TestOrvctlLink::portName() {
    QFETCH(QString, text);
    QFETCH(QString, label);
    QFETCH(int, comPort);
    QFETCH(QString, device);
    QString why;
    const auto name = ParsePortName(text, &why);
    QCOMPARE(name.has_value(), comPort >= 0);
    if (!name) {
        QVERIFY2(text.isEmpty() || why.contains("from 1 to 6"), qPrintable(why));
        return;
    }
    QCOMPARE(name->label, label);
    QCOMPARE(name->comPort, comPort);
    QCOMPARE(name->device, device);
}

void TestOrvctlLink::visibleText_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<VisibleStyle>("style");
    QTest::addColumn<QString>("text");
    const auto window = VisibleStyle::Window;
    const auto terminal = VisibleStyle::Terminal;
    QTest::newRow("datum") << QByteArray("\x02"
                                         "AB\r\n")
                           << window << "<STX>AB<CR><LF>";
    QTest::newRow("31 and 127") << QByteArray("\x1f\x7f") << window << QStringLiteral("<US>\u007f");
    QTest::newRow("NUL") << QByteArray(1, '\0') << window << "<NUL>";
    QTest::newRow("high byte") << QByteArray("\xe9") << window << QStringLiteral("\u00e9");
    QTest::newRow("two-letter names") << QByteArray("\x08\x09\x1c") << window << "<BS><HT><FS>";
    QTest::newRow("C1 in the window") << QByteArray("\x9b") << window << QStringLiteral("\u009b");
    QTest::newRow("terminal: CSI, OSC")
        << QByteArray("\x1b[2J\x1b]0;T\x07") << terminal << "<ESC>[2J<ESC>]0;T<BEL>";
    QTest::newRow("terminal: DEL and C1")
        << QByteArray("\x7f\x80\x9b\x9d\x9f") << terminal << "<7F><80><9B><9D><9F>";
    QTest::newRow("terminal: above C1")
        << QByteArray("\xa0\xe9\xff") << terminal << QStringLiteral("\u00a0\u00e9\u00ff");
}

void TestOrvctlLink::visibleText() {
    QFETCH(QByteArray, bytes);
    QFETCH(VisibleStyle, style);
    QFETCH(QString, text);
    QCOMPARE(VisibleText(bytes, style), text);
    // Text read as ISO 8859-1 shows the same; characters beyond it stay.
    QCOMPARE(VisibleText(QString::fromLatin1(bytes) + QStringLiteral("\u20ac"), style),
             text + QStringLiteral("\u20ac"));
}

// ----- Usage -----

void TestOrvctlLink::usage_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("err");
    QTest::newRow("no port") << QStringList{"version"}
                             << "orvctl: --port is needed: a device path or \"com N\"\n"
                                "Try 'orvctl version --help'.\n";
    QTest::newRow("defaults file names no port")
        << QStringList{"download", "defaults"} << "--port is needed";
    QTest::newRow("empty port") << QStringList{"version", "--port", ""} << "--port needs";
    QTest::newRow("port twice") << QStringList{"version", "-p", "com 1", "-p", "COM1"}
                                << "given twice";
    QTest::newRow("bad parity") << QStringList{"version", "-p", "/dev/x", "--parity", "odd-ish"}
                                << "is not a parity";
    QTest::newRow("bad settings") << QStringList{"memory", "clear",      "-p",
                                                 "/dev/x", "--settings", "fast"}
                                  << "is not a line setting";
    QTest::newRow("upload without OUT")
        << QStringList{"upload", "-p", "/dev/x"} << "-o OUT is needed";
    QTest::newRow("two uploads one file")
        << QStringList{"upload", "-p", "/dev/x", "-p", "/dev/y", "-o", "a.cfg"}
        << "needs %p, which stands for the port (\"upload-%p.cfg\")\nTry 'orvctl upload --help'.\n";
    QTest::newRow("two ports one name")
        << QStringList{"upload", "-p", "/dev/x", "-p", "/tmp/x", "-o", "%p.cfg"} << "would write";
    QTest::newRow("upload with odd parity")
        << QStringList{"upload", "-p", "/dev/x", "-o", "a.cfg", "--parity", "odd"}
        << "parity none, mark or space";
    QTest::newRow("memory action") << QStringList{"memory", "erase", "-p", "/dev/x"}
                                   << "orvctl: unknown action 'erase': read or clear\n"
                                      "Try 'orvctl memory --help'.\n";
    QTest::newRow("memory clear file")
        << QStringList{"memory", "clear", "-p", "/dev/x", "-o", "m.txt"} << "writes no file";
    QTest::newRow("download missing file")
        << QStringList{"download", "none.cfg", "-p", "/dev/x"} << "none.cfg could not be read";
    QTest::newRow("base missing") << QStringList{"upload", "-p",     "/dev/x",  "-o",
                                                 "a.cfg",  "--base", "none.cfg"}
                                  << "none.cfg could not be read";
    QTest::newRow("flash folder") << QStringList{"flash", ".", "-p", "/dev/x"}
                                  << "could not be read: it is a folder";
    QTest::newRow("flash takes no line settings")
        << QStringList{"flash", "fw.bin", "-p", "/dev/x", "--baud", "9600"} << "Unknown option";
    QTest::newRow("monitor one port")
        << QStringList{"monitor", "-p", "/dev/x", "-p", "/dev/y"}
        << "orvctl: monitor watches one port\nTry 'orvctl monitor --help'.\n";
    QTest::newRow("log in a folder")
        << QStringList{"version", "-p", "/dev/x", "--log", "."} << "it is a folder";
    QTest::newRow("log to a named pipe")
        << QStringList{"version", "-p", "/dev/x", "--log", "fifo"} << "not a regular file";
    QTest::newRow("log to a device")
        << QStringList{"version", "-p", "/dev/x", "--log", "/dev/full"} << "not a regular file";
    QTest::newRow("com 9") << QStringList{"upload", "-p", "com 9", "-o", "a.cfg"}
                           << "takes N from 1 to 6";
    QTest::newRow("baud the window does not offer")
        << QStringList{"version", "-p", "/dev/x", "--baud", "96000"}
        << "give one of 1200, 2400, 4800, 9600, 19200";
    QTest::newRow("one device by two names")
        << QStringList{"version", "-p", "/dev/null", "-p", "/dev/../dev/null"} << "given twice";
    QTest::newRow("raw memory to a file")
        << QStringList{"memory", "read", "-p", "/dev/x", "--raw", "-o", "m.txt"}
        << "does not go with -o";
}

void TestOrvctlLink::usage() {
    QFETCH(QStringList, arguments);
    QFETCH(QString, err);
    WriteAll(path(QStringLiteral("defaults")), WriteDefaultsFile(Config::BuiltInDefaults()));
    WriteAll(path(QStringLiteral("fw.bin")), QByteArray(100, '\x11'));
    QCOMPARE(mkfifo(QFile::encodeName(path(QStringLiteral("fifo"))).constData(), 0600), 0);
    const Run r = orvctl(arguments);
    QCOMPARE(r.exit, 2);
    QVERIFY2(QString::fromUtf8(r.err).contains(err), r.err.constData());
    QVERIFY(r.out.isEmpty());
    QCOMPARE(QDir(dir_->path()).entryList({QStringLiteral("*.cfg")}), QStringList());
}

void TestOrvctlLink::helpNamesTheKeyboardLink() {
    for (const char* command : {"download", "upload", "version", "flash", "memory", "monitor"}) {
        const Run r = orvctl({command, "--help"});
        QCOMPARE(r.exit, 0);
        QVERIFY(r.out.startsWith("Usage: orvctl " + QByteArray(command)));
        QVERIFY(r.out.contains("--port"));
    }
    QVERIFY(orvctl({"download", "--help"}).out.contains("the keyboard link needs"));
    QVERIFY(orvctl({"--help"}).out.contains("monitor --port P"));
    // The monitor watches one port; the others may have several.
    auto help = [this](const char* command) {
        return QString::fromUtf8(orvctl({command, "--help"}).out).simplified();
    };
    QVERIFY(!help("monitor").contains("Repeat it"));
    QVERIFY(help("version").contains("Repeat it to run on several ports"));
}

// ----- Every command in every fault mode -----

// How the decoder behaves in a row: a fault of the emulator, garbage, or no decoder at all.
enum class Mode { Fault, Garbage, Unplugged };
Q_DECLARE_METATYPE(Mode)

namespace {

// refusal: the message of a negative or damaged answer; null when the decoder has no negative
// answer to this request (a memory read), so only garbage stands for it.
void AddFaultRows(const std::function<void(const char*, Mode, Fault, int, const char*)>& row,
                  const char* refusal, bool refuses = true) {
    row("answers", Mode::Fault, Fault::None, 0, nullptr);
    row("silent", Mode::Fault, Fault::Silent, 1, "Time Out Error!");
    if (refuses)
        row("refuses", Mode::Fault, Fault::Refuse, 1, refusal);
    row("garbage", Mode::Garbage, Fault::None, 1, refusal);
    row("split reply", Mode::Fault, Fault::Split, 0, nullptr);
    row("unplugged", Mode::Unplugged, Fault::None, 1, "not available: No such file or device");
}

} // namespace

void TestOrvctlLink::download_data() {
    QTest::addColumn<Mode>("mode");
    QTest::addColumn<Fault>("fault");
    QTest::addColumn<bool>("save");
    QTest::addColumn<int>("exit");
    QTest::addColumn<QString>("message");
    for (bool save : {true, false}) {
        AddFaultRows(
            [save](const char* name, Mode m, Fault f, int exit, const char* message) {
                QTest::addRow("%s%s", name, save ? "" : ", not save")
                    << m << f << save << exit
                    << QString::fromLatin1(message ? message : "Download OK!");
            },
            "Download Failed!");
    }
}

void TestOrvctlLink::download() {
    QFETCH(Mode, mode);
    QFETCH(Fault, fault);
    if (fault == Fault::Silent)
        timingScale_ = TimingScale; // its time-out ends the run
    QFETCH(bool, save);
    QFETCH(int, exit);
    QFETCH(QString, message);
    DecoderEmulator& d = decoder(Kind::Bar, fault);
    if (mode == Mode::Garbage)
        Garbage(d);
    const QString file = writeConfig(QStringLiteral("a.cfg"), 3);
    const QString port = mode == Mode::Unplugged ? path(QStringLiteral("ttyGone")) : d.devicePath();
    QStringList args{"download", file, "--port", port};
    if (!save)
        args << "--not-save";
    const Run r = orvctl(args);
    QCOMPARE(r.exit, exit);
    const QByteArray line = (port + QStringLiteral(": ") + message).toUtf8();
    QVERIFY2((exit == 0 ? r.out : r.err).contains(line), r.out + r.err);
    if (exit != 0)
        return;
    const Image image = imageOf(file);
    QCOMPARE(d.core().lastDownload, QByteArray(reinterpret_cast<const char*>(image.data()), 85));
    QCOMPARE(d.core().lastDownloadSaved, save);
    QCOMPARE(d.core().frames.size(), 1);
}

void TestOrvctlLink::verify_data() {
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<bool>("keeps"); // the decoder takes the downloaded settings
    QTest::addColumn<Fault>("uploadFault");
    QTest::addColumn<int>("exit");
    QTest::addColumn<QString>("message");
    QTest::newRow("bar") << Kind::Bar << true << Fault::None << 0
                         << "Download OK! Verified: the decoder's bar decoder settings";
    QTest::newRow("mag") << Kind::Mag << true << Fault::None << 0
                         << "Download OK! Verified: the decoder's magnetic reader settings";
    QTest::newRow("decoder kept its old settings")
        << Kind::Mag << false << Fault::None << 1
        << "Verify failed: the decoder's magnetic reader settings (bytes 25..84) differ from";
    QTest::newRow("upload silent")
        << Kind::Bar << true << Fault::Silent << 1 << "Download OK! Verify: Time Out Error!";
    QTest::newRow("upload wrong check")
        << Kind::Bar << true << Fault::WrongCheck << 1 << "Download OK! Verify: Upload Failed!";
}

void TestOrvctlLink::verify() {
    QFETCH(Kind, kind);
    QFETCH(bool, keeps);
    QFETCH(Fault, uploadFault);
    QFETCH(int, exit);
    QFETCH(QString, message);
    DecoderEmulator& d = decoder(kind);
    if (!keeps) {
        d.core().addCommand(0x01, true, [](const emu::Frame&) { return QByteArray(1, '\x07'); });
    }
    // The fault starts once the download has been answered.
    connect(&d, &DecoderEmulator::frameReceived, &d, [&d, uploadFault](const emu::Frame& f) {
        if (f.command == 0x01)
            d.core().fault = uploadFault;
    });
    const QString file = writeConfig(QStringLiteral("a.cfg"), 9);
    const Run r = orvctl({"download", file, "--port", d.devicePath(), "--verify"});
    QCOMPARE(r.exit, exit);
    QVERIFY2((exit == 0 ? r.out : r.err).contains(message.toUtf8()), r.out + r.err);
    QCOMPARE(d.core().frames.size(), 2);
    QCOMPARE(d.core().frames[1].command, quint8(0x80));
}

void TestOrvctlLink::upload_data() {
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<Mode>("mode");
    QTest::addColumn<Fault>("fault");
    QTest::addColumn<int>("exit");
    QTest::addColumn<QString>("message");
    for (Kind kind : {Kind::Bar, Kind::Mag}) {
        auto row = [kind](const char* name, Mode m, Fault f, int exit, const char* message) {
            QTest::addRow("%s %s", kind == Kind::Bar ? "bar" : "mag", name)
                << kind << m << f << exit
                << QString::fromLatin1(message ? message : "Upload OK! The ");
        };
        AddFaultRows(row, "Upload Failed!");
        row("wrong check", Mode::Fault, Fault::WrongCheck, 1, "Upload Failed!");
        row("short", Mode::Fault, Fault::Short, 1, "Upload Failed!");
    }
}

void TestOrvctlLink::upload() {
    QFETCH(Kind, kind);
    QFETCH(Mode, mode);
    QFETCH(Fault, fault);
    if (fault == Fault::Silent)
        timingScale_ = TimingScale; // its time-out ends the run
    QFETCH(int, exit);
    QFETCH(QString, message);
    DecoderEmulator& d = decoder(kind, fault);
    if (mode == Mode::Garbage)
        Garbage(d);
    QByteArray settings(kind == Kind::Bar ? 25 : 60, '\0');
    for (int i = 0; i < settings.size(); ++i)
        settings[i] = static_cast<char>(0xA0 ^ (i * 5));
    d.core().settings = settings;
    const QString out = path(QStringLiteral("up.cfg"));
    const QString port = mode == Mode::Unplugged ? path(QStringLiteral("ttyGone")) : d.devicePath();
    const Run r = orvctl({"upload", "--port", port, "-o", out});
    QCOMPARE(r.exit, exit);
    QVERIFY2((exit == 0 ? r.out : r.err).contains((port + ": " + message).toUtf8()), r.out + r.err);
    if (exit != 0) {
        QVERIFY2(!QFile::exists(out), "a failed upload wrote its file");
        QCOMPARE(QDir(dir_->path()).entryList(QDir::Files), QStringList());
        return;
    }
    // The built-in defaults with the decoder's region, in a new file's header.
    const CfgParseResult parsed = ParseCfgFile(ReadAll(out));
    QCOMPARE(parsed.status, CfgParseStatus::Ok);
    Image expected = Config::BuiltInDefaults();
    const int first = kind == Kind::Bar ? 0 : 25;
    for (int i = 0; i < settings.size(); ++i)
        expected[first + i] = static_cast<quint8>(settings[i]);
    QCOMPARE(parsed.contents.data, expected);
    QCOMPARE(parsed.contents.DeviceName, QStringLiteral("Device Name"));
    QCOMPARE(parsed.contents.LinkMode, qint16(1));
    // Byte for byte as the window saves it.
    QCOMPARE(ReadAll(out), *WriteCfgFile(parsed.contents));
}

void TestOrvctlLink::uploadWithBase() {
    DecoderEmulator& d = decoder(Kind::Mag);
    const QString base = writeConfig(QStringLiteral("base.cfg"), 5, 4);
    CfgContents expected = ParseCfgFile(ReadAll(base)).contents;
    const QByteArray settings = d.core().settings;
    for (int i = 0; i < 60; ++i)
        expected.data[25 + i] = static_cast<quint8>(settings[i]);
    expected.LinkMode = 1; // the upload came over RS232
    const QString out = path(QStringLiteral("out.cfg"));
    const Run r = orvctl({"upload", "-p", d.devicePath(), "-o", out, "--base", base});
    QCOMPARE(r.exit, 0);
    QCOMPARE(ReadAll(out), *WriteCfgFile(expected));

    // A defaults file gives only the other region.
    const QString defaults = path(QStringLiteral("defaults"));
    Image image{};
    image.fill(0x5A);
    WriteAll(defaults, WriteDefaultsFile(image));
    QCOMPARE(orvctl({"upload", "-p", d.devicePath(), "-o", out, "--base", defaults}).exit, 0);
    const CfgContents got = ParseCfgFile(ReadAll(out)).contents;
    QCOMPARE(got.data[0], quint8(0x5A));
    QCOMPARE(got.data[24], quint8(0x5A));
    QCOMPARE(got.data[25], static_cast<quint8>(settings[0]));
    QCOMPARE(got.UserName, QStringLiteral("User's Name"));
}

void TestOrvctlLink::version_data() {
    QTest::addColumn<Mode>("mode");
    QTest::addColumn<Fault>("fault");
    QTest::addColumn<int>("exit");
    QTest::addColumn<QString>("message");
    auto row =
        [](const char* name, Mode m, Fault f, int exit, const char* message) {
            QTest::addRow("%s", name)
                << m << f << exit
                << QString::fromLatin1(
                       message ? message : "Get Firmware Version OK! DECODER V3.4 2024-05-17");
        };
    AddFaultRows(row, "Upload Failed!");
    row("wrong check", Mode::Fault, Fault::WrongCheck, 1, "Upload Failed!");
    row("short", Mode::Fault, Fault::Short, 1, "Upload Failed!");
}

void TestOrvctlLink::version() {
    QFETCH(Mode, mode);
    QFETCH(Fault, fault);
    if (fault == Fault::Silent)
        timingScale_ = TimingScale; // its time-out ends the run
    QFETCH(int, exit);
    QFETCH(QString, message);
    DecoderEmulator& d = decoder(Kind::Bar, fault);
    if (mode == Mode::Garbage)
        Garbage(d);
    const QString port = mode == Mode::Unplugged ? path(QStringLiteral("ttyGone")) : d.devicePath();
    const Run r = orvctl({"version", "--port", port});
    QCOMPARE(r.exit, exit);
    QVERIFY2((exit == 0 ? r.out : r.err).contains((port + ": " + message).toUtf8()), r.out + r.err);
}

void TestOrvctlLink::memoryRead_data() {
    QTest::addColumn<Mode>("mode");
    QTest::addColumn<Fault>("fault");
    QTest::addColumn<bool>("toFile");
    QTest::addColumn<int>("exit");
    QTest::addColumn<QString>("message");
    for (bool toFile : {true, false}) {
        auto row = [toFile](const char* name, Mode m, Fault f, int exit, const char* message) {
            QTest::addRow("%s%s", name, toFile ? ", to a file" : ", printed")
                << m << f << toFile << exit
                << QString::fromLatin1(message ? message : "Read Decoder Memory OK!");
        };
        AddFaultRows(row, "Read Decoder Memory Failed!", false);
        row("bad block", Mode::Fault, Fault::BadBlock, 1, "Read Decoder Memory Failed!");
    }
}

void TestOrvctlLink::memoryRead() {
    QFETCH(Mode, mode);
    QFETCH(Fault, fault);
    if (fault == Fault::Silent)
        timingScale_ = TimingScale; // its time-out ends the run
    QFETCH(bool, toFile);
    QFETCH(int, exit);
    QFETCH(QString, message);
    DecoderEmulator& d = decoder(Kind::Bar, fault);
    if (mode == Mode::Garbage)
        Garbage(d);
    // Three blocks of records; with Fault::BadBlock the second one is damaged.
    QList<QByteArray> texts;
    for (int i = 0; i < 12; ++i)
        texts << QByteArray("card ") + QByteArray::number(i) + QByteArray(8, char('a' + i));
    d.core().memory.stream = emu::DecoderCore::MemoryStream(texts);
    d.core().memory.badBlock = 1;
    const QString port = mode == Mode::Unplugged ? path(QStringLiteral("ttyGone")) : d.devicePath();
    const QString out = path(QStringLiteral("memory.txt"));
    QStringList args{"memory", "read", "--port", port};
    if (toFile)
        args << "-o" << out;
    const Run r = orvctl(args);
    QCOMPARE(r.exit, exit);
    // Without -o the text is the output, and the result line goes to the error stream.
    QVERIFY2((exit == 0 && toFile ? r.out : r.err).contains((port + ": " + message).toUtf8()),
             r.out + r.err);
    QCOMPARE(QFile::exists(out), exit == 0 && toFile);
    if (exit != 0) {
        QVERIFY(!r.out.contains("card 0"));
        return;
    }
    const QByteArray lines = texts.join("\r\n") + "\r\n";
    if (toFile)
        QCOMPARE(ReadAll(out), lines + "\r\n");
    else
        QCOMPARE(r.out, QByteArray(lines).replace("\r\n", "\n"));
}

void TestOrvctlLink::memoryTextOfSeveralPorts() {
    DecoderEmulator& a = decoder(Kind::Bar);
    DecoderEmulator& b = decoder(Kind::Mag);
    a.core().memory.stream = emu::DecoderCore::MemoryStream({"caf\xe9", "22"});
    b.core().memory.stream = emu::DecoderCore::MemoryStream({"xy"});
    const Run r = orvctl({"memory", "read", "-p", a.devicePath(), "-p", b.devicePath()});
    QCOMPARE(r.exit, 0);
    // Each text under its port, in UTF-8; the file keeps the decoder's bytes (see memoryRead).
    QVERIFY2(r.out.contains("==> " + a.devicePath().toUtf8() + " <==\ncaf\xc3\xa9\n22\n"), r.out);
    QVERIFY2(r.out.contains("==> " + b.devicePath().toUtf8() + " <==\nxy\n"), r.out);
    QVERIFY2(r.err.contains("2 of 2 ports succeeded"), r.err);
}

void TestOrvctlLink::memoryClear_data() {
    QTest::addColumn<Mode>("mode");
    QTest::addColumn<Fault>("fault");
    QTest::addColumn<int>("exit");
    QTest::addColumn<QString>("message");
    AddFaultRows(
        [](const char* name, Mode m, Fault f, int exit, const char* message) {
            QTest::addRow("%s", name)
                << m << f << exit
                << QString::fromLatin1(message ? message : "Clear Decoder Memory OK!");
        },
        "Clear Decoder Memory Failed!");
}

void TestOrvctlLink::memoryClear() {
    QFETCH(Mode, mode);
    QFETCH(Fault, fault);
    if (fault == Fault::Silent)
        timingScale_ = TimingScale; // its time-out ends the run
    QFETCH(int, exit);
    QFETCH(QString, message);
    DecoderEmulator& d = decoder(Kind::Mag, fault);
    if (mode == Mode::Garbage)
        Garbage(d);
    d.core().memory.stream = emu::DecoderCore::MemoryStream({"x"});
    const QString port = mode == Mode::Unplugged ? path(QStringLiteral("ttyGone")) : d.devicePath();
    const Run r = orvctl({"memory", "clear", "--port", port});
    QCOMPARE(r.exit, exit);
    QVERIFY2((exit == 0 ? r.out : r.err).contains((port + ": " + message).toUtf8()), r.out + r.err);
    QCOMPARE(d.core().memory.clears, exit == 0 ? 1 : 0);
}

void TestOrvctlLink::flash_data() {
    QTest::addColumn<Mode>("mode");
    QTest::addColumn<Fault>("fault");
    QTest::addColumn<int>("exit");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QList<int>>("signalsSent"); // mid-transfer, in this order
    QTest::addColumn<bool>("outputClosed");      // the output is a pipe nobody reads
    auto row = [](const char* name, Mode m, Fault f, int exit, const char* message,
                  QList<int> sent = {}, bool closed = false) {
        QTest::addRow("%s", name) << m << f << exit
                                  << QString::fromLatin1(message ? message : "ISP Transmit OK!")
                                  << sent << closed;
    };
    AddFaultRows([&row](const char* name, Mode m, Fault f, int exit,
                        const char* message) { row(name, m, f, exit, message); },
                 "Access ISP Command Failed!");
    row("wrong version", Mode::Fault, Fault::WrongVersion, 1, "A Incorrect Version No!");
    row("page rejected once", Mode::Fault, Fault::RejectPage, 0, nullptr);
    // The signals wait for the end of the transfer; the first one then ends orvctl.
    row("Ctrl+C, then SIGTERM", Mode::Fault, Fault::None, 128 + SIGINT, nullptr, {SIGINT, SIGTERM});
    row("closed output, SIGPIPE, hang-up", Mode::Fault, Fault::None, 128 + SIGHUP, nullptr,
        {SIGPIPE, SIGHUP}, true);
}

void TestOrvctlLink::flash() {
    QFETCH(Mode, mode);
    QFETCH(Fault, fault);
    if (fault == Fault::Silent)
        timingScale_ = TimingScale; // its time-out ends the run
    QFETCH(int, exit);
    QFETCH(QString, message);
    QFETCH(QList<int>, signalsSent);
    QFETCH(bool, outputClosed);
    DecoderEmulator& d = decoder(Kind::Bar, fault);
    if (mode == Mode::Garbage)
        Garbage(d);
    d.core().loader.rejectPage = 1;
    d.core().loader.imageFile = path(QStringLiteral("received.bin"));
    // orvctl ends right after the end packet: it must have left the port at 19200 baud first.
    d.strictLoaderLine = true;
    QByteArray image;
    for (int i = 0; i < 2000; ++i)
        image.append(static_cast<char>(i * 31));
    WriteAll(path(QStringLiteral("fw.bin")), image);
    const QString port = mode == Mode::Unplugged ? path(QStringLiteral("ttyGone")) : d.devicePath();
    const Run r = orvctl(
        {"flash", path(QStringLiteral("fw.bin")), "--port", port},
        [&](QProcess& p) {
            if (signalsSent.isEmpty())
                return;
            QTRY_VERIFY_WITH_TIMEOUT(d.core().loader.packets.size() >= 3, GiveUpMsecs);
            for (int sig : signalsSent)
                ::kill(p.processId(), sig);
        },
        [outputClosed] {
            if (!outputClosed)
                return;
            int fds[2];
            if (::pipe(fds) == 0) {
                ::dup2(fds[1], STDOUT_FILENO);
                ::close(fds[0]);
                ::close(fds[1]);
            }
        });
    QCOMPARE(r.exit, exit);
    const bool transferred = exit == 0 || !signalsSent.isEmpty();
    if (!outputClosed) {
        QVERIFY2((transferred ? r.out : r.err).contains((port + ": " + message).toUtf8()),
                 r.out + r.err);
    }
    if (!transferred)
        return;
    // The whole image, ended by the end packet, whatever came meanwhile.
    QCOMPARE(ReadAll(d.core().loader.imageFile).left(image.size()), image);
    QVERIFY(d.core().loader.finished);
    QVERIFY(d.core().loader.errors.isEmpty());
    // Not a terminal: plain progress lines, the last at the end.
    QVERIFY2(r.err.contains(port.toUtf8() + ": 100% (11/11)"), r.err);
    QCOMPARE(r.err.count("cannot be interrupted"), signalsSent.isEmpty() ? 0 : 1);
    if (outputClosed)
        QVERIFY2(r.err.contains("the output could not be written"), r.err);
}

void TestOrvctlLink::firmwareSizeLimit() {
    DecoderEmulator& d = decoder(Kind::Bar);
    WriteAll(path(QStringLiteral("big.bin")), QByteArray(65536, '\x01'));
    Run r = orvctl({"flash", path(QStringLiteral("big.bin")), "-p", d.devicePath()});
    QCOMPARE(r.exit, 2);
    QVERIFY2(r.err.contains("larger than 65535 bytes"), r.err);
    QVERIFY(d.core().frames.isEmpty());
}

// ----- Several ports, results, logs -----

void TestOrvctlLink::outputThatCannotBeWritten() {
    DecoderEmulator& d = decoder(Kind::Bar);
    d.core().memory.stream = emu::DecoderCore::MemoryStream({"a", "bc"});
    const QString missing = path(QStringLiteral("no/such/folder/"));
    // The decoder answered, but the file cannot be written: trouble (2), said with the reason.
    for (const QStringList& args :
         {QStringList{"upload", "-p", d.devicePath(), "-o", missing + "u.cfg"},
          QStringList{"memory", "read", "-p", d.devicePath(), "-o", missing + "m.txt"}}) {
        const Run r = orvctl(args);
        QCOMPARE(r.exit, 2);
        QVERIFY2(r.err.contains("OK! But " + missing.toUtf8()), r.err);
        QVERIFY2(r.err.contains("could not be written"), r.err);
    }
    QVERIFY(!QFile::exists(path(QStringLiteral("no"))));
}

void TestOrvctlLink::portLostMidExchange() {
    DecoderEmulator& d = decoder(Kind::Bar, Fault::Silent);
    // The adapter is pulled out while the decoder keeps silent.
    connect(&d, &DecoderEmulator::frameReceived, &d,
            [&d] { QTimer::singleShot(20, &d, [&d] { d.stop(); }); });
    const QString out = path(QStringLiteral("up.cfg"));
    const Run r = orvctl({"upload", "--port", d.devicePath(), "-o", out});
    QCOMPARE(r.exit, 1);
    QVERIFY2(r.err.contains(": not available (lost)"), r.err);
    QVERIFY(!QFile::exists(out));
}

void TestOrvctlLink::severalPortsOneFailing() {
    std::vector<DecoderEmulator*> ds;
    for (int i = 0; i < 4; ++i)
        ds.push_back(&decoder(i % 2 ? Kind::Bar : Kind::Mag, i == 2 ? Fault::Silent : Fault::None));
    const QString file = writeConfig(QStringLiteral("a.cfg"), 1);
    QStringList args{"download", file};
    for (auto* d : ds)
        args << "--port" << d->devicePath();
    const Run r = orvctl(args);
    QCOMPARE(r.exit, 1);
    for (int i = 0; i < 4; ++i) {
        const QByteArray line =
            ds[i]->devicePath().toUtf8() + (i == 2 ? ": Time Out Error!" : ": Download OK!");
        QVERIFY2((i == 2 ? r.err : r.out).contains(line), r.out + r.err);
        QCOMPARE(ds[i]->core().frames.size(), 1);
    }
    QVERIFY2(r.err.contains("3 of 4 ports succeeded; not: " + ds[2]->devicePath().toUtf8()), r.err);
}

void TestOrvctlLink::portsWaitSideBySide() {
    // Six decoders that answer once all six requests have come: one port after the other, the
    // first would wait for its answer in vain and time out; side by side every request is out
    // and each is answered.
    QStringList args{"version"};
    for (int i = 0; i < 6; ++i)
        args << "-p" << decoder(Kind::Bar, Fault::Silent).devicePath();
    int frames = 0;
    for (const auto& d : decoders_) {
        connect(d.get(), &DecoderEmulator::frameReceived, d.get(), [this, &frames] {
            if (++frames < 6)
                return;
            for (const auto& e : decoders_) {
                e->core().fault = Fault::None;
                e->transmit(e->core().uploadBlock());
            }
        });
    }
    const Run r = orvctl(args);
    QCOMPARE(r.exit, 0);
    QCOMPARE(r.out.count("Get Firmware Version OK!"), 6);
    for (const auto& d : decoders_)
        QCOMPARE(d->core().frames.size(), 1);
}

void TestOrvctlLink::severalUploadsWriteOneFileEach() {
    DecoderEmulator& bar = decoder(Kind::Bar);
    DecoderEmulator& mag = decoder(Kind::Mag);
    DecoderEmulator& bad = decoder(Kind::Mag, Fault::WrongCheck);
    const Run r = orvctl({"upload", "-p", bar.devicePath(), "-p", mag.devicePath(), "-p",
                          bad.devicePath(), "-o", path(QStringLiteral("up-%p.cfg"))});
    QCOMPARE(r.exit, 1);
    auto fileOf = [this](const DecoderEmulator& d) {
        return path(QStringLiteral("up-%1.cfg").arg(QFileInfo(d.devicePath()).fileName()));
    };
    QVERIFY(QFile::exists(fileOf(bar)));
    QVERIFY(QFile::exists(fileOf(mag)));
    QVERIFY(!QFile::exists(fileOf(bad)));
    QCOMPARE(ParseCfgFile(ReadAll(fileOf(mag))).contents.data[25],
             static_cast<quint8>(mag.core().settings[0]));
}

void TestOrvctlLink::jsonResults() {
    DecoderEmulator& good = decoder(Kind::Mag);
    DecoderEmulator& refusing = decoder(Kind::Bar, Fault::Refuse);
    const QString gone = path(QStringLiteral("ttyGone"));
    const Run r = orvctl(
        {"version", "--json", "-p", good.devicePath(), "-p", refusing.devicePath(), "-p", gone});
    QCOMPARE(r.exit, 1);
    QVERIFY2(r.err.isEmpty(), r.err);
    QJsonParseError error;
    const QJsonObject doc = QJsonDocument::fromJson(r.out, &error).object();
    QCOMPARE(error.error, QJsonParseError::NoError);
    QCOMPARE(doc.value("command").toString(), QStringLiteral("version"));
    QCOMPARE(doc.value("succeeded").toInt(), 1);
    QCOMPARE(doc.value("failed").toInt(), 2);
    const QJsonArray ports = doc.value("ports").toArray();
    QCOMPARE(ports.size(), 3);
    QCOMPARE(ports[0]["port"].toString(), good.devicePath());
    QCOMPARE(ports[0]["device"].toString(), good.devicePath());
    QCOMPARE(ports[0]["status"].toString(), QStringLiteral("ok"));
    QCOMPARE(ports[0]["region"].toString(), QStringLiteral("mag"));
    QCOMPARE(ports[0]["version"].toArray(),
             (QJsonArray{QStringLiteral("DECODER V3.4"), QStringLiteral("2024-05-17")}));
    QCOMPARE(ports[0]["title"].toString(), QStringLiteral("Upload Message"));
    QCOMPARE(ports[1]["status"].toString(), QStringLiteral("refused"));
    QCOMPARE(ports[1]["message"].toString(), QStringLiteral("Upload Failed!"));
    QCOMPARE(ports[2]["status"].toString(), QStringLiteral("port_unavailable"));
    QVERIFY(ports[2]["details"].toString().contains(gone));
}

void TestOrvctlLink::frameLog() {
    DecoderEmulator& d = decoder(Kind::Bar);
    const QString log = path(QStringLiteral("frames.log"));
    const Run r = orvctl({"version", "-p", d.devicePath(), "--log", log});
    QCOMPARE(r.exit, 0);
    const QList<QByteArray> lines = ReadAll(log).split('\n');
    auto has = [&lines](const QByteArray& part) {
        for (const QByteArray& l : lines) {
            if (l.contains(part))
                return true;
        }
        return false;
    };
    const QByteArray port = d.devicePath().toUtf8();
    QVERIFY2(has(port + " open 9600,N,8,1"), ReadAll(log));
    QVERIFY2(has(port + " > 02 80 03 81"), ReadAll(log));
    // The reply: the block of the bar decoder, 25 settings bytes (n = 25 = 19h).
    QVERIFY2(has(port + " < 19 "), ReadAll(log));
    QVERIFY2(has(port + " close"), ReadAll(log));
    // Every line starts with the time.
    for (const QByteArray& l : lines) {
        if (!l.isEmpty())
            QVERIFY2(
                QDateTime::fromString(QString::fromLatin1(l.left(24)), Qt::ISODateWithMs).isValid(),
                l);
    }

    // A log that cannot take the next line (a full disk; here a file size limit) ends the
    // command as trouble, with the reason.
    const Run full = orvctl({"version", "-p", d.devicePath(), "--log", log}, nullptr, [] {
        const rlimit limit{100, 100};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        ::signal(SIGXFSZ, SIG_IGN);
    });
    QCOMPARE(full.exit, 2);
    QVERIFY2(full.err.contains("the log " + log.toUtf8() + " could not be written: File too large"),
             full.err);
    QVERIFY2(full.err.contains(": stopped: the log could not be written"), full.err);
}

void TestOrvctlLink::comPortMapping() {
    DecoderEmulator& d = decoder(Kind::Bar);
    QVERIFY(QDir().mkpath(path(QStringLiteral("orvcfg"))));
    QVERIFY(d.createLink(path(QStringLiteral("orvcfg/com3"))));
    Run r = orvctl({"version", "--port", "com 3"});
    QCOMPARE(r.exit, 0);
    QVERIFY2(r.out.contains("com 3: Get Firmware Version OK!"), r.out);
    r = orvctl({"version", "--port", "com 3", "--json"});
    QCOMPARE(QJsonDocument::fromJson(r.out)["ports"][0]["device"].toString(), d.devicePath());
    // A configuration file names its port: download without --port goes there.
    const QString file = writeConfig(QStringLiteral("a.cfg"), 2, 3);
    r = orvctl({"download", file});
    QCOMPARE(r.exit, 0);
    QVERIFY2(r.out.contains("com 3: Download OK!"), r.out);
    // An upload through "com 3" stores that port in the file.
    QCOMPARE(orvctl({"upload", "-p", "COM3", "-o", path(QStringLiteral("u.cfg"))}).exit, 0);
    QCOMPARE(ParseCfgFile(ReadAll(path(QStringLiteral("u.cfg")))).contents.ComPort, qint16(3));
    // A link whose device is gone: not available. (The link keeps the test away from the
    // machine's own serial ports, which "com 5" would otherwise stand for.)
    QVERIFY(QFile::link(path(QStringLiteral("ttyGone")), path(QStringLiteral("orvcfg/com5"))));
    r = orvctl({"version", "--port", "com 5"});
    QCOMPARE(r.exit, 1);
    QVERIFY2(r.err.contains("com 5: not available"), r.err);

    // A bare name is the file in the current folder (here a link to the decoder)...
    QVERIFY(QFile::link(d.devicePath(), path(QStringLiteral("dec"))));
    r = orvctl({"version", "-p", "dec"});
    QCOMPARE(r.exit, 0);
    QVERIFY2(r.out.contains("dec: Get Firmware Version OK!"), r.out);
    // ... else the device of that name.
    r = orvctl({"version", "-p", "ttyOrvNone", "--json"});
    QCOMPARE(QJsonDocument::fromJson(r.out)["ports"][0]["device"].toString(),
             QStringLiteral("/dev/ttyOrvNone"));
    // One device under two names is refused before anything is sent.
    const qsizetype frames = d.core().frames.size();
    r = orvctl({"version", "-p", "dec", "-p", "com 3"});
    QCOMPARE(r.exit, 2);
    QVERIFY2(r.err.contains("the port dec is given twice: com 3 is the same device"), r.err);
    QCOMPARE(d.core().frames.size(), frames);
}

void TestOrvctlLink::interruptEndsEveryExchange() {
    // The time-outs are never reached: the exchanges end by the signal alone.
    timingScale_ = double(NeverMsecs) / LinkTiming().uploadReplyMsecs;
    for (int sig : {SIGINT, SIGTERM, SIGHUP}) {
        DecoderEmulator& a = decoder(Kind::Bar, Fault::Silent);
        DecoderEmulator& b = decoder(Kind::Mag, Fault::Silent);
        int frames = 0;
        QProcess* process = nullptr;
        // Once both requests are out, the user presses Ctrl+C.
        auto onFrame = [&] {
            if (++frames == 2)
                ::kill(process->processId(), sig);
        };
        connect(&a, &DecoderEmulator::frameReceived, &a, onFrame);
        connect(&b, &DecoderEmulator::frameReceived, &b, onFrame);
        const QString out = path(QStringLiteral("up-%p.cfg"));
        const Run r = orvctl({"upload", "-p", a.devicePath(), "-p", b.devicePath(), "-o", out},
                             [&process](QProcess& p) { process = &p; });
        QCOMPARE(r.exit, 128 + sig);
        QVERIFY2(r.err.contains(a.devicePath().toUtf8() + ": interrupted"), r.err);
        QVERIFY2(r.err.contains(b.devicePath().toUtf8() + ": interrupted"), r.err);
        QCOMPARE(QDir(dir_->path()).entryList({QStringLiteral("*.cfg")}), QStringList());
        decoders_.clear();
    }
}

// ----- monitor -----

// A decoder's text full of terminal commands: ESC sequences (OSC, CSI), DEL, and the C1 controls
// CSI, OSC and ST; 12 and 10 bytes, the sizes of the two parts of a firmware version.
const QByteArray HostileFirst("\x1b]0;T\x07\x1b[2J\x7f"
                              "A");
const QByteArray HostileLast("\x9b"
                             "31m\x9d"
                             "0;x\x9c"
                             "Z");
const QByteArray VisibleFirst("<ESC>]0;T<BEL><ESC>[2J<7F>A");
const QByteArray VisibleLast("<9B>31m<9D>0;x<9C>Z");

void TestOrvctlLink::decoderControlBytes_data() {
    QTest::addColumn<QStringList>("arguments"); // the port and the options follow
    QTest::addColumn<QByteArray>("expected");   // the output; for JSON, the text in it
    const QByteArray both = HostileFirst + HostileLast;
    QTest::newRow("version") << QStringList{"version"}
                             << ": Get Firmware Version OK! " + VisibleFirst + ' ' + VisibleLast +
                                    '\n';
    QTest::newRow("version --json") << QStringList{"version", "--json"} << both;
    QTest::newRow("memory read") << QStringList{"memory", "read"}
                                 << VisibleFirst + VisibleLast + '\n';
    QTest::newRow("memory read --raw") << QStringList{"memory", "read", "--raw"} << both + "\r\n";
    QTest::newRow("memory read -o")
        << QStringList{"memory", "read", "-o", "m.txt"} << both + "\r\n\r\n";
    QTest::newRow("memory read --json") << QStringList{"memory", "read", "--json"} << both + '\n';
    QTest::newRow("monitor") << QStringList{"monitor"} << VisibleFirst + VisibleLast + '\n';
    QTest::newRow("monitor --raw") << QStringList{"monitor", "--raw"} << both;
}

void TestOrvctlLink::decoderControlBytes() {
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, expected);
    DecoderEmulator& d = decoder(Kind::Bar);
    d.core().versionFirst = HostileFirst;
    d.core().versionLast = HostileLast;
    d.core().memory.stream = emu::DecoderCore::MemoryStream({HostileFirst + HostileLast});
    const bool monitor = arguments.first() == QLatin1String("monitor");
    const bool json = arguments.contains(QStringLiteral("--json"));
    const Run r = orvctl(arguments + QStringList{"-p", d.devicePath()}, [&](QProcess& p) {
        if (!monitor)
            return;
        QTRY_VERIFY_WITH_TIMEOUT(Shown(p, QProcess::StandardError).contains("watching"),
                                 GiveUpMsecs);
        d.transmit(HostileFirst + HostileLast);
        QTRY_VERIFY_WITH_TIMEOUT(Shown(p, QProcess::StandardOutput).size() >= expected.size(),
                                 GiveUpMsecs);
        ::kill(p.processId(), SIGINT);
    });
    QCOMPARE(r.exit, 0);
    if (arguments.contains(QStringLiteral("-o"))) {
        QCOMPARE(ReadAll(path(QStringLiteral("m.txt"))), expected);
    } else if (json) {
        // Read back as sent; written without a byte a terminal acts on.
        for (char c : r.out) {
            const auto b = static_cast<quint8>(c);
            QVERIFY2((b >= 0x20 || b == '\n') && b != 0x7F, r.out);
        }
        QVERIFY2(!r.out.contains("\xc2\x9b") && !r.out.contains("\xc2\x9d"), r.out);
        const QJsonObject port = QJsonDocument::fromJson(r.out)["ports"][0].toObject();
        const QString got = arguments.first() == QLatin1String("version")
                                ? port["version"][0].toString() + port["version"][1].toString()
                                : port["text"].toString();
        QCOMPARE(got, QString::fromLatin1(expected));
    } else if (arguments.first() == QLatin1String("version")) {
        QCOMPARE(r.out, d.devicePath().toUtf8() + expected);
    } else {
        QCOMPARE(r.out, expected);
    }
}

void TestOrvctlLink::monitorShowsControlBytes() {
    DecoderEmulator& d = decoder(Kind::Bar);
    const Run r = orvctl(
        {"monitor", "--port", d.devicePath(), "--settings", "19200,N,8,1"}, [&](QProcess& p) {
            // Once it watches, the decoder sends two datums, the second once the first is shown.
            auto lines = [&p] {
                return int(Shown(p, QProcess::StandardOutput).count('\n'));
            };
            QTRY_VERIFY_WITH_TIMEOUT(Shown(p, QProcess::StandardError).contains("watching"),
                                     GiveUpMsecs);
            QCOMPARE(d.line().baudRate, 19200);
            d.transmit(QByteArray("\x02"
                                  "AB\r\n"));
            QTRY_COMPARE_WITH_TIMEOUT(lines(), 1, GiveUpMsecs);
            d.transmit(QByteArray("\x1f\x7f"
                                  "x"));
            QTRY_COMPARE_WITH_TIMEOUT(lines(), 2, GiveUpMsecs);
            ::kill(p.processId(), SIGINT);
        });
    QCOMPARE(r.exit, 0);
    QCOMPARE(r.out, QByteArray("<STX>AB<CR><LF>\n<US><7F>x\n"));
    QVERIFY2(r.err.contains("watching at 19200,N,8,1"), r.err);
}

void TestOrvctlLink::monitorPortLost() {
    DecoderEmulator& d = decoder(Kind::Bar);
    const Run r = orvctl({"monitor", "--port", d.devicePath()}, [&](QProcess& p) {
        QTRY_VERIFY_WITH_TIMEOUT(Shown(p, QProcess::StandardError).contains("watching"),
                                 GiveUpMsecs);
        d.transmit("ID 42\r");
        QTRY_VERIFY_WITH_TIMEOUT(Shown(p, QProcess::StandardOutput).contains('\n'), GiveUpMsecs);
        d.stop();
    });
    QCOMPARE(r.exit, 1);
    QCOMPARE(r.out, QByteArray("ID 42<CR>\n"));
    QVERIFY2(r.err.contains("not available (lost)"), r.err);
    // A missing device: not available at once.
    const Run gone = orvctl({"monitor", "--port", path(QStringLiteral("ttyGone"))});
    QCOMPARE(gone.exit, 1);
    QVERIFY2(gone.err.contains("not available"), gone.err);
}

QTEST_GUILESS_MAIN(TestOrvctlLink)
#include "tst_orvctl_link.moc"
