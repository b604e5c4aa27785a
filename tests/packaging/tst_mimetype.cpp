// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The MIME type of configuration files, as a desktop finds it: update-mime-database builds a
// database from packaging/orvcfg-mime.xml in a temporary data folder placed first in
// XDG_DATA_DIRS, and QMimeDatabase answers from it (and from the system's database).
//
//   tst_mimetype [rival]
//
// With "rival" the database also holds another program's type that claims every .cfg file by
// its name, as many programs do: that name then decides.
//
// Without update-mime-database the test skips with exit status 77 (ctest: "Skipped").

#include <QMimeDatabase>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>

namespace {

const QString Ours = QStringLiteral("application/x-orvcfg-configuration");
const QString Rival = QStringLiteral("application/x-test-rival-settings");
const QByteArray Signature = "tova\r\nDevice Name\r\nUser's Name\r\n";
bool WithRival = false;

const char* const RivalPackage =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
    "  <mime-type type=\"application/x-test-rival-settings\">\n"
    "    <comment>Another program's settings</comment>\n"
    "    <sub-class-of type=\"text/plain\"/>\n"
    "    <glob pattern=\"*.cfg\"/>\n"
    "  </mime-type>\n"
    "</mime-info>\n";

// The temporary database; false with the reason printed when it cannot be built.
bool BuildDatabase(const QString& tool, const QString& dataDir) {
    const QString packages = dataDir + QStringLiteral("/mime/packages");
    QDir().mkpath(packages);
    if (!QFile::copy(QStringLiteral(ORV_MIME_FILE), packages + QStringLiteral("/orvcfg.xml")))
        return false;
    if (WithRival) {
        QFile rival(packages + QStringLiteral("/rival.xml"));
        if (!rival.open(QIODevice::WriteOnly) || rival.write(RivalPackage) < 0)
            return false;
    }
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(tool, {dataDir + QStringLiteral("/mime")});
    if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit)
        return false;
    const QString out = QString::fromLocal8Bit(p.readAll());
    // Any remark on the XML (an unknown element or attribute, a bad value) fails the test.
    if (p.exitCode() != 0 || out.contains(QLatin1String("rror")) ||
        out.contains(QLatin1String("arning")) || out.contains(QLatin1String("nknown"))) {
        std::fprintf(stderr, "update-mime-database refused the MIME file (%d):\n%s\n", p.exitCode(),
                     qPrintable(out));
        return false;
    }
    return true;
}

} // namespace

class TestMimeType : public QObject {
    Q_OBJECT
public:
    explicit TestMimeType(QString dir) : dir_(std::move(dir)) {}

private slots:
    void desktopFilesClaimType();
    void typeDescription();
    void typeOfFile_data();
    void typeOfFile();

private:
    QString dir_;
};

QByteArray ReadAll(const char* path) {
    QFile f(QString::fromLocal8Bit(path));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void TestMimeType::desktopFilesClaimType() {
    // Double-clicking such a file starts orvcfg with it: the desktop entry claims the type and
    // passes one file (%f: orvcfg opens one FILE); the metainfo tells software centres.
    const QList<QByteArray> entry = ReadAll(ORV_DESKTOP_FILE).split('\n');
    QVERIFY(entry.contains("MimeType=" + Ours.toLatin1() + ';'));
    QVERIFY(entry.contains("Exec=orvcfg %f"));
    QVERIFY(ReadAll(ORV_METAINFO_FILE).contains("<mediatype>" + Ours.toLatin1() + "</mediatype>"));
}

void TestMimeType::typeDescription() {
    const QMimeType type = QMimeDatabase().mimeTypeForName(Ours);
    QVERIFY(type.isValid());
    QCOMPARE(type.comment(), QStringLiteral("Decoder configuration"));
    // Known by its contents only: no file name is claimed.
    QCOMPARE(type.globPatterns(), QStringList());
    // Text editors may open it too.
    QVERIFY(type.inherits(QStringLiteral("text/plain")));
}

void TestMimeType::typeOfFile_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("contents");
    QTest::addColumn<QString>("alone");     // the type found without the rival
    QTest::addColumn<QString>("withRival"); // ... and with it
    const QByteArray dpkgLike = "# dpkg configuration file\n#\n# This file can contain default "
                                "options for dpkg.\n\nno-debsig\nlog /var/log/dpkg.log\n";
    QTest::newRow("signature, .cfg") << "site.cfg" << Signature << Ours << Rival;
    QTest::newRow("signature, .CFG") << "SITE.CFG" << Signature << Ours << Rival;
    QTest::newRow("signature, no extension") << "site" << Signature << Ours << Ours;
    QTest::newRow("signature with LF")
        << "lf.cfg" << QByteArray("tova\nDevice Name\n") << Ours << Rival;
    QTest::newRow("signature with CR CR LF")
        << "crcrlf" << QByteArray("tova\r\r\nDevice Name\r\r\n") << Ours << Ours;
    QTest::newRow("signature alone") << "bare.cfg" << QByteArray("tova\r\n") << Ours << Rival;
    // A name that another type claims decides by itself, as the shared MIME database's
    // checking order has it (GLib and Qt alike): another program's claim on every .cfg file
    // takes the configuration files too.
    QTest::newRow("signature, .txt") << "site.txt" << Signature << "text/plain"
                                     << "text/plain";
    // Other programs' .cfg files keep their own type.
    QTest::newRow("another program's .cfg") << "dpkg.cfg" << dpkgLike << "text/plain" << Rival;
    QTest::newRow("game settings .cfg")
        << "game.cfg" << QByteArray("[video]\nwidth=800\n") << "text/plain" << Rival;
    QTest::newRow("empty .cfg") << "empty.cfg" << QByteArray() << "application/x-zerosize" << Rival;
    // The signature is the whole first line.
    QTest::newRow("longer first word")
        << "words.cfg" << QByteArray("tovarish\n") << "text/plain" << Rival;
    QTest::newRow("capital TOVA") << "upper.cfg" << QByteArray("TOVA\r\nmore\r\n") << "text/plain"
                                  << Rival;
}

void TestMimeType::typeOfFile() {
    QFETCH(QString, name);
    QFETCH(QByteArray, contents);
    QFETCH(QString, alone);
    QFETCH(QString, withRival);
    const QString path = dir_ + QStringLiteral("/files/") + name;
    QDir().mkpath(dir_ + QStringLiteral("/files"));
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(contents);
    f.close();
    QCOMPARE(QMimeDatabase().mimeTypeForFile(path).name(), WithRival ? withRival : alone);
    QFile::remove(path);
}

int main(int argc, char* argv[]) {
    QList<char*> args(argv, argv + argc);
    if (args.size() > 1 && QByteArray(args[1]) == "rival") {
        WithRival = true;
        args.removeAt(1);
    }
    const QString tool = QStandardPaths::findExecutable(QStringLiteral("update-mime-database"));
    if (tool.isEmpty()) {
        std::puts("SKIPPED: update-mime-database is not installed (Debian package "
                  "shared-mime-info; ./dev.sh deps installs it)");
        return 77;
    }
    QTemporaryDir dir;
    const QString data = dir.filePath(QStringLiteral("data"));
    // Set before the first use of QMimeDatabase: this database first, then the system's; no
    // per-user database.
    qputenv("XDG_DATA_HOME", dir.filePath(QStringLiteral("home")).toLocal8Bit());
    const QByteArray system = qgetenv("XDG_DATA_DIRS");
    qputenv("XDG_DATA_DIRS",
            data.toLocal8Bit() + ':' +
                (system.isEmpty() ? QByteArray("/usr/local/share:/usr/share") : system));
    if (!BuildDatabase(tool, data))
        return 1;
    QCoreApplication app(argc, argv);
    TestMimeType test(dir.path());
    int count = int(args.size());
    return QTest::qExec(&test, count, args.data());
}

#include "tst_mimetype.moc"
