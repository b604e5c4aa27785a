// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The Save / Save As path that configurations and memory data share: what it asks, what it
// writes, and how a failure reads and leaves the old file.

#include "ui/savedocument.h"

#include "support/fakedialogs.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace orv;
using namespace orv::test;

namespace {

const QByteArray Old = "old contents\r\n";
const QByteArray New = "new contents\r\n";

QByteArray ReadFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(missing)");
}

const DocumentKind Configuration{QStringLiteral("Config Setup Files(*.cfg)|*.cfg"),
                                 QStringLiteral("cfg"), QStringLiteral("configuration"),
                                 QStringLiteral("Configuration Setup")};
const DocumentKind Memory{QStringLiteral("Memory Data Files(*.txt)|*.txt"), QStringLiteral("txt"),
                          QStringLiteral("memory data"), QStringLiteral("Memory Data Read")};

} // namespace

Q_DECLARE_METATYPE(const orv::DocumentKind*)

class TestSaveDocument : public QObject {
    Q_OBJECT
private slots:
    void saves_data();
    void saves();
};

void TestSaveDocument::saves_data() {
    QTest::addColumn<const DocumentKind*>("kind");
    // What happens: "save", "save as", "cancel", "folder in the way", "missing folder",
    // "no bytes".
    QTest::addColumn<QString>("how");
    for (const DocumentKind* kind : {&Configuration, &Memory}) {
        for (const char* how :
             {"save", "save as", "cancel", "folder in the way", "missing folder", "no bytes"})
            QTest::addRow("%s, %s", qPrintable(kind->what), how)
                << kind << QString::fromLatin1(how);
    }
}

void TestSaveDocument::saves() {
    QFETCH(const DocumentKind*, kind);
    QFETCH(QString, how);
    QTemporaryDir dir;
    const QString current = dir.filePath(QStringLiteral("current.") + kind->defaultExtension);
    QFile f(current);
    QVERIFY(f.open(QIODevice::WriteOnly) && f.write(Old) == Old.size());
    f.close();

    // Save writes to the current file; the others go through the dialog.
    const SaveMode mode = how == QLatin1String("save") || how == QLatin1String("no bytes")
                              ? SaveMode::Save
                              : SaveMode::SaveAs;
    QString target = current;
    if (how == QLatin1String("save as"))
        target = dir.filePath(QStringLiteral("chosen.") + kind->defaultExtension);
    else if (how == QLatin1String("folder in the way"))
        QVERIFY(QDir().mkpath(target = dir.filePath(QStringLiteral("folder"))));
    else if (how == QLatin1String("missing folder"))
        target = dir.filePath(QStringLiteral("missing/file.txt"));
    FakeDialogs dialogs;
    dialogs.saveResults = {how == QLatin1String("cancel") ? std::nullopt
                                                          : std::optional<QString>(target)};
    const bool makesBytes = how != QLatin1String("no bytes");
    int asked = 0;
    QString savedTo = QStringLiteral("(untouched)");
    const SaveOutcome outcome = SaveDocument(
        dialogs, *kind, mode, current,
        [&](QString* why) -> std::optional<QByteArray> {
            ++asked;
            if (makesBytes)
                return New;
            *why = QStringLiteral("the device name holds a character a file cannot store");
            return std::nullopt;
        },
        &savedTo);

    if (mode == SaveMode::SaveAs) {
        QCOMPARE(dialogs.saveRequests.size(), 1);
        const Dialogs::FileRequest& r = dialogs.saveRequests.first();
        QCOMPARE(r.filter, kind->filter);
        QCOMPARE(r.defaultExtension, kind->defaultExtension);
        QCOMPARE(r.fileName, current);
        QVERIFY(r.overwritePrompt);
        QVERIFY(r.pathMustExist);
    } else {
        QVERIFY(dialogs.saveRequests.isEmpty());
    }
    if (how == QLatin1String("cancel")) {
        QCOMPARE(outcome, SaveOutcome::Cancelled);
        QCOMPARE(asked, 0);
        QVERIFY(dialogs.shown.isEmpty());
        QCOMPARE(savedTo, QStringLiteral("(untouched)"));
        QCOMPARE(ReadFile(current), Old);
        return;
    }
    const bool fails = how != QLatin1String("save") && how != QLatin1String("save as");
    QCOMPARE(outcome, fails ? SaveOutcome::Failed : SaveOutcome::Saved);
    QCOMPARE(asked, 1);
    if (!fails) {
        QVERIFY(dialogs.shown.isEmpty());
        QCOMPARE(savedTo, target);
        QCOMPARE(ReadFile(target), New);
        if (target != current)
            QCOMPARE(ReadFile(current), Old);
        return;
    }
    // The failure names the file and the reason, and nothing on disk changed.
    QCOMPARE(dialogs.shown.size(), 1);
    const Dialogs::Message& m = dialogs.last();
    const QString prefix =
        QStringLiteral("The %1 could not be saved to %2: ").arg(kind->what, target);
    QVERIFY2(m.text.startsWith(prefix), qPrintable(m.text));
    if (how == QLatin1String("missing folder"))
        QCOMPARE(m.text, prefix + QStringLiteral("the folder %1 does not exist.")
                                      .arg(dir.filePath(QStringLiteral("missing"))));
    else
        QVERIFY2(m.text.endsWith(QLatin1String(". The file was not changed.")), qPrintable(m.text));
    QVERIFY(m.text.size() > prefix.size() + 27); // a reason stands between them
    if (!makesBytes)
        QVERIFY(m.text.contains(QLatin1String("a character a file cannot store")));
    QCOMPARE(m.title, kind->title);
    QCOMPARE(m.buttons, Dialogs::Buttons::Ok);
    QCOMPARE(m.icon, Dialogs::Icon::Critical);
    QCOMPARE(savedTo, QStringLiteral("(untouched)"));
    QCOMPARE(ReadFile(current), Old);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
             QStringList{QFileInfo(current).fileName()}); // no temporary file is left behind
    QVERIFY(QFileInfo(target).isDir() || !QFileInfo::exists(target) || target == current);
}

QTEST_APPLESS_MAIN(TestSaveDocument)
#include "tst_savedocument.moc"
