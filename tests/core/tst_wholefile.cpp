// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/filename.h"
#include "core/wholefile.h"
#include "support/filefixtures.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <filesystem>
#include <fstream>
#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

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

// A POSIX access control list as the system stores it in system.posix_acl_access: version 2,
// then per entry its tag, permissions and user or group (tags: 1 owner, 2 user, 4 group,
// 0x10 mask, 0x20 others).
QByteArray Acl(std::initializer_list<std::array<quint32, 3>> entries) {
    QByteArray acl(4, '\0');
    acl[0] = 2;
    for (const auto& [tag, perm, id] : entries) {
        const quint16 head[2] = {quint16(tag), quint16(perm)};
        acl.append(reinterpret_cast<const char*>(head), 4);
        acl.append(reinterpret_cast<const char*>(&id), 4);
    }
    return acl;
}

// Writes as another user, in a child process: the reason, or nothing when the save succeeded.
QString WriteAsUser(uid_t user, const QString& path, const QByteArray& bytes) {
    int out[2];
    if (::pipe(out) != 0)
        return QStringLiteral("(no pipe)");
    const pid_t child = ::fork();
    if (child == 0) {
        QString why;
        const bool ok = ::setgroups(0, nullptr) == 0 && ::setgid(user) == 0 &&
                        ::setuid(user) == 0 && WriteWholeFile(path, bytes, &why);
        const QByteArray text = ok ? QByteArray() : why.isEmpty() ? "not that user" : why.toUtf8();
        ::_exit(::write(out[1], text.constData(), text.size()) < 0);
    }
    ::close(out[1]);
    char buffer[1000];
    const ssize_t n = ::read(out[0], buffer, sizeof buffer);
    ::close(out[0]);
    ::waitpid(child, nullptr, 0);
    return QString::fromUtf8(buffer, qMax<ssize_t>(n, 0));
}

} // namespace

class TestWholeFile : public QObject {
    Q_OBJECT
private slots:
    void writeReplacesTheFile();
    void writeOnAFullDisk_data();
    void writeOnAFullDisk();
    void writeNeverReplacesSpecialFiles();
    void writeKeepsMetadata_data();
    void writeKeepsMetadata();
    void writeNames_data();
    void writeNames();
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
    // With a stamp, only over that file: not once another program has replaced it, and anew
    // where it has gone.
    const FileStamp read = StampOf(path);
    Put(path + QStringLiteral(".new"), "theirs");
    QVERIFY(QFile::remove(path) && QFile::rename(path + QStringLiteral(".new"), path));
    QCOMPARE(WriteWholeFile(path, "mine", read).status, WriteStatus::Changed);
    QCOMPARE(Contents(path), QByteArray("theirs"));
    QCOMPARE(Entries(QFileInfo(path).path()), QStringList{"a.cfg"});
    QVERIFY(QFile::remove(path) && WriteWholeFile(path, "mine", read).ok());
    QCOMPARE(WriteWholeFile(dir_.filePath(QStringLiteral("none/a.cfg")), "x", read).why,
             QStringLiteral("the folder %1 no longer exists").arg(dir_.filePath("none")));
    QVERIFY(!WriteWholeFile(dir_.filePath(QStringLiteral("none/a.cfg")), "x", &why));
    QCOMPARE(why, QStringLiteral("the folder %1 does not exist").arg(dir_.filePath("none")));
    QVERIFY(!WriteWholeFile(QString(), "x", &why));
    QCOMPARE(why, QStringLiteral("no file name was given"));
}

void TestWholeFile::writeOnAFullDisk_data() {
    QTest::addColumn<QByteArray>("old"); // empty: no file yet
    QTest::addColumn<int>("size");       // bytes to write
    QTest::addColumn<bool>("fill");      // the disk is full before the save
    QTest::newRow("replacing a file") << QByteArray("tova\r\nold contents\r\n") << 500 << true;
    QTest::newRow("a new file") << QByteArray() << 500 << true;
    QTest::newRow("more than the disk holds") << QByteArray("old\r\n") << 40000 << true;
    QTest::newRow("partly full") << QByteArray("old\r\n") << 40000 << false;
}

void TestWholeFile::writeOnAFullDisk() {
    QFETCH(QByteArray, old);
    QFETCH(int, size);
    QFETCH(bool, fill);
    FullFilesystem disk(dir_.filePath(QStringLiteral("full-%1").arg(QTest::currentDataTag())));
    QString why;
    if (!disk.mount(&why))
        QSKIP(qPrintable(QStringLiteral("skipped the full-disk save: ") + why));
    const QString path = disk.filePath(QStringLiteral("kept.cfg"));
    if (!old.isEmpty())
        Put(path, old);
    QVERIFY2(!fill || disk.fill(&why), qPrintable(why));
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

void TestWholeFile::writeKeepsMetadata_data() {
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("owner");       // -1: the test's own
    QTest::addColumn<int>("group");       // -1: the test's own
    QTest::addColumn<QByteArray>("name"); // an extended attribute of the file, if any
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<bool>("folderDefault"); // the folder gives new files a user's access
    QTest::addColumn<int>("asUser");         // saved by this user; -1: by the test (root)
    QTest::addColumn<QString>("why");        // empty: saved
    const QByteArray acl =
        Acl({{1, 6, ~0u}, {2, 4, 1001}, {4, 4, ~0u}, {0x10, 4, ~0u}, {0x20, 0, ~0u}});
    QTest::newRow("another user's file")
        << 0640 << 1234 << 5678 << QByteArray() << QByteArray() << false << -1 << "";
    QTest::newRow("read-only") << 0444 << -1 << -1 << QByteArray() << QByteArray() << false << -1
                               << "";
    QTest::newRow("extended attribute") << 0644 << -1 << -1 << QByteArray("user.orv.note")
                                        << QByteArray("kept") << false << -1 << "";
    QTest::newRow("access control list")
        << 0640 << 1234 << 5678 << QByteArray("system.posix_acl_access") << acl << false << -1
        << "";
    QTest::newRow("none from the folder")
        << 0600 << -1 << -1 << QByteArray() << QByteArray() << true << -1 << "";
    QTest::newRow("a user saving another's file")
        << 0666 << 1234 << 5678 << QByteArray() << QByteArray() << false << 65534
        << "it belongs to user 1234, and only the administrator can give a new file to another "
           "user";
    QTest::newRow("a user outside the group")
        << 0664 << 65534 << 5678 << QByteArray() << QByteArray() << false << 65534
        << "its group 5678 cannot be kept, as you are not a member of it";
}

// A save keeps the permissions, owner, group and extended attributes (access control lists
// among them); where it cannot, it fails and leaves the file as it was.
void TestWholeFile::writeKeepsMetadata() {
    QFETCH(int, mode);
    QFETCH(int, owner);
    QFETCH(int, group);
    QFETCH(QByteArray, name);
    QFETCH(QByteArray, value);
    QFETCH(bool, folderDefault);
    QFETCH(int, asUser);
    QFETCH(QString, why);
    if (::geteuid() != 0)
        QSKIP("skipped: giving files to other users needs root");
    QVERIFY(::chmod(QFile::encodeName(dir_.path()).constData(), 0755) == 0);
    const QString folder = dir_.filePath(QStringLiteral("meta-%1").arg(QTest::currentDataTag()));
    QVERIFY(QDir().mkpath(folder));
    QVERIFY(::chmod(QFile::encodeName(folder).constData(), 0777) == 0);
    const QByteArray path = QFile::encodeName(folder + QStringLiteral("/kept.cfg"));
    Put(QString::fromUtf8(path), "old");
    QVERIFY(::chown(path.constData(), owner, group) == 0 && ::chmod(path.constData(), mode) == 0);
    if (!name.isEmpty() &&
        ::setxattr(path.constData(), name.constData(), value.constData(), value.size(), 0) != 0)
        QSKIP(qPrintable(QStringLiteral("skipped: the folder's file system keeps no %1: %2")
                             .arg(QString::fromUtf8(name), qt_error_string(errno))));
    const QByteArray folderAcl =
        Acl({{1, 7, ~0u}, {2, 7, 1001}, {4, 5, ~0u}, {0x10, 7, ~0u}, {0x20, 5, ~0u}});
    if (folderDefault &&
        ::setxattr(QFile::encodeName(folder).constData(), "system.posix_acl_default",
                   folderAcl.constData(), folderAcl.size(), 0) != 0)
        QSKIP(qPrintable(QStringLiteral("skipped: no default access control lists here: ") +
                         qt_error_string(errno)));
    struct stat before {};
    QVERIFY(::stat(path.constData(), &before) == 0);

    QString reason;
    const bool saved = asUser < 0 ? WriteWholeFile(QString::fromUtf8(path), "new", &reason)
                                  : (reason = WriteAsUser(asUser, path, "new")).isEmpty();
    QCOMPARE(reason, why);
    QCOMPARE(Contents(QString::fromUtf8(path)), QByteArray(saved ? "new" : "old"));
    QCOMPARE(Entries(folder), QStringList{"kept.cfg"});
    struct stat after {};
    QVERIFY(::stat(path.constData(), &after) == 0);
    QCOMPARE(std::tuple(after.st_uid, after.st_gid, after.st_mode),
             std::tuple(before.st_uid, before.st_gid, before.st_mode));
    char names[1000];
    const ssize_t n = ::listxattr(path.constData(), names, sizeof names);
    QCOMPARE(QByteArray(names, qMax<ssize_t>(n, 0)), name.isEmpty() ? name : name + '\0');
    char kept[1000];
    if (!name.isEmpty())
        QCOMPARE(QByteArray(kept, ::getxattr(path.constData(), name.constData(), kept, 1000)),
                 value);
}

void TestWholeFile::writeNames_data() {
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<QString>("shown"); // in messages
    QTest::newRow("symbolic link") << QByteArray("link") << "link";
    // The longest name a folder holds: its temporary file has a shorter one.
    QTest::newRow("255 bytes") << QByteArray(255, 'n') << QString(255, 'n');
    QTest::newRow("UTF-8") << QByteArray("\xc3\xa9\xe2\x82\xac\xf0\x9f\x98\x80")
                           << QString::fromUtf8("\xc3\xa9\xe2\x82\xac\xf0\x9f\x98\x80");
    QTest::newRow("not UTF-8") << QByteArray("bad\xff\xfe.cfg") << "bad\\xFF\\xFE.cfg";
    QTest::newRow("cut short") << QByteArray("\xe2\x82.cfg") << "\\xE2\\x82.cfg";
    QTest::newRow("a surrogate") << QByteArray("\xed\xa0\x80") << "\\xED\\xA0\\x80";
    QTest::newRow("overlong") << QByteArray("\xc0\xaf") << "\\xC0\\xAF";
}

// A save writes the file of exactly the name's bytes; through a symbolic link, the file it leads
// to, and the link stays.
void TestWholeFile::writeNames() {
    QFETCH(QByteArray, name);
    QFETCH(QString, shown);
    const bool link = name == "link";
    const QByteArray folder = QFile::encodeName(dir_.filePath(QTest::currentDataTag()));
    QVERIFY(QDir().mkpath(QFile::decodeName(folder)));
    const QByteArray path = folder + '/' + name;
    const QByteArray file = link ? folder + "/a.cfg" : path;
    std::ofstream(file.constData()) << "old";
    QVERIFY(!link || ::symlink("a.cfg", path.constData()) == 0);
    QCOMPARE(FileNameBytes(FileNameFromBytes(name)), name);
    QCOMPARE(ShownFileName(FileNameFromBytes(name)), shown);
    QString why;
    QVERIFY2(WriteWholeFile(FileNameFromBytes(path), "new", &why), qPrintable(why));
    std::ifstream in(file.constData());
    QCOMPARE(std::string(std::istreambuf_iterator<char>(in), {}), "new");
    const auto entries = std::filesystem::directory_iterator(folder.toStdString());
    QCOMPARE(std::distance(begin(entries), end(entries)), link ? 2 : 1);
    QCOMPARE(QFileInfo(QFile::decodeName(path)).isSymLink(), link);
    QVERIFY(::unlink(path.constData()) == 0); // QDir cannot always name it to remove it
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
