// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The serial port service: "Com N" mapping, and the QSerialPort adapter driven
// over a pseudo-terminal against the decoder emulator.

#include "link/exchange/serialexchange.h"
#include "link/serial/qtserialport.h"
#include "link/windows/linkwindow.h"
#include "orvemu/decoderemulator.h"
#include "support/fakedialogs.h"
#include "support/linesettings.h"
#include "support/waiting.h"

#include "core/config.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <ctime>

#include <sys/fsuid.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace orv;
using namespace orv::test;
using orv::emu::DecoderEmulator;

namespace {

const QList<SerialDevice> NoDevices;

double ProcessCpuSeconds() {
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return ts.tv_sec + ts.tv_nsec / 1e9;
}

// A temporary configuration folder whose com1 is an emulator's pty.
struct Rig {
    QTemporaryDir dir;
    DecoderEmulator emulator;
    QtSerialPortFactory factory{dir.path(), [] {
                                    return NoDevices;
                                }};
    std::unique_ptr<SerialPort> port = factory.createPort();

    Rig() {
        if (!emulator.start() || !emulator.createLink(ComLinkPath(dir.path(), 1)))
            qFatal("no emulator: %s", qPrintable(emulator.errorString()));
    }
    bool open(const QString& settings = QStringLiteral("9600,N,8,1 ")) {
        port->setCommPort(1);
        return port->setSettings(*ParseSerialSettings(settings)) && port->open();
    }
};

// Files are opened as an unprivileged user while it lives, also when the test runs as root: the
// file-system user id changes (for this thread only) and with it the right to open any file.
struct AsUnprivilegedUser {
    bool root = ::geteuid() == 0;
    bool active = !root;
    AsUnprivilegedUser() {
        if (root) {
            ::setfsuid(65534); // nobody
            active = ::setfsuid(static_cast<uid_t>(-1)) == 65534;
        }
    }
    ~AsUnprivilegedUser() {
        if (root)
            ::setfsuid(0);
    }
};

} // namespace

Q_DECLARE_METATYPE(QSerialPort::SerialPortError)

class TestSerialPort : public QObject {
    Q_OBJECT
private slots:
    void comMapping_data();
    void comMapping();
    void comLink();
    void lineTakesSettings_data();
    void lineTakesSettings();
    void thresholdGathersChunks_data();
    void thresholdGathersChunks();
    void discardInput();
    void receptionIsBounded_data();
    void receptionIsBounded();
    void writtenBytesLeaveFirst_data();
    void writtenBytesLeaveFirst();
    void missingDeviceDoesNotOpen();
    void lostPortIsClosedAndReported();
    void lostPortReason_data();
    void lostPortReason();
    void openSerialLink_data();
    void openSerialLink();
    void openFailureReason_data();
    void openFailureReason();
    void notAvailableDetails_data();
    void notAvailableDetails();
};

void TestSerialPort::comMapping_data() {
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("device");
    // Listed out of order on purpose.
    QTest::newRow("first: USB adapter") << 1 << "/dev/ttyACM0";
    QTest::newRow("second: USB, name order") << 2 << "/dev/ttyUSB0";
    QTest::newRow("third: USB, numbers as numbers") << 3 << "/dev/ttyUSB2";
    QTest::newRow("fourth") << 4 << "/dev/ttyUSB10";
    QTest::newRow("then built-in ports") << 5 << "/dev/ttyS0";
    QTest::newRow("sixth") << 6 << "/dev/ttyS1";
    QTest::newRow("past the list") << 7 << "";
    QTest::newRow("zero") << 0 << "";
    QTest::newRow("negative") << -1 << "";
}

void TestSerialPort::comMapping() {
    QFETCH(int, number);
    QFETCH(QString, device);
    const QList<SerialDevice> devices = {
        {"ttyS1", "/dev/ttyS1", false},    {"ttyUSB10", "/dev/ttyUSB10", true},
        {"ttyS0", "/dev/ttyS0", false},    {"ttyUSB2", "/dev/ttyUSB2", true},
        {"ttyACM0", "/dev/ttyACM0", true}, {"ttyUSB0", "/dev/ttyUSB0", true},
    };
    QCOMPARE(DeviceForComPort(number, QString(), devices), device);
}

void TestSerialPort::comLink() {
    QTemporaryDir dir;
    const QList<SerialDevice> devices = {{"ttyUSB0", "/dev/ttyUSB0", true}};
    // A link wins over the listed devices, also when its device is gone.
    QVERIFY(QFile::link(QStringLiteral("/dev/null"), ComLinkPath(dir.path(), 1)));
    QVERIFY(QFile::link(dir.filePath("gone"), ComLinkPath(dir.path(), 2)));
    QCOMPARE(DeviceForComPort(1, dir.path(), devices), QStringLiteral("/dev/null"));
    QCOMPARE(DeviceForComPort(2, dir.path(), devices), dir.filePath("gone"));
    // Without a link the list counts.
    QCOMPARE(DeviceForComPort(3, dir.path(), devices), QString());
    QCOMPARE(DeviceForComPort(1, dir.filePath("nowhere"), devices), QStringLiteral("/dev/ttyUSB0"));
    QtSerialPortFactory factory(dir.path(), [&] { return devices; });
    QCOMPARE(factory.deviceFor(1), QStringLiteral("/dev/null"));
}

void TestSerialPort::lineTakesSettings_data() {
    // A pseudo-terminal keeps the baud rate and stop bits it is given; it always reports 8 data
    // bits and no parity, so those are covered by the settings' own test only
    // (tests/core/tst_serialsettings.cpp).
    QTest::addColumn<QString>("settings");
    QTest::addColumn<int>("baud");
    QTest::addColumn<int>("stop");
    QTest::newRow("9600,N,8,1") << "9600,N,8,1 " << 9600 << 1;
    QTest::newRow("1200,E,7,2") << "1200,E,7,2 " << 1200 << 2;
    QTest::newRow("19200,O,8,1") << "19200,O,8,1 " << 19200 << 1;
    QTest::newRow("2400,M,7,1") << "2400,M,7,1 " << 2400 << 1;
    QTest::newRow("4800,S,8,2") << "4800,S,8,2 " << 4800 << 2;
    QTest::newRow("600,N,8,2") << "600,N,8,2 " << 600 << 2;
}

void TestSerialPort::lineTakesSettings() {
    QFETCH(QString, settings);
    QFETCH(int, baud);
    QFETCH(int, stop);
    Rig rig;
    QVERIFY2(rig.open(settings), qPrintable(rig.port->errorString()));
    const auto line = rig.emulator.line();
    QCOMPARE(line.baudRate, baud);
    QCOMPARE(line.stopBits, stop);
}

void TestSerialPort::thresholdGathersChunks_data() {
    QTest::addColumn<int>("chunk");
    QTest::addColumn<int>("threshold");
    QTest::newRow("84 bytes whole") << 84 << 84;
    QTest::newRow("84 bytes one at a time") << 1 << 84;
    QTest::newRow("84 bytes in sevens") << 7 << 84;
    QTest::newRow("84 bytes in pieces of 5, last piece short") << 5 << 84;
    QTest::newRow("threshold 1") << 3 << 1;
}

void TestSerialPort::thresholdGathersChunks() {
    QFETCH(int, chunk);
    QFETCH(int, threshold);
    Rig rig;
    rig.emulator.core().fault = emu::Fault::Split;
    rig.emulator.chunkSize = chunk;
    rig.emulator.chunkGapMsecs = 2;
    QVERIFY(rig.open());
    QSignalSpy spy(rig.port.get(), &SerialPort::received);
    rig.port->setReceiveThreshold(threshold);
    QVERIFY(rig.port->write(QByteArray::fromHex("02800381")));
    const QByteArray block = rig.emulator.core().uploadBlock();
    QVERIFY(spy.wait(GiveUpMsecs));
    QByteArray got = spy.at(0).at(0).toByteArray();
    QVERIFY(got.size() >= threshold);
    // The rest comes in later notifications, each at least as large as the threshold.
    while (got.size() < block.size()) {
        QVERIFY(spy.wait(GiveUpMsecs));
        got += spy.constLast().at(0).toByteArray();
    }
    QCOMPARE(got, block);
    if (threshold == 84)
        QCOMPARE(spy.size(), 1);
    QCOMPARE(rig.emulator.received, QByteArray::fromHex("02800381"));
}

void TestSerialPort::discardInput() {
    Rig rig;
    QVERIFY(rig.open());
    QSignalSpy spy(rig.port.get(), &SerialPort::received);
    rig.port->setReceiveThreshold(84);
    rig.emulator.core().fault = emu::Fault::Split;
    rig.emulator.chunkSize = 40;
    rig.emulator.chunkGapMsecs = 200;
    // Once the first 40 bytes have had 200 ms to arrive (as the next 40 go out): whatever is
    // still to come is below the threshold.
    int chunks = 0;
    connect(&rig.emulator, &DecoderEmulator::bytesSent, rig.port.get(), [&] {
        if (++chunks == 2)
            rig.port->discardInput();
    });
    QVERIFY(rig.port->write(QByteArray::fromHex("02800381")));
    QTRY_COMPARE_WITH_TIMEOUT(chunks, 3, GiveUpMsecs);
    QTest::qWait(100);
    QCOMPARE(spy.size(), 0);
}

void TestSerialPort::receptionIsBounded_data() {
    QTest::addColumn<int>("threshold");
    // Nobody waits: what arrives is thrown away, not kept for a later wait.
    QTest::newRow("threshold 0") << 0;
    // The receiver shows a message box (an event loop of its own) from inside `received` while
    // the decoder keeps sending: at most a read-ahead is kept, and reading goes on afterwards.
    QTest::newRow("receiver busy") << 1;
}

void TestSerialPort::receptionIsBounded() {
    QFETCH(int, threshold);
    Rig rig;
    QVERIFY(rig.open());
    QList<qsizetype> chunks;
    bool busy = false;
    connect(rig.port.get(), &SerialPort::received, this, [&](const QByteArray& bytes) {
        chunks << bytes.size();
        if (chunks.size() > 1 || busy)
            return;
        busy = true;
        QEventLoop box;
        QTimer::singleShot(300, &box, &QEventLoop::quit);
        box.exec();
        busy = false;
    });
    rig.port->setReceiveThreshold(threshold);
    QTimer flood; // as fast as the pty takes it
    connect(&flood, &QTimer::timeout, this, [&] { rig.emulator.transmit(QByteArray(4096, 'x')); });
    flood.start(1);
    QTest::qWait(400);
    flood.stop();
    QTest::qWait(50);
    if (threshold == 0) {
        chunks.clear();
        rig.port->setReceiveThreshold(84);
        rig.emulator.transmit(QByteArray(10, 'y'));
        QTest::qWait(100);
        QCOMPARE(chunks.size(), 0); // 10 bytes, not 10 on top of what came before
        return;
    }
    QVERIFY(chunks.size() > 1); // reading went on after the box
    for (qsizetype i = 1; i < chunks.size(); ++i)
        QVERIFY2(chunks[i] <= QtSerialPort::ReadAheadBytes, qPrintable(QString::number(chunks[i])));
}

void TestSerialPort::writtenBytesLeaveFirst_data() {
    QTest::addColumn<QString>("how");
    QTest::newRow("drain") << "drain";
    QTest::newRow("close right after the write") << "close";
    QTest::newRow("drain, the decoder stops reading") << "held up";
}

void TestSerialPort::writtenBytesLeaveFirst() {
    QFETCH(QString, how);
    Rig rig;
    const bool heldUp = how == QLatin1String("held up");
    // A fast line, so that more than the pty holds has a short line time.
    QVERIFY(rig.open(heldUp ? QStringLiteral("4000000,N,8,1") : QStringLiteral("19200,N,8,1")));
    const QByteArray bytes(heldUp ? 200000 : 192, '\x05');
    const qint64 lineMsecs = bytes.size() * 10 * 1000 / (heldUp ? 4000000 : 19200);
    rig.emulator.setReading(!heldUp);
    QSignalSpy drained(rig.port.get(), &SerialPort::drained);
    QElapsedTimer clock;
    clock.start();
    QVERIFY(rig.port->write(bytes));
    if (how == QLatin1String("close")) {
        rig.port->close();
        QVERIFY2(clock.elapsed() >= lineMsecs, qPrintable(QString::number(clock.elapsed())));
        QTRY_COMPARE(rig.emulator.received, bytes);
        return;
    }
    rig.port->drain();
    QCOMPARE(drained.size(), 0); // never inside the call
    QVERIFY(drained.wait(lineMsecs + 5000));
    QVERIFY2(drained.at(0).at(0).toBool() == !heldUp, qPrintable(rig.port->errorString()));
    QVERIFY2(clock.elapsed() >= lineMsecs, qPrintable(QString::number(clock.elapsed())));
    if (heldUp) {
        QVERIFY2(rig.port->errorString().contains(QLatin1String("had not left the port")),
                 qPrintable(rig.port->errorString()));
        rig.emulator.setReading(true);
    } else {
        QCOMPARE(rig.emulator.received, bytes);
    }
}

void TestSerialPort::missingDeviceDoesNotOpen() {
    QTemporaryDir dir;
    QtSerialPortFactory factory(dir.path(), [] { return NoDevices; });
    auto port = factory.createPort();
    port->setCommPort(4);
    QVERIFY(port->setSettings(SerialSettings()));
    QVERIFY(!port->open());
    QVERIFY(!port->isOpen());
    QVERIFY(!port->errorString().isEmpty());
    QVERIFY(!port->write("x"));
    // A link to a device that is gone fails the same way.
    QVERIFY(QFile::link(dir.filePath("gone"), ComLinkPath(dir.path(), 4)));
    QVERIFY(!port->open());
}

void TestSerialPort::lostPortIsClosedAndReported() {
    Rig rig;
    QVERIFY(rig.open());
    QSignalSpy lost(rig.port.get(), &SerialPort::lost);
    rig.port->setReceiveThreshold(1);
    rig.emulator.stop(); // the other end goes away
    QVERIFY(lost.wait(GiveUpMsecs));
    QVERIFY(!rig.port->isOpen());
    QCOMPARE(lost.size(), 1);
    const QString reason = lost.at(0).at(0).toString();
    QVERIFY2(reason.startsWith(QLatin1String("the device was removed or stopped answering (")),
             qPrintable(reason));
    QCOMPARE(rig.port->errorString(), reason);
    // Nothing keeps reading the dead device: the process idles.
    const double before = ProcessCpuSeconds();
    QTest::qWait(500);
    const double used = ProcessCpuSeconds() - before;
    QVERIFY2(used < 0.1, qPrintable(QString::number(used)));
    QCOMPARE(lost.size(), 1);
}

void TestSerialPort::lostPortReason_data() {
    QTest::addColumn<QSerialPort::SerialPortError>("error");
    QTest::addColumn<QString>("portError");
    QTest::addColumn<QString>("reason"); // empty: not a loss
    using P = QSerialPort;
    const QString gone = "the device was removed or stopped answering";
    QTest::newRow("hung up") << P::ResourceError << "Input/output error"
                             << gone + " (Input/output error)";
    QTest::newRow("no longer a terminal")
        << P::UnsupportedOperationError << "Inappropriate ioctl for device"
        << gone + " (Inappropriate ioctl for device)";
    QTest::newRow("write failed, no words") << P::WriteError << "" << gone;
    QTest::newRow("not open") << P::NotOpenError << "Device is not open"
                              << "";
}

void TestSerialPort::lostPortReason() {
    QFETCH(QSerialPort::SerialPortError, error);
    QFETCH(QString, portError);
    QFETCH(QString, reason);
    QCOMPARE(LostPortReason(error, portError).value_or(QString()), reason);
}

void TestSerialPort::openSerialLink_data() {
    QTest::addColumn<int>("comPort");
    QTest::addColumn<bool>("opens");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("details");
    const QString format = QStringLiteral("E,7,2 ");
    QTest::newRow("emulator on Com 1") << 1 << true << "" << format << "";
    QTest::newRow("Com 5 missing")
        << 5 << false << "COM 5: not available." << format << "No serial device for Com 5";
    QTest::newRow("Com 2 missing")
        << 2 << false << "COM 2: not available." << format << "No serial device for Com 2";
    // The port opens, but with settings it cannot take: it is still open while the message
    // shows, and closed afterwards.
    QTest::newRow("unusable settings") << 1 << false << "COM 1: not available."
                                       << "N,9,9 "
                                       << "Unusable serial settings \"2400,N,9,9 \"";
}

void TestSerialPort::openSerialLink() {
    QFETCH(int, comPort);
    QFETCH(bool, opens);
    QFETCH(QString, text);
    QFETCH(QString, format);
    QFETCH(QString, details);
    Rig rig;
    Config config;
    config.ComPort = static_cast<qint16>(comPort);
    config.LineSettings.baudRate = 2400;
    SetFormat(config.LineSettings, format);
    FakeDialogs dialogs;
    bool openAtMessage = false;
    dialogs.onMessage = [&](const Dialogs::Message&) {
        openAtMessage = rig.port->isOpen();
    };
    QCOMPARE(OpenSerialLink(*rig.port, config, dialogs), opens);
    QCOMPARE(rig.port->isOpen(), opens);
    if (opens) {
        QVERIFY(dialogs.shown.isEmpty());
        QCOMPARE(rig.emulator.line().baudRate, 2400);
        QCOMPARE(rig.emulator.line().stopBits, 2);
        // Opening again with the port open closes it first and opens it anew.
        QVERIFY(OpenSerialLink(*rig.port, config, dialogs));
        QVERIFY(rig.port->isOpen());
        return;
    }
    QCOMPARE(dialogs.shown.size(), 1);
    QCOMPARE(dialogs.last().text, text);
    QCOMPARE(dialogs.last().title, QString()); // the program's own name
    QCOMPARE(dialogs.last().buttons, Dialogs::Buttons::Ok);
    QCOMPARE(dialogs.last().details, details);
    QCOMPARE(openAtMessage, comPort == 1);
}

void TestSerialPort::openFailureReason_data() {
    QTest::addColumn<QSerialPort::SerialPortError>("error");
    QTest::addColumn<QString>("portError");
    QTest::addColumn<bool>("userMayUse");
    QTest::addColumn<QString>("group");
    QTest::addColumn<QString>("holder"); // "-": not held by this program
    QTest::addColumn<QString>("reason");
    using P = QSerialPort;
    const QString permission = "Permission denied: /dev/ttyUSB0. Serial devices belong to the "
                               "group dialout: add your user to it (sudo usermod -aG dialout "
                               "$USER), then log out and in again.";
    const QString busy = "/dev/ttyUSB0 is busy: another program is using it.";
    QTest::newRow("missing") << P::DeviceNotFoundError << "No such file or directory" << false << ""
                             << "-"
                             << "No such file or device: /dev/ttyUSB0. The device is missing; is "
                                "the adapter plugged in?";
    QTest::newRow("no access") << P::PermissionError << "Permission denied" << false << "dialout"
                               << "-" << permission;
    QTest::newRow("no access, whatever the port's words")
        << P::PermissionError << "Keine Berechtigung" << false << "dialout"
        << "-" << permission;
    QTest::newRow("no access, group uucp")
        << P::PermissionError << "Permission denied" << false << "uucp"
        << "-"
        << "Permission denied: /dev/ttyUSB0. Serial devices belong to the group uucp: add your "
           "user to it (sudo usermod -aG uucp $USER), then log out and in again.";
    QTest::newRow("no access, group tty")
        << P::PermissionError << "Permission denied" << false << "tty"
        << "-"
        << "Permission denied: /dev/ttyUSB0 (owner root, group "
           "tty).";
    QTest::newRow("locked by another program")
        << P::PermissionError << "Permission error while locking the device" << true << "dialout"
        << "-" << busy;
    QTest::newRow("opened exclusively")
        << P::PermissionError << "Device or resource busy" << true << "dialout"
        << "-" << busy;
    QTest::newRow("held by a window of this program")
        << P::PermissionError << "" << true << "dialout"
        << "\"Transmit\" window"
        << "/dev/ttyUSB0 is busy: this program's \"Transmit\" window is using it.";
    QTest::newRow("held by this program, unnamed")
        << P::PermissionError << "" << true << "dialout"
        << ""
        << "/dev/ttyUSB0 is busy: this program is already using it.";
    QTest::newRow("not a serial device")
        << P::UnsupportedOperationError << "Inappropriate ioctl for device" << true << "dialout"
        << "-"
        << "/dev/ttyUSB0: Inappropriate ioctl for device";
    QTest::newRow("input/output") << P::ResourceError << "Input/output error" << true << "dialout"
                                  << "-"
                                  << "/dev/ttyUSB0: Input/output error";
    QTest::newRow("no words") << P::UnknownError << "" << true << "dialout"
                              << "-"
                              << "/dev/ttyUSB0: Unknown error";
}

void TestSerialPort::openFailureReason() {
    QFETCH(QSerialPort::SerialPortError, error);
    QFETCH(QString, portError);
    QFETCH(bool, userMayUse);
    QFETCH(QString, group);
    QFETCH(QString, holder);
    QFETCH(QString, reason);
    DeviceAccess access;
    access.userMayUse = userMayUse;
    access.group = group;
    access.owner = group.isEmpty() ? QString() : QStringLiteral("root");
    if (holder != QLatin1String("-"))
        access.holder = holder;
    QCOMPARE(OpenFailureReason(error, portError, QStringLiteral("/dev/ttyUSB0"), access), reason);
}

void TestSerialPort::notAvailableDetails_data() {
    QTest::addColumn<QString>("device"); // what com1 stands for: the emulator, a file or nothing
    QTest::addColumn<QString>("reason"); // the start of the details
    QTest::newRow("device gone") << "gone"
                                 << "No such file or device: ";
    QTest::newRow("not a terminal") << "file"
                                    << "";
    QTest::newRow("in use by another program") << "busy"
                                               << "";
    QTest::newRow("in use by this program's window") << "ours"
                                                     << "";
    QTest::newRow("no permission") << "forbidden"
                                   << "Permission denied: ";
}

void TestSerialPort::notAvailableDetails() {
    QFETCH(QString, device);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    DecoderEmulator emulator;
    QVERIFY(emulator.start());
    QString path = emulator.devicePath();
    QtSerialPortFactory factory(dir.path(), [] { return NoDevices; });
    std::unique_ptr<SerialPort> other; // holds the device when it is busy
    if (device == QLatin1String("ours")) {
        other = factory.createPort();
        other->setHolder(QStringLiteral("\"Transmit\" window"));
    } else if (device == QLatin1String("gone")) {
        path = dir.filePath(QStringLiteral("ttyUSB7"));
    } else if (device == QLatin1String("file")) {
        path = dir.filePath(QStringLiteral("notes.txt"));
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
    } else if (device == QLatin1String("busy")) {
        other = QtSerialPortFactory(dir.path(), [] { return NoDevices; }).createPort();
    } else if (device == QLatin1String("forbidden")) {
        // Nobody may use the device; the folder with the link stays open to all.
        QVERIFY(::chmod(QFile::encodeName(path).constData(), 0) == 0);
        QVERIFY(::chmod(QFile::encodeName(dir.path()).constData(), 0755) == 0);
    }
    QVERIFY(QFile::link(path, ComLinkPath(dir.path(), 1)));
    if (other) {
        other->setCommPort(1);
        QVERIFY2(other->open(), qPrintable(other->errorString()));
    }

    auto port = factory.createPort();
    Config config;
    config.ComPort = 1;
    FakeDialogs dialogs;
    bool opened = false;
    if (device == QLatin1String("forbidden")) {
        AsUnprivilegedUser user;
        if (!user.active)
            QSKIP("cannot open files as an unprivileged user here (setfsuid refused)");
        opened = OpenSerialLink(*port, config, dialogs);
    } else {
        opened = OpenSerialLink(*port, config, dialogs);
    }
    QVERIFY(!opened);
    QVERIFY(!port->isOpen());
    QCOMPARE(dialogs.texts(), QStringList{"COM 1: not available."});
    const QString details = dialogs.last().details;
    QCOMPARE(details, port->errorString());
    QVERIFY2(details.startsWith(reason + path), qPrintable(details));
    if (device == QLatin1String("forbidden")) // a pty belongs to the group tty (or root)
        QVERIFY2(details.contains(QLatin1String(" (owner ")) && !details.contains("usermod"),
                 qPrintable(details));
    else if (device == QLatin1String("busy"))
        QCOMPARE(details, path + QStringLiteral(" is busy: another program is using it."));
    else if (device == QLatin1String("ours"))
        QCOMPARE(details, path + QStringLiteral(" is busy: this program's \"Transmit\" window is "
                                                "using it."));
    else if (device == QLatin1String("file"))
        QVERIFY2(details.size() > path.size() + 2 && details[path.size()] == QLatin1Char(':'),
                 qPrintable(details));
}

QTEST_MAIN(TestSerialPort)
#include "tst_serialport.moc"
