// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
// What the program keeps of itself between runs, in orvcfg.conf of the per-user configuration
// folder (here a temporary folder): the main window's place and the folder of the last file
// dialog; never anything of the configuration.

#include "appfixture.h"

#include "app/qtdialogs.h"
#include "app/windowplace.h"
#include "core/cfgformat.h"
#include "support/filefixtures.h"

#include <QApplication>
#include <QFileDialog>
#include <QMimeDatabase>
#include <QScreen>
#include <QSettings>
#include <QTimer>

using namespace orv;
using namespace orv::test;

namespace {

// Answers the next file dialog: notes the folder it starts in (and the type it shows for
// `path`), then chooses `path`.
void AnswerNextFileDialog(const QString& path, QString* startFolder, QString* type = nullptr) {
    QTimer::singleShot(0, [path, startFolder, type] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dialog) {
            *startFolder = QStringLiteral("(no file dialog)");
            return;
        }
        *startFolder = dialog->directory().absolutePath();
        if (type && dialog->iconProvider())
            *type = dialog->iconProvider()->type(QFileInfo(path));
        dialog->selectFile(path);
        static_cast<QDialog*>(dialog)->accept(); // QFileDialog::accept checks the name
    });
}

} // namespace

class TestUserSettings : public QObject {
    Q_OBJECT
private slots:
    void placeRestoredInSecondRun_data();
    void placeRestoredInSecondRun();
    void fitIntoArea_data();
    void fitIntoArea();
    void placeFitsScreen_data();
    void placeFitsScreen();
    void configurationNotKept();
    void dialogsStartInLastFolder_data();
    void dialogsStartInLastFolder();
    void nothingBlockingRead();
};

void TestUserSettings::placeRestoredInSecondRun_data() {
    QTest::addColumn<bool>("leftMaximised");
    QTest::newRow("normal") << false;
    // Closed in the moment before the window puts itself back from maximised.
    QTest::newRow("maximised when closed") << true;
}

void TestUserSettings::placeRestoredInSecondRun() {
    QFETCH(bool, leftMaximised);
    const QRect place(70, 45, 520, 410);
    QTemporaryDir home;
    const QString configDir = home.filePath(QStringLiteral("config"));
    {
        AppFixture first(configDir);
        first.start();
        first.window->setGeometry(place);
        QTRY_COMPARE_WITH_TIMEOUT(first.window->geometry(), place, GiveUpMsecs);
        if (leftMaximised)
            first.window->setWindowState(Qt::WindowMaximized);
        QVERIFY(first.window->close());
    }
    QVERIFY(QFileInfo::exists(configDir + QStringLiteral("/orvcfg.conf")));

    AppFixture second(configDir);
    QVERIFY(second.window->geometry() != place);
    second.start();
    QCOMPARE(second.window->windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen),
             Qt::WindowStates());
    QCOMPARE(second.window->geometry(), place);
}

void TestUserSettings::fitIntoArea_data() {
    QTest::addColumn<QRect>("wanted");
    QTest::addColumn<QRect>("fitted");
    const QRect area(0, 30, 640, 420); // a panel above
    QTest::newRow("fits") << QRect(10, 40, 400, 300) << QRect(10, 40, 400, 300);
    QTest::newRow("too large") << QRect(0, 0, 800, 600) << QRect(0, 30, 640, 420);
    QTest::newRow("reaches out right and below")
        << QRect(500, 300, 400, 300) << QRect(240, 150, 400, 300);
    QTest::newRow("on a screen no longer there")
        << QRect(-1500, 40, 400, 300) << QRect(0, 40, 400, 300);
    QTest::newRow("too wide only") << QRect(100, 50, 900, 200) << QRect(0, 50, 640, 200);
}

void TestUserSettings::fitIntoArea() {
    QFETCH(QRect, wanted);
    QFETCH(QRect, fitted);
    QCOMPARE(FitIntoArea(wanted, QRect(0, 30, 640, 420)), fitted);
}

void TestUserSettings::placeFitsScreen_data() {
    QTest::addColumn<QRect>("kept"); // null: none
    QTest::newRow("default place") << QRect();
    QTest::newRow("kept on a larger screen") << QRect(300, 200, 1900, 1400);
}

// Also run on a 1280x900 screen at a scale factor of 2, where the default place is too large.
void TestUserSettings::placeFitsScreen() {
    QFETCH(QRect, kept);
    QTemporaryDir home;
    const QString configDir = home.filePath(QStringLiteral("config"));
    if (!kept.isNull()) {
        QDir().mkpath(configDir);
        QWidget other;
        other.setGeometry(kept);
        QSettings(configDir + QStringLiteral("/orvcfg.conf"), QSettings::IniFormat)
            .setValue(QStringLiteral("MainWindow/geometry"), other.saveGeometry());
    }
    AppFixture f(configDir);
    f.start();
    const QRect available = f.window->screen()->availableGeometry();
    QString text;
    QDebug(&text) << f.window->frameGeometry() << "on" << available;
    QVERIFY2(available.contains(f.window->frameGeometry()), qPrintable(text));
}

void TestUserSettings::configurationNotKept() {
    AppFixture f;
    CfgContents c;
    c.ComPort = 5;
    c.LinkMode = 0;
    c.DeviceName = QStringLiteral("Kept only in its file");
    const QString file = f.dir.filePath(QStringLiteral("a.cfg"));
    AppFixture::WriteFile(file, *WriteCfgFile(c));
    f.start(file);
    QCOMPARE(f.config.ComPort, qint16(5));
    QVERIFY(f.window->close());

    const QString settingsFile = f.paths.userConfigDir + QStringLiteral("/orvcfg.conf");
    QCOMPARE(QSettings(settingsFile, QSettings::IniFormat).allKeys(),
             QStringList{QStringLiteral("MainWindow/geometry")});
    const QByteArray text = AppFixture::ReadFile(settingsFile);
    QVERIFY(!text.contains("Kept only"));
    QVERIFY(!text.contains("a.cfg"));
}

void TestUserSettings::dialogsStartInLastFolder_data() {
    QTest::addColumn<bool>("save");
    QTest::addColumn<QString>("proposed"); // proposed name; "{other}" stands for the other folder
    QTest::addColumn<bool>("inLastFolder");
    QTest::newRow("open") << false << "" << true;
    QTest::newRow("save as a new file") << true << "New File" << true;
    QTest::newRow("save as a file that has a folder") << true << "{other}/a.cfg" << false;
}

void TestUserSettings::dialogsStartInLastFolder() {
    QFETCH(bool, save);
    QFETCH(QString, proposed);
    QFETCH(bool, inLastFolder);
    QTemporaryDir dir;
    const QString settingsFile = dir.filePath(QStringLiteral("config/orvcfg.conf"));
    const QString last = dir.filePath(QStringLiteral("last"));
    const QString other = dir.filePath(QStringLiteral("other"));
    QDir().mkpath(last);
    QDir().mkpath(other);
    AppFixture::WriteFile(last + QStringLiteral("/chosen.cfg"), "tova\r\n");
    QString startFolder;
    {
        // First run: a file is chosen in "last".
        QtDialogs dialogs(settingsFile);
        AnswerNextFileDialog(last + QStringLiteral("/chosen.cfg"), &startFolder);
        Dialogs::FileRequest request;
        request.fileMustExist = true;
        QCOMPARE(dialogs.openFileName(request), last + QStringLiteral("/chosen.cfg"));
        QVERIFY(startFolder != last);
    }
    {
        // Meanwhile another program's file dialog went elsewhere: Qt keeps one last folder for
        // the dialogs of all its programs, this program keeps its own.
        const QString elsewhere = dir.filePath(QStringLiteral("elsewhere"));
        QDir().mkpath(elsewhere);
        AppFixture::WriteFile(elsewhere + QStringLiteral("/x.cfg"), "x");
        QFileDialog another(nullptr, QString(), elsewhere);
        another.setFileMode(QFileDialog::ExistingFile);
        QString ignored;
        AnswerNextFileDialog(elsewhere + QStringLiteral("/x.cfg"), &ignored);
        QCOMPARE(another.exec(), int(QDialog::Accepted));
    }
    // Second run: the next dialog starts there, unless its proposed name has a folder.
    QtDialogs dialogs(settingsFile);
    Dialogs::FileRequest request;
    request.fileName = QString(proposed).replace(QStringLiteral("{other}"), other);
    const QString answer = (save ? other : last) + QStringLiteral("/answer.cfg");
    if (!save)
        AppFixture::WriteFile(answer, "tova\r\n");
    AnswerNextFileDialog(answer, &startFolder);
    const auto chosen = save ? dialogs.saveFileName(request) : dialogs.openFileName(request);
    QCOMPARE(chosen, answer);
    QCOMPARE(startFolder, inLastFolder ? last : other);
    // The folder used last is now the answer's.
    QCOMPARE(QSettings(settingsFile, QSettings::IniFormat).value("FileDialogs/lastFolder"),
             QFileInfo(answer).absolutePath());
}

// Nothing that may block is read: a named pipe in the place of orvcfg.conf is neither read (which
// would block the start-up and every file dialog) nor replaced, and the file dialogs tell a
// file's type by its name, never by its contents.
void TestUserSettings::nothingBlockingRead() {
    QTemporaryDir home;
    const QString configDir = home.filePath(QStringLiteral("config"));
    QDir().mkpath(configDir);
    TestFifo fifo(configDir + QStringLiteral("/orvcfg.conf"));
    QVERIFY(fifo.made());
    const QString chosen = home.filePath(QStringLiteral("looks like a document.cfg"));
    AppFixture::WriteFile(chosen, "%PDF-1.4\n%\xe2\xe3\xcf\xd3\n");
    const QMimeDatabase mime;
    const QString byName = mime.mimeTypeForFile(chosen, QMimeDatabase::MatchExtension).comment();
    QVERIFY(mime.mimeTypeForFile(chosen).comment() != byName); // the contents tell another
    QString startFolder, shownType;
    {
        AppFixture f(configDir);
        f.start();
        QtDialogs dialogs(fifo.path());
        AnswerNextFileDialog(chosen, &startFolder, &shownType);
        QCOMPARE(dialogs.openFileName({}), chosen);
        QVERIFY(f.window->close());
    }
    QCOMPARE(shownType, byName);
    QVERIFY(!fifo.wasOpened());
    const QFileInfo after(fifo.path());
    QVERIFY(after.exists() && !after.isFile());
}

int main(int argc, char* argv[]) {
    // QFileDialog keeps its own state (QtProject.conf) in the per-user configuration folder:
    // here a temporary one, never the real home's.
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    QApplication app(argc, argv);
    TestUserSettings test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_usersettings.moc"
