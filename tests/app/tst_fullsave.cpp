// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Every kind of save on a real full disk (a small tmpfs, mounted when the test runs as root):
// the failure is reported with the file's name and the reason, the old file stays byte for byte,
// no temporary file is left behind, and what was to be saved still counts as unsaved.

#include "appfixture.h"

#include "core/cfgformat.h"
#include "link/windows/frmreadmemory.h"
#include "support/filefixtures.h"

#include <QPlainTextEdit>
#include <QPushButton>

using namespace orv;
using namespace orv::test;

namespace {

const QString NoSpace = QStringLiteral("No space left on device");

QStringList Entries(const QString& dir) {
    return QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

} // namespace

class TestFullSave : public QObject {
    Q_OBJECT
private slots:
    void everySave_data();
    void everySave();
};

void TestFullSave::everySave_data() {
    QTest::addColumn<QString>("save");
    for (const char* save : {"Save", "Save As over the file", "Save As a new name",
                             "Save As Default", "memory Save", "memory Save As a new name"})
        QTest::newRow(save) << QString::fromLatin1(save);
}

void TestFullSave::everySave() {
    QFETCH(QString, save);
    AppFixture f;
    // The per-user configuration folder is the small disk: the configuration, the defaults
    // and the memory data are all saved there.
    FullFilesystem disk(f.paths.userConfigDir);
    QString why;
    if (!disk.mount(&why))
        QSKIP(qPrintable(QStringLiteral("skipped the saves on a full disk: ") + why));
    f.start();
    const bool memory = save.startsWith(QLatin1String("memory"));
    const bool defaults = save == QLatin1String("Save As Default");
    const QString old = memory ? disk.filePath(QStringLiteral("memory.txt"))
                               : (defaults ? f.window->defaultsWritePath()
                                           : disk.filePath(QStringLiteral("kept.cfg")));
    QString target = old;
    if (save.endsWith(QLatin1String("a new name")))
        target = disk.filePath(memory ? QStringLiteral("new.txt") : QStringLiteral("new.cfg"));

    // The old file, written while there is room; then the disk fills up and something changes.
    FrmReadMemory* window = nullptr;
    QPlainTextEdit* text = nullptr;
    auto click = [&window](const char* button) {
        QTest::mouseClick(window->findChild<QPushButton*>(QString::fromLatin1(button)),
                          Qt::LeftButton);
    };
    if (memory) {
        f.window->mnuToolsRDM_Click();
        window = qobject_cast<FrmReadMemory*>(f.child("frmReadMemory"));
        QVERIFY(window);
        text = window->findChild<QPlainTextEdit*>(QStringLiteral("TxtMemory"));
        text->setPlainText(QStringLiteral("precious"));
        f.dialogs.saveResults = {old};
        click("cmdSaveAs");
    } else if (defaults) {
        f.trigger("mnuFileDefault");
    } else {
        f.dialogs.saveResults = {old};
        f.trigger("mnuFileSaveAs");
    }
    QVERIFY2(f.dialogs.shown.isEmpty(), qPrintable(f.dialogs.texts().join('|')));
    const QByteArray oldBytes = AppFixture::ReadFile(old);
    QVERIFY(!oldBytes.isEmpty());
    QVERIFY2(disk.fill(&why), qPrintable(why));
    const QStringList entries = Entries(disk.path());
    const Config before = f.config;
    if (memory)
        text->setPlainText(QStringLiteral("changed"));
    else
        f.config.CfgData[5] = 99;

    f.dialogs.saveResults = {target};
    if (save == QLatin1String("Save"))
        f.trigger("mnuFileSave");
    else if (save.startsWith(QLatin1String("Save As ")) && !defaults)
        f.trigger("mnuFileSaveAs");
    else if (defaults)
        f.trigger("mnuFileDefault");
    else if (save == QLatin1String("memory Save"))
        click("cmdSave");
    else
        click("cmdSaveAs");

    // Reported, with the file and the reason; a file that was not there is not "not changed".
    QCOMPARE(f.dialogs.shown.size(), 1);
    const Dialogs::Message& m = f.dialogs.last();
    const QString kept = target == old ? QStringLiteral(" The file was not changed.") : QString();
    if (memory) {
        QCOMPARE(m.text, QStringLiteral("The memory data could not be saved to %1: %2.%3")
                             .arg(target, NoSpace, kept));
        QCOMPARE(m.title, QStringLiteral("Memory Data Read"));
    } else if (defaults) {
        QCOMPARE(m.text, QStringLiteral("The default configuration could not be saved to %1: %2. "
                                        "The defaults were not changed.")
                             .arg(target, NoSpace));
        QCOMPARE(m.title, QStringLiteral("Configuration Setup"));
    } else {
        QCOMPARE(m.text, QStringLiteral("The configuration could not be saved to %1: %2.%3")
                             .arg(target, NoSpace, kept));
        QCOMPARE(m.title, QStringLiteral("Configuration Setup"));
    }
    // The old file byte for byte, nothing new on the disk.
    QCOMPARE(AppFixture::ReadFile(old), oldBytes);
    QCOMPARE(Entries(disk.path()), entries);

    // Still unsaved.
    if (memory) {
        QCOMPARE(window->memFileName(), old);
        f.dialogs.clear();
        f.dialogs.answers = {Dialogs::Answer::Cancel};
        click("CmdClose");
        QCOMPARE(f.dialogs.texts(),
                 QStringList{"Memory Data had been changed,do you want to save your file?"});
        QVERIFY(!window->isUnloaded());
    } else if (defaults) {
        QVERIFY(f.config.CfgDefault == before.CfgDefault);
    } else {
        QVERIFY(f.config.HasUnsavedChanges());
        QVERIFY(f.config.CfgSaved == before.CfgSaved);
        QCOMPARE(f.config.CfgFileName, old);
        QCOMPARE(f.window->windowTitle(), QStringLiteral("Configuration Setup: ") + old);
    }
}

QTEST_MAIN(TestFullSave)
#include "tst_fullsave.moc"
