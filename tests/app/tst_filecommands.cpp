// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "appfixture.h"

#include "core/cfgformat.h"
#include "support/filefixtures.h"

#include <QFileInfo>

using namespace orv;
using namespace orv::test;

namespace {

const QString Title = QStringLiteral("Configuration Setup");
const QString ChangedQuestion =
    QStringLiteral("Configuration had been changed,do you want to save your file?");
using A = Dialogs::Answer;

// The .cfg file of the start-up configuration, written out by hand.
QByteArray StartUpFile(const QString& date) {
    QByteArray f = "tova\r\nDevice Name\r\nUser's Name\r\n" + date.toLatin1() +
                   "\r\nYour description about this configuration file\r\n 1 \r\n 1 \r\n";
    const char* bytes[] = {"65",  "66",  "67",  "68",  "69",  "70",  "71", "72",  "255", "255",
                           "255", "255", "255", "255", "255", "255", "8",  "0",   "255", "252",
                           "2",   "255", "34",  "102", "0",   "0",   "48", "226", "23"};
    for (const char* b : bytes)
        f += QByteArray(" ") + b + " \r\n";
    for (int i = 29; i <= 76; ++i)
        f += " 255 \r\n";
    for (const char* b : {"37", "63", "59", "63", "43", "63", "12", "13"})
        f += QByteArray(" ") + b + " \r\n";
    return f;
}

// A configuration file with recognisable contents.
CfgContents Sample() {
    CfgContents c;
    c.DeviceName = QStringLiteral("Dock 7, north");
    c.UserName = QStringLiteral("\"Kim\"");
    c.SetupDate = QStringLiteral("2026-11-30");
    c.Description = QStringLiteral("Returns desk");
    c.ComPort = 4;
    c.LinkMode = 0;
    for (int i = 0; i < ImageSize; ++i)
        c.data[i] = static_cast<quint8>((i * 37 + 11) % 256);
    return c;
}

} // namespace

class TestFileCommands : public QObject {
    Q_OBJECT
private slots:
    void defaultsAtStartUp_data();
    void defaultsAtStartUp();
    void unusableDefaultsGiveFactorySettings_data();
    void unusableDefaultsGiveFactorySettings();
    void saveAsStartUpConfiguration();
    void saveWritesToItsFile();
    void saveAsksAboutAChangedFile_data();
    void saveAsksAboutAChangedFile();
    void openGoodFile();
    void openRefusesBadFiles_data();
    void openRefusesBadFiles();
    void openCancelled();
    void openRefusesSpecialFiles_data();
    void openRefusesSpecialFiles();
    void openThenSaveHeaderLineEnds_data();
    void openThenSaveHeaderLineEnds();
    void failedSaves_data();
    void failedSaves();
    void unsavedQuestion_data();
    void unsavedQuestion();
    void newKeepsLinkSettings();
    void saveAsDefault();
    void failedSaveAsDefault();
};

void TestFileCommands::defaultsAtStartUp_data() {
    QTest::addColumn<QByteArray>("current"); // defaults file in the current folder
    QTest::addColumn<QByteArray>("perUser"); // defaults file in the per-user folder
    QTest::addColumn<int>("expectedFirst");  // byte 0 of CfgDefault; 65 = built-in
    Image a{};
    a.fill(1);
    Image b{};
    b.fill(2);
    const QByteArray fileA = WriteDefaultsFile(a);
    const QByteArray fileB = WriteDefaultsFile(b);
    QByteArray short84 = fileA;
    short84.chop(QByteArrayLiteral(" 1 \r\n").size());
    QTest::newRow("none") << QByteArray() << QByteArray() << 65;
    QTest::newRow("current folder") << fileA << QByteArray() << 1;
    QTest::newRow("per-user folder") << QByteArray() << fileB << 2;
    QTest::newRow("current folder first") << fileA << fileB << 1;
    QTest::newRow("wrong signature") << QByteArray(fileA).replace("Orv_", "orv_") << fileB << 65;
    QTest::newRow("84 numbers") << short84 << QByteArray() << 65;
    QTest::newRow("a cfg file") << StartUpFile("x") << QByteArray() << 65;
}

void TestFileCommands::defaultsAtStartUp() {
    QFETCH(QByteArray, current);
    QFETCH(QByteArray, perUser);
    QFETCH(int, expectedFirst);
    AppFixture f;
    if (!current.isEmpty())
        AppFixture::WriteFile(f.paths.currentDir + QStringLiteral("/defaults"), current);
    if (!perUser.isEmpty()) {
        QDir().mkpath(f.paths.userConfigDir);
        AppFixture::WriteFile(f.paths.userConfigDir + QStringLiteral("/defaults"), perUser);
    }
    f.start();
    Image expected = Config::BuiltInDefaults();
    if (expectedFirst != 65)
        expected.fill(static_cast<quint8>(expectedFirst));
    QVERIFY(f.config.CfgDefault == expected);
    QVERIFY(f.config.CfgData == expected);
    QVERIFY(f.config.CfgSaved == expected);
    QVERIFY(!f.config.HasUnsavedChanges());
    QVERIFY(f.dialogs.shown.isEmpty()); // an unusable defaults file is not reported
}

void TestFileCommands::unusableDefaultsGiveFactorySettings_data() {
    QTest::addColumn<QString>("kind"); // what the current folder's "defaults" is
    QTest::addColumn<qint64>("size");  // its size, for a file
    QTest::addColumn<int>("expectedFirst");
    QTest::newRow("named pipe") << "fifo" << qint64(0) << 65;
    QTest::newRow("folder") << "folder" << qint64(0) << 65;
    QTest::newRow("numbers up to the limit") << "file" << MaxDefaultsFileSize << 1;
    QTest::newRow("one byte more") << "file" << MaxDefaultsFileSize + 1 << 65;
    QTest::newRow("200 MB") << "file" << qint64(200) * 1000 * 1000 << 65;
}

// When the current folder holds an unusable "defaults", the factory settings are used, not the
// per-user file; a named pipe is never opened.
void TestFileCommands::unusableDefaultsGiveFactorySettings() {
    QFETCH(QString, kind);
    QFETCH(qint64, size);
    QFETCH(int, expectedFirst);
    AppFixture f;
    const QString current = f.paths.currentDir + QStringLiteral("/defaults");
    Image a{};
    a.fill(1);
    Image b{};
    b.fill(2);
    QDir().mkpath(f.paths.userConfigDir);
    AppFixture::WriteFile(f.paths.userConfigDir + QStringLiteral("/defaults"),
                          WriteDefaultsFile(b));
    std::unique_ptr<TestFifo> fifo;
    if (kind == QLatin1String("fifo")) {
        fifo = std::make_unique<TestFifo>(current);
        QVERIFY(fifo->made());
    } else if (kind == QLatin1String("folder")) {
        QVERIFY(QDir().mkpath(current));
    } else {
        // A good defaults file followed by more number records, as far as the size asks.
        QByteArray bytes = WriteDefaultsFile(a);
        const qint64 written = qMin<qint64>(size, 2 * MaxDefaultsFileSize);
        while (bytes.size() < written)
            bytes += " 7 \r\n";
        bytes.truncate(written);
        AppFixture::WriteFile(current, bytes);
        QFile file(current);
        QVERIFY(file.resize(size)); // larger ones end in a hole
    }
    f.start();
    Image expected = Config::BuiltInDefaults();
    if (expectedFirst != 65)
        expected.fill(static_cast<quint8>(expectedFirst));
    QVERIFY(f.config.CfgDefault == expected);
    QVERIFY(f.dialogs.shown.isEmpty());
    if (fifo)
        QVERIFY(!fifo->wasOpened());
}

void TestFileCommands::saveAsStartUpConfiguration() {
    AppFixture f;
    f.start();
    const QString path = f.dir.filePath(QStringLiteral("start.cfg"));
    f.dialogs.saveResults = {path};
    f.trigger("mnuFileSave"); // no file yet: Save runs Save As
    QCOMPARE(f.dialogs.saveRequests.size(), 1);
    const Dialogs::FileRequest& r = f.dialogs.saveRequests[0];
    QCOMPARE(r.fileName, QStringLiteral("New File"));
    QCOMPARE(r.filter, QStringLiteral("Config Setup Files(*.cfg)|*.cfg"));
    QCOMPARE(r.defaultExtension, QStringLiteral("cfg"));
    QVERIFY(r.overwritePrompt);
    QVERIFY(r.pathMustExist);
    QCOMPARE(AppFixture::ReadFile(path), StartUpFile(Config::DateText(AppFixture::Today())));
    QCOMPARE(f.config.CfgFileName, path);
    QCOMPARE(f.window->windowTitle(), QStringLiteral("Configuration Setup: ") + path);
    QVERIFY(f.dialogs.shown.isEmpty());
}

void TestFileCommands::saveWritesToItsFile() {
    AppFixture f;
    f.start();
    const QString path = f.dir.filePath(QStringLiteral("mine.cfg"));
    f.dialogs.saveResults = {path};
    f.trigger("mnuFileSaveAs");
    f.config.CfgData[17] = 0x35;
    f.config.Description = QStringLiteral("edited");
    QVERIFY(f.config.HasUnsavedChanges());
    const QString caption = f.window->windowTitle();
    f.trigger("mnuFileSave");
    QCOMPARE(f.dialogs.saveRequests.size(), 1); // no dialog the second time
    QVERIFY(!f.config.HasUnsavedChanges());
    QCOMPARE(f.window->windowTitle(), caption);
    const CfgParseResult back = ParseCfgFile(AppFixture::ReadFile(path));
    QCOMPARE(back.status, CfgParseStatus::Ok);
    QCOMPARE(back.contents.data[17], quint8(0x35));
    QCOMPARE(back.contents.Description, QStringLiteral("edited"));
}

void TestFileCommands::saveAsksAboutAChangedFile_data() {
    QTest::addColumn<bool>("changed"); // another program replaced the file since it was opened
    QTest::addColumn<QList<A>>("answers");
    QTest::newRow("not changed") << false << QList<A>{};
    QTest::newRow("changed, Yes") << true << QList<A>{A::Yes};
    QTest::newRow("changed, No") << true << QList<A>{A::No};
}

void TestFileCommands::saveAsksAboutAChangedFile() {
    QFETCH(bool, changed);
    QFETCH(QList<A>, answers);
    AppFixture f;
    f.start();
    const QString path = f.dir.filePath(QStringLiteral("shared.cfg"));
    AppFixture::WriteFile(path, *WriteCfgFile(Sample()));
    f.dialogs.openResults = {path};
    f.trigger("mnuFileOpen");
    CfgContents other = Sample();
    other.Description = QStringLiteral("written by another program");
    if (changed) {
        AppFixture::WriteFile(path + QStringLiteral(".new"), *WriteCfgFile(other));
        QVERIFY(QFile::remove(path) && QFile::rename(path + QStringLiteral(".new"), path));
    }
    f.config.CfgData[2] = 'Z';
    f.dialogs.answers = answers;
    f.trigger("mnuFileSave");
    const bool saved = answers.value(0, A::Yes) == A::Yes;
    QCOMPARE(f.dialogs.texts(),
             changed ? QStringList{QStringLiteral("The file %1 was changed by another program "
                                                  "since it was opened or last saved. Overwrite "
                                                  "it?")
                                       .arg(path)}
                     : QStringList{});
    if (changed)
        QCOMPARE(f.dialogs.last().buttons, Dialogs::Buttons::YesNo);
    QCOMPARE(f.config.HasUnsavedChanges(), !saved);
    QCOMPARE(ParseCfgFile(AppFixture::ReadFile(path)).contents.data[2] == 'Z', saved);
    // Once saved, the file is the window's own again: the next Save does not ask.
    f.dialogs.clear();
    f.trigger("mnuFileSave");
    QCOMPARE(f.dialogs.shown.size(), saved ? 0 : 1);
}

void TestFileCommands::openGoodFile() {
    AppFixture f;
    f.start();
    const QString path = f.dir.filePath(QStringLiteral("sample.cfg"));
    AppFixture::WriteFile(path, *WriteCfgFile(Sample()));
    f.trigger("mnuConfigComm");
    f.dialogs.openResults = {path};
    f.trigger("mnuFileOpen");
    QCOMPARE(f.dialogs.openRequests.size(), 1);
    QVERIFY(f.dialogs.openRequests[0].fileMustExist);
    QVERIFY(f.dialogs.openRequests[0].fileName.isEmpty());
    const CfgContents s = Sample();
    QVERIFY(f.config.CfgData == s.data);
    QVERIFY(f.config.CfgSaved == s.data);
    QVERIFY(!f.config.HasUnsavedChanges());
    QCOMPARE(f.config.DeviceName, s.DeviceName);
    QCOMPARE(f.config.UserName, s.UserName);
    QCOMPARE(f.config.SetupDate, s.SetupDate);
    QCOMPARE(f.config.Description, s.Description);
    QCOMPARE(f.config.ComPort, qint16(4));
    QCOMPARE(f.config.LinkMode, qint16(0));
    QCOMPARE(f.config.CfgFileName, path);
    QCOMPARE(f.window->windowTitle(), QStringLiteral("Configuration Setup: ") + path);
    QVERIFY(f.openChildren().isEmpty()); // the open panel was closed
    QCOMPARE(f.config.ActivePanel, qint16(0));
}

void TestFileCommands::openRefusesBadFiles_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("message");
    const QByteArray good = *WriteCfgFile(Sample());
    const QByteArray short91 = good.left(good.lastIndexOf("\r\n", good.size() - 3) + 2);
    CfgContents port9 = Sample();
    port9.ComPort = 9;
    QTest::newRow("capital signature") << QByteArray(good).replace("tova", "TOVA")
                                       << "This File Is Not A Configuration Setup File";
    QTest::newRow("empty") << QByteArray() << "This File Is Not A Configuration Setup File";
    QTest::newRow("91 records") << short91 << "damaged";
    QTest::newRow("byte 256") << QByteArray(good).replace(" 11 \r\n", " 256 \r\n") << "damaged";
    QTest::newRow("port 9") << *WriteCfgFile(port9) << "damaged";
}

void TestFileCommands::openRefusesBadFiles() {
    QFETCH(QByteArray, file);
    QFETCH(QString, message);
    AppFixture f;
    f.start();
    // A configuration with a file, a change and a panel open: none of it may change.
    const QString own = f.dir.filePath(QStringLiteral("own.cfg"));
    f.dialogs.saveResults = {own};
    f.trigger("mnuFileSaveAs");
    f.config.CfgData[77] = 'x'; // a track start character, which magcfg6 shows as it is
    f.trigger("mnuMagMisc");
    const Config before = f.config;
    const QString caption = f.window->windowTitle();
    const QString path = f.dir.filePath(QStringLiteral("bad.cfg"));
    AppFixture::WriteFile(path, file);
    f.dialogs.answers = {A::No}; // unsaved changes: go on without saving
    f.dialogs.openResults = {path};
    f.trigger("mnuFileOpen");
    QCOMPARE(f.dialogs.shown.size(), 2);
    QCOMPARE(f.dialogs.shown[0].message.text, ChangedQuestion);
    const Dialogs::Message& m = f.dialogs.last();
    QCOMPARE(m.title, Title);
    QCOMPARE(m.buttons, Dialogs::Buttons::Ok);
    if (message == QLatin1String("damaged"))
        QVERIFY2(m.text.contains(path) && m.text.contains(message), qPrintable(m.text));
    else
        QCOMPARE(m.text, message);
    QVERIFY(f.config.CfgData == before.CfgData);
    QVERIFY(f.config.CfgSaved == before.CfgSaved);
    QCOMPARE(f.config.CfgFileName, own);
    QCOMPARE(f.config.DeviceName, before.DeviceName);
    QCOMPARE(f.config.ComPort, before.ComPort);
    QCOMPARE(f.config.LinkMode, before.LinkMode);
    QCOMPARE(f.window->windowTitle(), caption);
    QCOMPARE(f.openChildren(), QStringList{"magcfg6"});
}

void TestFileCommands::openCancelled() {
    AppFixture f;
    f.start();
    f.trigger("mnuConfigMisc");
    f.trigger("mnuFileOpen"); // no scripted result: the dialog is cancelled
    QCOMPARE(f.dialogs.openRequests.size(), 1);
    QCOMPARE(f.openChildren(), QStringList{"cfg6"});
    QCOMPARE(f.window->windowTitle(), QStringLiteral("Orv Configuration: New File"));
}

void TestFileCommands::openRefusesSpecialFiles_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("reason");
    QTest::newRow("named pipe") << "fifo"
                                << "could not be opened: it is a named pipe, not a regular file.";
    QTest::newRow("device") << "/dev/zero"
                            << "could not be opened: it is a device, not a regular file.";
    QTest::newRow("folder") << "folder"
                            << "could not be opened: it is a folder.";
    QTest::newRow("larger than 1 MiB")
        << "large"
        << "is damaged and was not opened: it is far too large for a configuration file.";
}

// Open refuses what is not a regular file before opening it, and anything larger than any
// configuration file, with a message naming the file; nothing changes.
void TestFileCommands::openRefusesSpecialFiles() {
    QFETCH(QString, kind);
    QFETCH(QString, reason);
    AppFixture f;
    f.start();
    f.trigger("mnuConfigMisc");
    const Config before = f.config;
    QString path = f.dir.filePath(QStringLiteral("special.cfg"));
    std::unique_ptr<TestFifo> fifo;
    if (kind == QLatin1String("fifo")) {
        fifo = std::make_unique<TestFifo>(path);
        QVERIFY(fifo->made());
    } else if (kind == QLatin1String("folder")) {
        QVERIFY(QDir().mkpath(path));
    } else if (kind == QLatin1String("large")) {
        QByteArray big = *WriteCfgFile(Sample());
        big += QByteArray(MaxConfigFileSize + 1 - big.size(), ' ');
        AppFixture::WriteFile(path, big);
    } else {
        path = kind;
    }
    f.dialogs.openResults = {path};
    f.trigger("mnuFileOpen");
    QCOMPARE(f.dialogs.texts(), QStringList{QStringLiteral("The file %1 %2").arg(path, reason)});
    QCOMPARE(f.dialogs.last().title, Title);
    QVERIFY(f.config.CfgData == before.CfgData);
    QCOMPARE(f.config.CfgFileName, before.CfgFileName);
    QCOMPARE(f.config.DeviceName, before.DeviceName);
    QCOMPARE(f.openChildren(), QStringList{"cfg6"});
    if (fifo)
        QVERIFY(!fifo->wasOpened());
}

void TestFileCommands::openThenSaveHeaderLineEnds_data() {
    QTest::addColumn<QByteArray>("line"); // the device name's line in the file opened
    QTest::newRow("lone CR") << QByteArray("Dock 7,\r north\r\n");
    QTest::newRow("CR CR") << QByteArray("Dock 7, north\r\r\n");
    QTest::newRow("both") << QByteArray("\rDock 7, north\r\r\r\n");
}

// A file that opens saves back: CRs in a header line are line ends, not text.
void TestFileCommands::openThenSaveHeaderLineEnds() {
    QFETCH(QByteArray, line);
    AppFixture f;
    f.start();
    CfgContents sample = Sample();
    const QByteArray good = *WriteCfgFile(sample);
    QVERIFY(good.contains("\r\nDock 7, north\r\n"));
    const QString path = f.dir.filePath(QStringLiteral("odd.cfg"));
    AppFixture::WriteFile(path, QByteArray(good).replace("Dock 7, north\r\n", line));
    f.dialogs.openResults = {path};
    f.trigger("mnuFileOpen");
    QCOMPARE(f.config.CfgFileName, path);
    QCOMPARE(f.config.DeviceName, sample.DeviceName);
    f.config.CfgData[3] = 'Q';
    f.trigger("mnuFileSave");
    QVERIFY2(f.dialogs.shown.isEmpty(), qPrintable(f.dialogs.texts().join('|')));
    QVERIFY(!f.config.HasUnsavedChanges());
    sample.data[3] = 'Q';
    QCOMPARE(AppFixture::ReadFile(path), *WriteCfgFile(sample));
}

void TestFileCommands::failedSaves_data() {
    QTest::addColumn<QString>("how");
    QTest::newRow("folder missing") << "folder missing";
    QTest::newRow("target is a folder") << "target is a folder";
    QTest::newRow("header cannot be stored") << "header cannot be stored";
}

void TestFileCommands::failedSaves() {
    QFETCH(QString, how);
    AppFixture f;
    f.start();
    const QString path = f.dir.filePath(QStringLiteral("kept.cfg"));
    f.dialogs.saveResults = {path};
    f.trigger("mnuFileSaveAs");
    const QByteArray oldFile = AppFixture::ReadFile(path);
    QVERIFY(!oldFile.isEmpty());
    f.config.CfgData[5] = 99;
    const Image saved = f.config.CfgSaved;
    QString target = path;
    if (how == QLatin1String("folder missing"))
        target = f.dir.filePath(QStringLiteral("no/such/folder/x.cfg"));
    else if (how == QLatin1String("target is a folder"))
        QVERIFY(QDir().mkpath(target = f.dir.filePath(QStringLiteral("folder.cfg"))));
    else
        f.config.UserName = QStringLiteral("\u20ac price");
    // Save As to the target: reported, nothing saved, the old name kept.
    f.dialogs.saveResults = {target};
    f.trigger("mnuFileSaveAs");
    QCOMPARE(f.dialogs.shown.size(), 1);
    QVERIFY(f.dialogs.last().text.contains(target));
    QCOMPARE(f.dialogs.last().title, Title);
    QVERIFY(f.config.CfgSaved == saved);
    QVERIFY(f.config.HasUnsavedChanges());
    QCOMPARE(f.config.CfgFileName, path);
    QCOMPARE(AppFixture::ReadFile(path), oldFile);
    // A closing with Yes whose save fails keeps the program open with the changes.
    if (how == QLatin1String("header cannot be stored")) {
        f.dialogs.answers = {A::Yes};
        QVERIFY(!f.window->close());
        QVERIFY(f.window->isVisible());
        QCOMPARE(f.dialogs.shown.size(), 3);
        QCOMPARE(AppFixture::ReadFile(path), oldFile);
        QCOMPARE(f.config.CfgData[5], quint8(99));
        // So do Exit, New and Open: each stops at the failure, before its own work.
        for (const char* command : {"mnuFileExit", "mnuFileNew", "mnuFileOpen"}) {
            const qsizetype shown = f.dialogs.shown.size();
            f.dialogs.answers = {A::Yes};
            f.trigger(command);
            QCOMPARE(f.dialogs.shown.size(), shown + 2); // the question, the failure
            QVERIFY(f.window->isVisible());
            QCOMPARE(f.config.CfgData[5], quint8(99));
            QVERIFY(f.dialogs.openRequests.isEmpty());
        }
    }
}

void TestFileCommands::unsavedQuestion_data() {
    QTest::addColumn<QString>("command");
    QTest::addColumn<bool>("changed");
    QTest::addColumn<QList<A>>("answers");
    QTest::addColumn<bool>("hasFile"); // the configuration has a file to save to
    QTest::addColumn<bool>("goesOn");  // the command went on
    QTest::addColumn<bool>("saved");   // the changes were written to the file
    for (const char* command : {"mnuFileNew", "mnuFileOpen"}) {
        const QString c = QString::fromLatin1(command);
        auto name = [&c](const char* what) {
            return (c + QLatin1Char(' ') + what).toLatin1();
        };
        QTest::newRow(name("no changes")) << c << false << QList<A>{} << true << true << false;
        QTest::newRow(name("Cancel")) << c << true << QList<A>{A::Cancel} << true << false << false;
        QTest::newRow(name("No")) << c << true << QList<A>{A::No} << true << true << false;
        QTest::newRow(name("Yes")) << c << true << QList<A>{A::Yes} << true << true << true;
        // Yes without a file: Save As, whose dialog the test cancels; the command goes on.
        QTest::newRow(name("Yes, Save As cancelled"))
            << c << true << QList<A>{A::Yes} << false << true << false;
    }
}

void TestFileCommands::unsavedQuestion() {
    QFETCH(QString, command);
    QFETCH(bool, changed);
    QFETCH(QList<A>, answers);
    QFETCH(bool, hasFile);
    QFETCH(bool, goesOn);
    QFETCH(bool, saved);
    AppFixture f;
    f.start();
    const QString path = f.dir.filePath(QStringLiteral("work.cfg"));
    if (hasFile) {
        f.dialogs.saveResults = {path};
        f.trigger("mnuFileSaveAs");
    }
    const QString other = f.dir.filePath(QStringLiteral("other.cfg"));
    AppFixture::WriteFile(other, *WriteCfgFile(Sample()));
    f.trigger("mnuConfigInterface");
    if (changed)
        f.config.CfgData[20] = 0x44;
    f.dialogs.answers = answers;
    f.dialogs.openResults = {other};
    f.window->action(command)->trigger();
    QCOMPARE(f.dialogs.shown.size(), changed ? 1 : 0);
    if (changed) {
        QCOMPARE(f.dialogs.shown[0].message.text, ChangedQuestion);
        QCOMPARE(f.dialogs.shown[0].message.buttons, Dialogs::Buttons::YesNoCancel);
        QCOMPARE(f.dialogs.shown[0].message.title, Title);
    }
    if (hasFile) {
        const CfgParseResult file = ParseCfgFile(AppFixture::ReadFile(path));
        QCOMPARE(file.contents.data[20], quint8(saved ? 0x44 : 0x02));
    }
    QCOMPARE(f.openChildren().isEmpty(), goesOn);
    if (!goesOn) {
        QCOMPARE(f.config.CfgData[20], quint8(0x44));
        return;
    }
    QVERIFY(!f.config.HasUnsavedChanges());
    if (command == QLatin1String("mnuFileNew")) {
        QVERIFY(f.config.CfgData == f.config.CfgDefault);
        QCOMPARE(f.config.CfgFileName, QStringLiteral("New File"));
        QCOMPARE(f.config.Description, QStringLiteral("Your Description about this Setup"));
        QCOMPARE(f.window->windowTitle(), QStringLiteral("Configuration Setup: New File"));
    } else {
        QVERIFY(f.config.CfgData == Sample().data);
        QCOMPARE(f.config.CfgFileName, other);
    }
}

void TestFileCommands::newKeepsLinkSettings() {
    AppFixture f;
    f.start();
    f.config.ComPort = 5;
    f.config.LinkMode = 0;
    f.config.MagMode = true;
    f.config.DeviceName = QStringLiteral("changed");
    f.trigger("mnuFileNew");
    QCOMPARE(f.config.ComPort, qint16(5));
    QCOMPARE(f.config.LinkMode, qint16(0));
    QVERIFY(f.config.MagMode);
    QCOMPARE(f.config.DeviceName, QStringLiteral("Device Name"));
    QCOMPARE(f.config.UserName, QStringLiteral("User's Name"));
    QCOMPARE(f.config.SetupDate, Config::DateText(AppFixture::Today()));
}

void TestFileCommands::saveAsDefault() {
    Image edited{};
    QString writtenTo;
    {
        AppFixture f;
        f.start();
        for (int i = 0; i < ImageSize; ++i)
            f.config.CfgData[i] = static_cast<quint8>(200 - i);
        edited = f.config.CfgData;
        const QString caption = f.window->windowTitle();
        f.trigger("mnuFileDefault");
        QVERIFY(f.dialogs.shown.isEmpty()); // no question, no message
        writtenTo = f.window->defaultsWritePath();
        QCOMPARE(QFileInfo(writtenTo).dir().absolutePath(),
                 QFileInfo(f.paths.userConfigDir).absoluteFilePath());
        QCOMPARE(AppFixture::ReadFile(writtenTo), WriteDefaultsFile(edited));
        QVERIFY(f.config.CfgDefault == edited);
        QVERIFY(f.config.HasUnsavedChanges()); // CfgSaved is not touched
        QCOMPARE(f.window->windowTitle(), caption);
        QCOMPARE(f.config.CfgFileName, QStringLiteral("New File"));

        // The next start reads it; Set All Default then restores it, not the built-in image.
        AppFixture g;
        QDir().mkpath(g.paths.userConfigDir);
        AppFixture::WriteFile(g.paths.userConfigDir + QStringLiteral("/defaults"),
                              AppFixture::ReadFile(writtenTo));
        g.start();
        QVERIFY(g.config.CfgDefault == edited);
        g.config.CfgData.fill(0);
        g.dialogs.answers = {A::Yes, A::Yes};
        g.trigger("mnuConfigDefault");
        g.trigger("mnuMagDefault");
        QVERIFY(g.config.CfgData == edited);
    }
}

void TestFileCommands::failedSaveAsDefault() {
    AppFixture f;
    // The per-user configuration folder cannot be created: a file stands in its way.
    AppFixture::WriteFile(f.paths.userConfigDir, "in the way");
    f.start();
    f.config.CfgData[0] = 'Z';
    f.trigger("mnuFileDefault");
    QCOMPARE(f.dialogs.shown.size(), 1);
    QVERIFY(f.dialogs.last().text.contains(QStringLiteral("could not be saved")));
    QVERIFY(f.config.CfgDefault == Config::BuiltInDefaults());
}

QTEST_MAIN(TestFileCommands)
#include "tst_filecommands.moc"
