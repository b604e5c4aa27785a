#include "core/wholefile.h"
#include "support/filefixtures.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace orv;
using namespace orv::test;

namespace {

QByteArray Contents(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void Put(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    QCOMPARE(f.write(bytes), bytes.size());
}

QStringList Entries(const QString& dir) {
    return QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

} // namespace

class TestWholeFile : public QObject {
    Q_OBJECT
private slots:
    void writeReplacesTheFile();
    void writeOnAFullDisk_data();
    void writeOnAFullDisk();
    void writeNeverReplacesSpecialFiles();
    void read_data();
    void read();

private:
    QTemporaryDir dir_;
};

void TestWholeFile::writeReplacesTheFile() {
    const QString path = dir_.filePath(QStringLiteral("replace/a.cfg"));
    QVERIFY(QDir().mkpath(QFileInfo(path).path()));
    QString why;
    QVERIFY(WriteWholeFile(path, "first, longer contents", &why));
    QVERIFY(WriteWholeFile(path, "second", &why));
    QCOMPARE(Contents(path), QByteArray("second"));
    QCOMPARE(Entries(QFileInfo(path).path()), QStringList{"a.cfg"}); // no temporary file left
    // A folder that does not exist: the system's reason.
    QVERIFY(!WriteWholeFile(dir_.filePath(QStringLiteral("none/a.cfg")), "x", &why));
    QVERIFY2(why.contains(QLatin1String("No such file")), qPrintable(why));
}

void TestWholeFile::writeOnAFullDisk_data() {
    QTest::addColumn<QByteArray>("old"); // empty: no file yet
    QTest::addColumn<int>("size");       // bytes to write
    QTest::newRow("replacing a file") << QByteArray("tova\r\nold contents\r\n") << 500;
    QTest::newRow("a new file") << QByteArray() << 500;
    QTest::newRow("more than the disk holds") << QByteArray("old\r\n") << 40000;
}

void TestWholeFile::writeOnAFullDisk() {
    QFETCH(QByteArray, old);
    QFETCH(int, size);
    FullFilesystem disk(dir_.filePath(QStringLiteral("full-%1").arg(QTest::currentDataTag())));
    QString why;
    if (!disk.mount(&why))
        QSKIP(qPrintable(QStringLiteral("skipped the full-disk save: ") + why));
    const QString path = disk.filePath(QStringLiteral("kept.cfg"));
    if (!old.isEmpty())
        Put(path, old);
    QVERIFY2(disk.fill(&why), qPrintable(why));
    const QStringList before = Entries(disk.path());

    QVERIFY(!WriteWholeFile(path, QByteArray(size, 'n'), &why));
    QCOMPARE(why, QStringLiteral("No space left on device"));
    QCOMPARE(Contents(path), old);
    QCOMPARE(QFileInfo::exists(path), !old.isEmpty());
    QCOMPARE(Entries(disk.path()), before); // the temporary file is gone again
}

void TestWholeFile::writeNeverReplacesSpecialFiles() {
    TestFifo fifo(dir_.filePath(QStringLiteral("pipe.cfg")));
    QVERIFY(fifo.made());
    QString why;
    QVERIFY(!WriteWholeFile(fifo.path(), "x", &why));
    QCOMPARE(why, QStringLiteral("it is a named pipe, not a regular file"));
    QVERIFY(!QFileInfo(fifo.path()).isFile()); // still the pipe
    QVERIFY(!fifo.wasOpened());
    const QString folder = dir_.filePath(QStringLiteral("folder.cfg"));
    QVERIFY(QDir().mkpath(folder));
    QVERIFY(!WriteWholeFile(folder, "x", &why));
    QCOMPARE(why, QStringLiteral("it is a folder"));
    QVERIFY(QFileInfo(folder).isDir());
}

void TestWholeFile::read_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<qint64>("size");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("why");
    const auto ok = int(ReadStatus::Ok);
    const auto tooLarge = int(ReadStatus::TooLarge);
    const auto notRegular = int(ReadStatus::NotRegular);
    const QString large = QStringLiteral("it is larger than 100 bytes");
    QTest::newRow("empty") << "file" << qint64(0) << ok << "";
    QTest::newRow("at the limit") << "file" << qint64(100) << ok << "";
    QTest::newRow("one byte more") << "file" << qint64(101) << tooLarge << large;
    // Refused by its size alone: never read.
    QTest::newRow("200 MB") << "sparse" << qint64(200) * 1000 * 1000 << tooLarge << large;
    QTest::newRow("link to a file") << "link" << qint64(50) << ok << "";
    QTest::newRow("folder") << "folder" << qint64(0) << notRegular << "it is a folder";
    QTest::newRow("named pipe") << "fifo" << qint64(0) << notRegular
                                << "it is a named pipe, not a regular file";
    QTest::newRow("link to a named pipe")
        << "fifo link" << qint64(0) << notRegular << "it is a named pipe, not a regular file";
    QTest::newRow("device") << "/dev/null" << qint64(0) << notRegular
                            << "it is a device, not a regular file";
    QTest::newRow("missing") << "missing" << qint64(0) << int(ReadStatus::Failed)
                             << "No such file or directory";
}

void TestWholeFile::read() {
    QFETCH(QString, kind);
    QFETCH(qint64, size);
    QFETCH(int, status);
    QFETCH(QString, why);
    const QString path = dir_.filePath(QStringLiteral("read-%1").arg(QTest::currentDataTag()));
    QByteArray bytes;
    for (qint64 i = 0; i < size && kind != QLatin1String("sparse"); ++i)
        bytes.append(static_cast<char>('a' + i % 26));
    std::unique_ptr<TestFifo> fifo;
    QString target = path;
    if (kind == QLatin1String("file") || kind == QLatin1String("link")) {
        Put(path, bytes);
    } else if (kind == QLatin1String("sparse")) {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly) && f.resize(size));
    } else if (kind == QLatin1String("folder")) {
        QVERIFY(QDir().mkpath(path));
    } else if (kind.startsWith(QLatin1String("fifo"))) {
        fifo = std::make_unique<TestFifo>(path);
        QVERIFY(fifo->made());
    } else if (kind.startsWith(QLatin1Char('/'))) {
        target = kind;
    }
    if (kind.endsWith(QLatin1String("link"))) {
        target = path + QStringLiteral(".link");
        QVERIFY(QFile::link(path, target));
    }
    const ReadResult r = ReadWholeFile(target, 100);
    QCOMPARE(int(r.status), status);
    QCOMPARE(r.why, why);
    QCOMPARE(r.bytes, status == int(ReadStatus::Ok) ? bytes : QByteArray());
    if (fifo)
        QVERIFY(!fifo->wasOpened());
}

QTEST_GUILESS_MAIN(TestWholeFile)
#include "tst_wholefile.moc"
