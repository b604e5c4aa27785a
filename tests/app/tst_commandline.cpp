// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The command line: every program's --version, orvcfg's --help and wrong command lines (run as
// processes without a display; each ends before the program's start-up), and the
// FILE that start-up opens as File > Open does (in this process, with the test doubles).

#include "appfixture.h"

#include "app/commandline.h"
#include "core/cfgformat.h"
#include "core/filename.h"
#include "orvproject.h"
#include "support/filefixtures.h"

#include <QProcess>

#include <fstream>
#include <unistd.h>

using namespace orv;
using namespace orv::test;

namespace {

const QString BinDir = QStringLiteral(ORV_BIN_DIR);
const QString PortWarning = QStringLiteral(
    "There is an error for keyboard, you can download and upload CFG data only thru RS232!");
const QString NotConfiguration = QStringLiteral("This File Is Not A Configuration Setup File");

struct Run {
    int exitCode = -1;
    QString out;
    QString err;
};

Run RunProgram(const QString& program, const QStringList& arguments,
               const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment()) {
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(BinDir + QLatin1Char('/') + program, arguments);
    Run r;
    if (!p.waitForFinished(GiveUpMsecs) || p.exitStatus() != QProcess::NormalExit)
        return r;
    r.exitCode = p.exitCode();
    r.out = QString::fromLocal8Bit(p.readAllStandardOutput());
    r.err = QString::fromLocal8Bit(p.readAllStandardError());
    return r;
}

// An environment without any display: what needs none must still answer.
QProcessEnvironment NoDisplay() {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(QString::fromLatin1(name));
    return env;
}

CfgContents Sample() {
    CfgContents c;
    c.DeviceName = QStringLiteral("Gate 3");
    c.UserName = QStringLiteral("Ana");
    c.SetupDate = QStringLiteral("2026-12-01");
    c.Description = QStringLiteral("Started from the file manager");
    c.ComPort = 3;
    c.LinkMode = 0;
    for (int i = 0; i < ImageSize; ++i)
        c.data[i] = static_cast<quint8>((i * 53 + 7) % 256);
    return c;
}

} // namespace

class TestCommandLine : public QObject {
    Q_OBJECT
private slots:
    void versionOfEveryProgram_data();
    void versionOfEveryProgram();
    void helpWithoutDisplay_data();
    void helpWithoutDisplay();
    void wrongCommandLine_data();
    void wrongCommandLine();
    void fileAtStartUp_data();
    void fileAtStartUp();
    void namedPipeAtStartUp();
    void nameNotUtf8AtStartUp();
};

void TestCommandLine::versionOfEveryProgram_data() {
    QTest::addColumn<QString>("program");
    QTest::newRow("orvcfg") << "orvcfg";
    QTest::newRow("orvctl") << "orvctl";
    QTest::newRow("orvemu") << "orvemu";
}

void TestCommandLine::versionOfEveryProgram() {
    QFETCH(QString, program);
    const Run r = RunProgram(program, {QStringLiteral("--version")}, NoDisplay());
    QCOMPARE(r.exitCode, 0);
    QCOMPARE(r.out, program + QLatin1Char(' ') + QStringLiteral(ORV_VERSION) + QLatin1Char('\n'));
}

void TestCommandLine::helpWithoutDisplay_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("expected"); // what stdout must contain
    QTest::newRow("--help") << QStringList{"--help"} << "Usage: ";
    QTest::newRow("-h") << QStringList{"-h"} << "Usage: ";
    QTest::newRow("-v") << QStringList{"-v"} << "orvcfg " ORV_VERSION "\n";
    QTest::newRow("--version after a file")
        << QStringList{"a.cfg", "--version"} << "orvcfg " ORV_VERSION "\n";
    QTest::newRow("--version in German")
        << QStringList{"--lang", "de", "--version"} << "orvcfg " ORV_VERSION "\n";
    QTest::newRow("a file named --help")
        << QStringList{"--version", "--", "--help"} << "orvcfg " ORV_VERSION "\n";
}

void TestCommandLine::helpWithoutDisplay() {
    QFETCH(QStringList, arguments);
    QFETCH(QString, expected);
    const Run r = RunProgram(QStringLiteral("orvcfg"), arguments, NoDisplay());
    QCOMPARE(r.exitCode, 0);
    QVERIFY2(r.out.contains(expected), qPrintable(r.out));
    if (expected.startsWith(QLatin1String("Usage"))) {
        for (const char* part :
             {"[FILE]", "--help", "--version", "--lang <LANG>", "configuration file"})
            QVERIFY2(r.out.contains(QLatin1String(part)), part);
    }
}

void TestCommandLine::wrongCommandLine_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("error");
    QTest::newRow("unknown option") << QStringList{"--bogus"} << "Unknown option 'bogus'";
    QTest::newRow("language missing")
        << QStringList{"a.cfg", "--lang"} << "Missing value after '--lang'";
    QTest::newRow("two files") << QStringList{"a.cfg", "b.cfg"}
                               << "orvcfg: only one FILE can be opened; 2 were given";
    QTest::newRow("empty name") << QStringList{""} << "orvcfg: FILE is an empty name";
    // The toolkit's own options are its own; what is wrong among them is still refused.
    QTest::newRow("toolkit option, then a wrong one")
        << QStringList{"-platform", "offscreen", "--version", "--bogus"}
        << "Unknown option 'bogus'";
    QTest::newRow("two files around toolkit options")
        << QStringList{"a.cfg", "--style", "fusion", "-reverse", "-stylesheet=x.qss", "b.cfg"}
        << "orvcfg: only one FILE can be opened; 2 were given";
}

void TestCommandLine::wrongCommandLine() {
    QFETCH(QStringList, arguments);
    QFETCH(QString, error);
    // No display: a wrong command line is told before the toolkit starts.
    const Run r = RunProgram(QStringLiteral("orvcfg"), arguments, NoDisplay());
    QCOMPARE(r.exitCode, 1);
    QVERIFY2(r.err.contains(error), qPrintable(r.err));
    QCOMPARE(r.out, QString());
}

void TestCommandLine::fileAtStartUp_data() {
    QTest::addColumn<QByteArray>("contents"); // null: no such file
    QTest::addColumn<bool>("portFails");
    QTest::addColumn<bool>("opened");
    QTest::addColumn<QStringList>("messages"); // the start of each message shown, in order
    const QByteArray good = *WriteCfgFile(Sample());
    const QByteArray capitals = QByteArray(good).replace("tova", "TOVA");
    const QByteArray damaged = good.left(good.lastIndexOf(" \r\n", good.size() - 4) + 3);
    QTest::newRow("good file") << good << false << true << QStringList{};
    QTest::newRow("good file, port warning first")
        << good << true << true << QStringList{PortWarning};
    QTest::newRow("wrong signature") << capitals << false << false << QStringList{NotConfiguration};
    QTest::newRow("wrong signature, port warning first")
        << capitals << true << false << QStringList{PortWarning, NotConfiguration};
    QTest::newRow("damaged") << damaged << false << false
                             << QStringList{QStringLiteral("The file %1 is damaged")};
    QTest::newRow("missing") << QByteArray() << false << false
                             << QStringList{QStringLiteral("The file %1 could not be opened")};
}

void TestCommandLine::fileAtStartUp() {
    QFETCH(QByteArray, contents);
    QFETCH(bool, portFails);
    QFETCH(bool, opened);
    QFETCH(QStringList, messages);
    AppFixture f;
    if (portFails)
        f.port.failingInits = -1;
    const QString path = f.dir.filePath(QStringLiteral("from the file manager.cfg"));
    if (!contents.isNull())
        AppFixture::WriteFile(path, contents);

    f.start(path);

    const QStringList shown = f.dialogs.texts();
    QCOMPARE(shown.size(), messages.size());
    for (qsizetype i = 0; i < messages.size(); ++i) {
        const QString start = QString(messages[i]).replace(QStringLiteral("%1"), path);
        QVERIFY2(shown[i].startsWith(start), qPrintable(shown[i]));
    }
    QVERIFY(f.window->isVisible());
    QVERIFY(!f.config.HasUnsavedChanges());
    if (opened) {
        const CfgContents sample = Sample();
        QCOMPARE(f.window->windowTitle(), QStringLiteral("Configuration Setup: ") + path);
        QCOMPARE(f.config.CfgFileName, path);
        QCOMPARE(f.config.CfgData, sample.data);
        QCOMPARE(f.config.DeviceName, sample.DeviceName);
        QCOMPARE(f.config.ComPort, sample.ComPort);
        QCOMPARE(f.config.LinkMode, sample.LinkMode);
    } else {
        // Start-up as without a file: nothing of the refused file was taken.
        QCOMPARE(f.window->windowTitle(), QStringLiteral("Orv Configuration: New File"));
        QCOMPARE(f.config.CfgFileName, QStringLiteral("New File"));
        QCOMPARE(f.config.CfgData, f.config.CfgDefault);
        QCOMPARE(f.config.ComPort, qint16(1));
        QCOMPARE(f.config.LinkMode, qint16(1));
    }
}

// A named pipe given on the command line is refused as File > Open refuses it, without being
// opened (which would block the start-up).
void TestCommandLine::namedPipeAtStartUp() {
    AppFixture f;
    TestFifo fifo(f.dir.filePath(QStringLiteral("pipe.cfg")));
    QVERIFY(fifo.made());
    f.start(fifo.path());
    QCOMPARE(f.dialogs.texts(),
             QStringList{QStringLiteral("The file %1 could not be opened: it is a named pipe, not "
                                        "a regular file.")
                             .arg(fifo.path())});
    QVERIFY(f.window->isVisible());
    QCOMPARE(f.config.CfgFileName, QStringLiteral("New File"));
    QVERIFY(!fifo.wasOpened());
}

// The name's bytes as they stand, not as UTF-8 decoding would leave them: the file opens, the
// caption shows the bytes, and Save writes back to that file.
void TestCommandLine::nameNotUtf8AtStartUp() {
    AppFixture f;
    const QByteArray name = QFile::encodeName(f.dir.path()) + "/from \xff\xfe.cfg";
    std::ofstream(name.constData()) << WriteCfgFile(Sample())->constData();
    const char* const argv[] = {"orvcfg", "from \xff\xfe.cfg"};
    const QString current = QDir::currentPath();
    QVERIFY(QDir::setCurrent(f.dir.path()));
    f.start(ProcessCommandLine(2, argv)); // relative to the current folder
    QDir::setCurrent(current);
    QVERIFY2(f.dialogs.shown.isEmpty(), qPrintable(f.dialogs.texts().join('|')));
    QCOMPARE(f.window->windowTitle(),
             QStringLiteral("Configuration Setup: %1/from \\xFF\\xFE.cfg").arg(f.dir.path()));
    f.config.CfgData[0] = 'Q';
    f.trigger("mnuFileSave");
    std::ifstream in(name.constData());
    const std::string back(std::istreambuf_iterator<char>(in), {});
    QCOMPARE(ParseCfgFile(QByteArray::fromStdString(back)).contents.data[0], quint8('Q'));
    QVERIFY(::unlink(name.constData()) == 0); // QDir cannot name it to remove it
}

QTEST_MAIN(TestCommandLine)
#include "tst_commandline.moc"
