// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
// orvemu: a decoder on a pseudo-terminal, for trying orvcfg without a decoder.
//
//   orvemu --com 1            answer as a magnetic reader on "Com 1" of orvcfg
//   orvemu --bar --fault late answer as a bar decoder, every reply 4 s late
//   orvemu --com 1 --memory records.txt --image got.bin
//                             a memory of one record per line; a firmware image received
//                             by the loader is written to got.bin
//
// It prints the device path, and with --com N links ~/.config/orvcfg/comN to it, which is
// where orvcfg looks for "Com N" first. Ctrl+C ends it and removes the link.

#include "decoderemulator.h"

#include "core/userfolder.h"
#include "orvproject.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSocketNotifier>

#include <csignal>
#include <cstdio>
#include <optional>
#include <sys/socket.h>
#include <unistd.h>

using namespace orv::emu;

namespace {

int SignalPipe[2] = {-1, -1};

void OnSignal(int) {
    const char c = 1;
    [[maybe_unused]] const auto n = ::write(SignalPipe[1], &c, 1);
}

void Print(const QString& line) {
    std::fputs(qPrintable(line + QLatin1Char('\n')), stdout);
    std::fflush(stdout);
}

QString HexOf(const QByteArray& bytes) {
    return QString::fromLatin1(bytes.toHex(' ').toUpper());
}

QString CommandName(quint8 command) {
    switch (command) {
    case 0x01:
        return QStringLiteral("download (save)");
    case 0x02:
        return QStringLiteral("download (not save)");
    case 0x80:
        return QStringLiteral("upload / version");
    case 0x82:
        return QStringLiteral("read memory");
    case 0x83:
        return QStringLiteral("clear memory");
    case 0x84:
        return QStringLiteral("loader access");
    default:
        return QStringLiteral("command %1").arg(command, 2, 16, QLatin1Char('0'));
    }
}

// The memory a decoder holds when no file says otherwise.
QList<QByteArray> SampleRecords() {
    return {"4006381333931", "%B4000001234562^SAMPLE/CARD^2512101?", "ORVEMU MEMORY RECORD",
            "9780201379624"};
}

// One record per line of a file (line ends removed, at most 253 bytes a record).
bool ReadRecords(const QString& path, QList<QByteArray>* records) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    records->clear();
    while (!file.atEnd()) {
        QByteArray line = file.readLine();
        while (line.endsWith('\n') || line.endsWith('\r'))
            line.chop(1);
        records->append(line.left(253));
    }
    return true;
}

// orvemu's options, in the order its help lists them.
struct Options {
    const QCommandLineOption bar{QStringLiteral("bar"),
                                 QStringLiteral("Answer as the bar decoder (image bytes 0..24).")};
    const QCommandLineOption mag{QStringLiteral("mag"),
                                 QStringLiteral("Answer as the magnetic reader (bytes 25..84; "
                                                "the default).")};
    const QCommandLineOption com{
        QStringLiteral("com"),
        QStringLiteral("Link <n> as orvcfg's \"Com n\": ~/.config/orvcfg/com<n>."),
        QStringLiteral("n")};
    const QCommandLineOption link{QStringLiteral("link"),
                                  QStringLiteral("Make <path> a link to the device."),
                                  QStringLiteral("path")};
    const QCommandLineOption fault{
        QStringLiteral("fault"),
        QStringLiteral("Misbehave: none, silent, refuse, wrong-check, late, split, short, "
                       "bad-block, wrong-version, reject-page."),
        QStringLiteral("name"), QStringLiteral("none")};
    const QCommandLineOption late{QStringLiteral("late-ms"),
                                  QStringLiteral("Delay of a late reply (default 4000)."),
                                  QStringLiteral("ms"), QStringLiteral("4000")};
    const QCommandLineOption chunk{QStringLiteral("chunk"),
                                   QStringLiteral("Bytes per piece of a split reply (default 3)."),
                                   QStringLiteral("bytes"), QStringLiteral("3")};
    const QCommandLineOption gap{
        QStringLiteral("gap-ms"),
        QStringLiteral("Gap between pieces of a split reply (default 20)."), QStringLiteral("ms"),
        QStringLiteral("20")};
    const QCommandLineOption version{QStringLiteral("version-text"),
                                     QStringLiteral("The 22-character version text."),
                                     QStringLiteral("text")};
    const QCommandLineOption memoryFile{
        QStringLiteral("memory"),
        QStringLiteral("The decoder's memory: one record per line of <file> (default: four "
                       "sample records)."),
        QStringLiteral("file")};
    const QCommandLineOption badBlock{
        QStringLiteral("bad-block"),
        QStringLiteral("With --fault bad-block: the memory block (from 0) sent with a wrong "
                       "check byte (default 0)."),
        QStringLiteral("n"), QStringLiteral("0")};
    const QCommandLineOption image{
        QStringLiteral("image"),
        QStringLiteral("Where the firmware loader writes the image it received (default "
                       "orvemu-image.bin)."),
        QStringLiteral("path"), QStringLiteral("orvemu-image.bin")};
    const QCommandLineOption rejectPage{
        QStringLiteral("reject-page"),
        QStringLiteral("With --fault reject-page: the data page (from 0) the loader refuses "
                       "(default 0)."),
        QStringLiteral("n"), QStringLiteral("0")};
    const QCommandLineOption rejections{
        QStringLiteral("rejections"),
        QStringLiteral("With --fault reject-page: how often it refuses it (default 1)."),
        QStringLiteral("n"), QStringLiteral("1")};
    const QCommandLineOption pace{QStringLiteral("pace"),
                                  QStringLiteral("Take the time the line rate gives every byte, "
                                                 "as a real serial line would.")};
    const QCommandLineOption strictLoader{
        QStringLiteral("strict-loader"),
        QStringLiteral("The firmware loader takes bytes only while the line is at 19200 baud, as "
                       "a real one listens at that rate only: bytes that arrive at another rate "
                       "(a port closed before they left it) are lost.")};

    QList<QCommandLineOption> all() const {
        return {bar,     mag,        com,      link,  fault,      late,       chunk, gap,
                version, memoryFile, badBlock, image, rejectPage, rejections, pace,  strictLoader};
    }
};

// Sets the emulator up as the options say; false, with the message out, when one is not usable.
bool Configure(DecoderEmulator& emulator, const QCommandLineParser& parser, const Options& o) {
    DecoderCore& core = emulator.core();
    if (!ParseFault(parser.value(o.fault), &core.fault)) {
        std::fprintf(stderr, "orvemu: unknown fault \"%s\"\n", qPrintable(parser.value(o.fault)));
        return false;
    }
    emulator.lateMsecs = parser.value(o.late).toInt();
    emulator.chunkSize = qMax(1, parser.value(o.chunk).toInt());
    emulator.chunkGapMsecs = parser.value(o.gap).toInt();
    if (parser.isSet(o.version)) {
        const QByteArray text = parser.value(o.version).toLatin1().leftJustified(22, ' ', true);
        core.versionFirst = text.left(12);
        core.versionLast = text.mid(12);
    }

    QList<QByteArray> records = SampleRecords();
    if (parser.isSet(o.memoryFile) && !ReadRecords(parser.value(o.memoryFile), &records)) {
        std::fprintf(stderr, "orvemu: cannot read %s\n", qPrintable(parser.value(o.memoryFile)));
        return false;
    }
    core.memory.stream = DecoderCore::MemoryStream(records);
    core.memory.badBlock = parser.value(o.badBlock).toInt();
    core.loader.imageFile = parser.value(o.image);
    core.loader.rejectPage = parser.value(o.rejectPage).toInt();
    core.loader.rejections = parser.value(o.rejections).toInt();
    emulator.paceLine = parser.isSet(o.pace);
    emulator.strictLoaderLine = parser.isSet(o.strictLoader);
    return true;
}

// Makes the link that --com or --link asks for, and tells it; the exit code when that fails.
std::optional<int> LinkDevice(DecoderEmulator& emulator, const QCommandLineParser& parser,
                              const Options& o) {
    QString linkPath = parser.value(o.link);
    if (parser.isSet(o.com)) {
        bool ok = false;
        const int n = parser.value(o.com).toInt(&ok);
        if (!ok || n < 1) {
            std::fprintf(stderr, "orvemu: --com needs a port number from 1 up\n");
            return 2;
        }
        const QString dir = orv::UserConfigFolder();
        QDir().mkpath(dir);
        linkPath = QDir(dir).filePath(QStringLiteral("com%1").arg(n));
    }
    if (!linkPath.isEmpty()) {
        if (!emulator.createLink(linkPath)) {
            std::fprintf(stderr, "orvemu: %s\n", qPrintable(emulator.errorString()));
            return 1;
        }
        Print(QStringLiteral("link: %1 -> %2").arg(linkPath, emulator.devicePath()));
    }
    return std::nullopt;
}

// Prints every frame received and every reply sent.
void ShowTraffic(DecoderEmulator& emulator) {
    QObject::connect(&emulator, &DecoderEmulator::frameReceived, [](const Frame& f) {
        Print(QStringLiteral("<- %1%2: %3")
                  .arg(CommandName(f.command),
                       f.wellFormed ? QString() : QStringLiteral(" (damaged)"), HexOf(f.raw)));
    });
    // Memory blocks and loader packets are long: they are named, not dumped.
    emulator.core().onEvent = [](const QString& line) {
        Print(QStringLiteral("   %1").arg(line));
    };
    QObject::connect(&emulator, &DecoderEmulator::bytesSent, [](const QByteArray& b) {
        Print(QStringLiteral("-> %1").arg(b.size() > 16 ? HexOf(b.left(16)) + QStringLiteral(" ...")
                                                        : HexOf(b)));
    });
}

// Ctrl+C and kill end the event loop, so the link is removed on the way out.
void QuitOnSignals(QCoreApplication& app) {
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, SignalPipe) != 0)
        return;
    auto* notifier = new QSocketNotifier(SignalPipe[0], QSocketNotifier::Read, &app);
    QObject::connect(notifier, &QSocketNotifier::activated, &app, &QCoreApplication::quit);
    std::signal(SIGINT, OnSignal);
    std::signal(SIGTERM, OnSignal);
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("orvemu"));
    QCoreApplication::setApplicationVersion(QStringLiteral(ORV_VERSION));

    const Options options;
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("A bar decoder or magnetic reader on a pseudo-terminal, answering "
                       "orvcfg's download, upload and firmware-version requests, memory read "
                       "and clear, and, as the firmware loader, the firmware update."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addOptions(options.all());
    parser.process(app);

    DecoderEmulator emulator(parser.isSet(options.bar) ? Kind::Bar : Kind::Mag);
    if (!Configure(emulator, parser, options))
        return 2;
    if (!emulator.start()) {
        std::fprintf(stderr, "orvemu: no pseudo-terminal: %s\n",
                     qPrintable(emulator.errorString()));
        return 1;
    }
    Print(QStringLiteral("device: %1").arg(emulator.devicePath()));
    if (const auto code = LinkDevice(emulator, parser, options))
        return *code;
    Print(QStringLiteral("answering as the %1, fault: %2")
              .arg(emulator.core().kind() == Kind::Bar ? QStringLiteral("bar decoder")
                                                       : QStringLiteral("magnetic reader"),
                   FaultName(emulator.core().fault)));
    ShowTraffic(emulator);
    QuitOnSignals(app);
    const int rc = app.exec();
    emulator.stop();
    return rc;
}
