// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The production save dialog refuses a name in a folder that does not exist when the request
// says "path must exist", and keeps itself open for another name.

#include "app/qtdialogs.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace orv;

class TestSaveDialog : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void missingFolderText_data();
    void missingFolderText();
    void dialogRefusesMissingFolder_data();
    void dialogRefusesMissingFolder();

private:
    QTemporaryDir dir_;
};

void TestSaveDialog::initTestCase() {
    // QFileDialog keeps its own state (QtProject.conf) in the per-user configuration folder:
    // a temporary one, never the home's.
    qputenv("XDG_CONFIG_HOME", dir_.filePath(QStringLiteral("config")).toLocal8Bit());
}

void TestSaveDialog::missingFolderText_data() {
    QTest::addColumn<QString>("path");    // under the temporary folder
    QTest::addColumn<QString>("missing"); // the folder named, "" when the name is accepted
    QTest::newRow("existing folder") << "a.cfg"
                                     << "";
    QTest::newRow("new file in a sub-folder") << "sub/a.cfg"
                                              << "";
    QTest::newRow("missing folder") << "none/a.cfg"
                                    << "none";
    QTest::newRow("missing folders") << "none/deeper/a.cfg"
                                     << "none/deeper";
    QTest::newRow("a file in the way") << "file.txt/a.cfg"
                                       << "file.txt";
}

void TestSaveDialog::missingFolderText() {
    QFETCH(QString, path);
    QFETCH(QString, missing);
    QVERIFY(QDir(dir_.path()).mkpath(QStringLiteral("sub")));
    QFile file(dir_.filePath(QStringLiteral("file.txt")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    const auto text = QtDialogs::MissingFolderText(dir_.filePath(path));
    if (missing.isEmpty()) {
        QVERIFY(!text);
    } else {
        QVERIFY(text);
        QCOMPARE(*text, QStringLiteral("The folder %1 does not exist.")
                            .arg(QDir::toNativeSeparators(dir_.filePath(missing))));
    }
}

void TestSaveDialog::dialogRefusesMissingFolder_data() {
    QTest::addColumn<bool>("pathMustExist");
    QTest::newRow("path must exist") << true;
    QTest::newRow("any path") << false;
}

// Drives the real dialog: types a name in a missing folder and presses Save, then (when refused)
// answers the message and types a good name.
void TestSaveDialog::dialogRefusesMissingFolder() {
    QFETCH(bool, pathMustExist);
    const QString missing = dir_.filePath(QStringLiteral("none/x.cfg"));
    const QString good = dir_.filePath(QStringLiteral("x.cfg"));
    QStringList seen; // what the steps met: "dialog", "message: ..."
    int step = 0;
    QTimer driver;
    driver.setInterval(20);
    connect(&driver, &QTimer::timeout, this, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            seen << QStringLiteral("message: ") + box->text();
            box->accept();
        } else if (auto* dialog = qobject_cast<QFileDialog*>(modal)) {
            if (!dialog->isVisible())
                return;
            seen << QStringLiteral("dialog");
            auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            QVERIFY(name);
            dialog->setDirectory(dir_.path());
            name->setText(step++ == 0 ? QStringLiteral("none/x.cfg") : QStringLiteral("x.cfg"));
            QMetaObject::invokeMethod(dialog, "accept", Qt::QueuedConnection);
        }
    });
    driver.start();
    QtDialogs dialogs;
    Dialogs::FileRequest request;
    request.filter = QStringLiteral("Config Setup Files(*.cfg)|*.cfg");
    request.defaultExtension = QStringLiteral("cfg");
    request.overwritePrompt = true;
    request.pathMustExist = pathMustExist;
    const auto chosen = dialogs.saveFileName(request);
    driver.stop();
    if (pathMustExist) {
        const QString text =
            QStringLiteral("The folder %1 does not exist.")
                .arg(QDir::toNativeSeparators(dir_.filePath(QStringLiteral("none"))));
        QCOMPARE(seen, (QStringList{"dialog", "message: " + text, "dialog"}));
        QCOMPARE(chosen, std::optional<QString>(good));
    } else {
        QCOMPARE(seen, QStringList{"dialog"});
        QCOMPARE(chosen, std::optional<QString>(missing));
    }
}

QTEST_MAIN(TestSaveDialog)
#include "tst_savedialog.moc"
