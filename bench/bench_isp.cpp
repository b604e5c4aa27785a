// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Benchmarks of the firmware update (not run by ctest; ./dev.sh bench runs them):
//   1. the end packet: `orvctl flash` of a one-page image 100 times against a loader that takes
//      bytes at 19200 baud only; orvctl ends right after the packet, so every run shows whether
//      it left the port before the port closed and put back its old line settings;
//   2. frmISP sends a 65,535-byte image to the emulator's loader, which takes the line time of
//      every byte at the line's 19200 baud as a serial line would. The total, from the click to
//      the result message, is set against the lower bound that the line rate and the pauses the
//      transfer must make give together. Takes about two minutes.
// BENCH_PART=1 or 2 runs one of them.

#include "link/serial/qtserialport.h"
#include "link/windows/frmisp.h"
#include "orvemu/decoderemulator.h"
#include "support/fakedialogs.h"
#include "support/fakelauncher.h"
#include "support/fakeshell.h"
#include "support/recordingportaccess.h"

#include "app/windowregistry.h"
#include "core/config.h"

#include <QApplication>
#include <QDate>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>

#include <cstdio>

using namespace orv;
using namespace orv::test;

namespace {

constexpr int FirmwareSize = 65535;
constexpr int Pages = 357; // 65,535 / 184 rounded up
constexpr double BaudRate = 19200;
constexpr double BitsPerByte = 10; // start bit, 8 data bits, 1 stop bit

// What the transfer cannot do faster: every byte it waits for crosses the line (the access
// command, the erase packet and each page, and the one-byte answer to each), and it pauses
// 5 ms after the access, 200 ms after every page and 5 ms before the end packet, which it
// sends without waiting for it.
double LowerBoundSeconds() {
    const double awaitedBytes = (4 + 1) + (192 + 1) + Pages * (192 + 1);
    const double line = awaitedBytes * BitsPerByte / BaudRate;
    const double pauses = 0.005 + Pages * 0.200 + 0.005;
    // The end packet is not answered, but the transfer ends only once it has left the port.
    const double endPacket = 192 * BitsPerByte / BaudRate;
    return line + pauses + endPacket;
}

// `orvctl flash` runs of a one-page image against a strict loader: how many ended with the
// image taken (the end packet whole and at 19200 baud) and "ISP Transmit OK!".
bool EndPacketRuns() {
    constexpr int Runs = 100;
    QTemporaryDir dir;
    emu::DecoderEmulator emulator;
    if (!emulator.start())
        qFatal("no emulator: %s", qPrintable(emulator.errorString()));
    emulator.strictLoaderLine = true;
    const QString image = dir.filePath(QStringLiteral("page.bin"));
    QFile file(image);
    if (!file.open(QIODevice::WriteOnly) || file.write(QByteArray(184, '\x5A')) != 184)
        qFatal("cannot write the image");
    file.close();
    int taken = 0, reportedOk = 0;
    QElapsedTimer t;
    t.start();
    for (int i = 0; i < Runs; ++i) {
        emulator.core().loader.errors.clear();
        QProcess p;
        QEventLoop loop;
        QObject::connect(&p, &QProcess::finished, &loop, &QEventLoop::quit);
        p.start(QStringLiteral(ORVCTL_PATH),
                {QStringLiteral("flash"), image, QStringLiteral("--port"), emulator.devicePath()});
        if (!p.waitForStarted())
            qFatal("orvctl did not start");
        loop.exec();
        reportedOk += p.exitCode() == 0 && p.readAllStandardOutput().contains("ISP Transmit OK!");
        // What reaches the loader after orvctl has gone.
        QElapsedTimer settle;
        settle.start();
        while (settle.elapsed() < 20)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
        const auto& loader = emulator.core().loader;
        taken += loader.finished && loader.errors.isEmpty() && loader.image.size() == 184;
    }
    std::printf("orvctl flash of one page, %d runs, loader listening at 19200 baud only (%.1f s)\n",
                Runs, t.nsecsElapsed() / 1e9);
    std::printf("  reported \"ISP Transmit OK!\": %d; image taken by the loader: %d\n", reportedOk,
                taken);
    const bool met = taken == Runs && reportedOk == Runs;
    std::printf("%-52s %6d of %-3d  goal %-16s %s\n\n",
                "end packet on the wire at the loader's speed", taken, Runs, "100 of 100",
                met ? "met" : "NOT MET");
    return met;
}

} // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    std::printf("orvcfg firmware update benchmarks\n\n");
    const QByteArray part = qgetenv("BENCH_PART");
    bool allMet = true;
    if (part.isEmpty() || part == "1")
        allMet &= EndPacketRuns();
    if (part == "1") {
        std::printf("%s\n", allMet ? "All goals met." : "Some goals NOT met.");
        return 0;
    }

    QTemporaryDir dir;
    Config config;
    config.InitStartState(QDate::currentDate());
    FakeShell shell;
    FakeDialogs dialogs;
    FakeLauncher launcher;
    RecordingPortAccess port;
    emu::DecoderEmulator emulator;
    QtSerialPortFactory serialPorts(dir.path(), [] { return QList<SerialDevice>{}; });
    if (!emulator.start() || !emulator.createLink(ComLinkPath(dir.path(), 1)))
        qFatal("no emulator: %s", qPrintable(emulator.errorString()));
    emulator.paceLine = true;
    emulator.core().loader.imageFile = dir.filePath(QStringLiteral("received.bin"));

    QByteArray image(FirmwareSize, '\0');
    for (int i = 0; i < FirmwareSize; ++i)
        image[i] = static_cast<char>((i * 131 + i / 184) & 0xFF);
    const QString path = dir.filePath(QStringLiteral("firmware.bin"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(image) != image.size())
        qFatal("cannot write the image");
    file.close();

    FrmIsp window(config, FirmwareWindowInfo(), Services{dialogs, launcher, port, serialPorts});
    window.setHost(&shell);
    window.load();
    window.show();
    window.findChild<QLineEdit*>(QStringLiteral("TxtBinFile"))->setText(path);

    QElapsedTimer t;
    t.start();
    window.findChild<QPushButton*>(QStringLiteral("cmdTransmit"))->click();
    if (window.isExchangeRunning()) {
        QEventLoop loop;
        QObject::connect(&window, &LinkWindow::exchangeEnded, &loop, &QEventLoop::quit);
        loop.exec();
    }
    const double total = t.nsecsElapsed() / 1e9;

    if (dialogs.texts() != QStringList{QStringLiteral("ISP Transmit OK!")})
        qFatal("the transfer failed: %s", qPrintable(dialogs.texts().join(QLatin1Char('|'))));
    QElapsedTimer settle;
    settle.start();
    while (!emulator.core().loader.finished && settle.elapsed() < 2000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    QFile received(emulator.core().loader.imageFile);
    if (!received.open(QIODevice::ReadOnly) || received.read(FirmwareSize) != image)
        qFatal("the loader did not receive the image");

    const double bound = LowerBoundSeconds();
    const double over = 100.0 * (total - bound) / bound;
    std::printf("65,535-byte image, %d pages at 19200 baud (emulator paced at the line rate)\n",
                Pages);
    std::printf(
        "  lower bound (line time of the awaited bytes and the end packet + pauses): %.3f s\n",
        bound);
    std::printf("  total, click to result message:                        %.3f s\n", total);
    std::printf("  above the bound: %.3f s (%.2f %%, %.2f ms a page)\n", total - bound, over,
                1000.0 * (total - bound) / Pages);
    const bool met = over <= 3.0;
    allMet &= met;
    std::printf("%-52s %10.2f %-3s  goal %-16s %s\n", "firmware transfer above the lower bound",
                over, "%", "<= 3 %", met ? "met" : "NOT MET");
    // The verdict is printed; the exit status stays 0 so that ./dev.sh bench runs every benchmark.
    std::printf("\n%s\n", allMet ? "All goals met." : "Some goals NOT met.");
    return 0;
}
