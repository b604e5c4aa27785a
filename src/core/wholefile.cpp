#include "wholefile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <optional>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace orv {

namespace {

QString TooLargeReason(qint64 maxSize) {
    return QStringLiteral("it is larger than %1 bytes").arg(maxSize);
}

#ifdef Q_OS_UNIX

// Why a file of this mode is not a regular file; nothing when it is one.
std::optional<QString> NotRegularReason(mode_t mode) {
    if (S_ISREG(mode))
        return std::nullopt;
    if (S_ISDIR(mode))
        return QStringLiteral("it is a folder");
    if (S_ISFIFO(mode))
        return QStringLiteral("it is a named pipe, not a regular file");
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return QStringLiteral("it is a device, not a regular file");
    if (S_ISSOCK(mode))
        return QStringLiteral("it is a socket, not a regular file");
    return QStringLiteral("it is not a regular file");
}

// Why an existing file (symbolic links followed) must not be replaced by a save; nothing when it
// may be (a regular file, or no file yet).
std::optional<QString> NotReplaceable(const QString& path) {
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return std::nullopt; // nothing there yet, or a folder the save itself will report
    return NotRegularReason(st.st_mode);
}

// Makes sure that what was written to the file has reached the disk: some file systems report a
// full disk or an I/O error only here. A file that cannot be synchronised at all is not an error.
bool SyncToDisk(QSaveFile& file, QString* why) {
    if (::fsync(file.handle()) == 0 || errno == EINVAL || errno == EROFS)
        return true;
    *why = qt_error_string(errno);
    return false;
}

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return fd_; }

private:
    int fd_;
};

// Whether a stat()ed file may be read under the limit; the refusal goes into `result`.
bool Readable(const struct stat& st, qint64 maxSize, ReadResult& result) {
    if (const auto reason = NotRegularReason(st.st_mode)) {
        result.status = ReadStatus::NotRegular;
        result.why = *reason;
        return false;
    }
    if (st.st_size > maxSize) {
        result.status = ReadStatus::TooLarge;
        result.why = TooLargeReason(maxSize);
        return false;
    }
    return true;
}

ReadResult Failed(int error) {
    ReadResult r;
    r.status = ReadStatus::Failed;
    r.why = qt_error_string(error);
    return r;
}

#else

std::optional<QString> NotReplaceable(const QString& path) {
    const QFileInfo info(path);
    if (!info.exists() || info.isFile())
        return std::nullopt;
    return info.isDir() ? QStringLiteral("it is a folder")
                        : QStringLiteral("it is not a regular file");
}

bool SyncToDisk(QSaveFile&, QString*) {
    return true; // commit() synchronises the file
}

#endif

} // namespace

bool WriteWholeFile(const QString& path, const QByteArray& bytes, QString* why) {
    if (const auto reason = NotReplaceable(path)) {
        *why = *reason;
        return false;
    }
    QSaveFile file(path);
    // Unbuffered, so that every write reaches the system at once and a full disk shows at the
    // write. (Written through a buffer, the data would only meet the full disk in commit(), and
    // QSaveFile would then still put the short temporary file in the old file's place.)
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) ||
        file.write(bytes) != bytes.size() || !file.flush()) {
        *why = file.errorString();
        file.cancelWriting();
        return false;
    }
    if (!SyncToDisk(file, why)) {
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        *why = file.errorString();
        return false;
    }
    return true;
}

ReadResult ReadWholeFile(const QString& path, qint64 maxSize) {
    ReadResult result;
#ifdef Q_OS_UNIX
    const QByteArray name = QFile::encodeName(path);
    struct stat st {};
    if (::stat(name.constData(), &st) != 0)
        return Failed(errno);
    if (!Readable(st, maxSize, result))
        return result;
    // Something else may take the file's place between the check and the opening: opening
    // without blocking keeps a named pipe from stopping the program, and the file is checked
    // again once it is open.
    const FileDescriptor fd(::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (fd.get() < 0)
        return Failed(errno);
    if (::fstat(fd.get(), &st) != 0)
        return Failed(errno);
    if (!Readable(st, maxSize, result))
        return result;
    // The file may still grow while it is read: one byte beyond the limit tells.
    char chunk[4096];
    for (;;) {
        const ssize_t n = ::read(fd.get(), chunk, sizeof chunk);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return Failed(errno);
        if (n == 0)
            break;
        result.bytes.append(chunk, n);
        if (result.bytes.size() > maxSize) {
            result.bytes.clear();
            result.status = ReadStatus::TooLarge;
            result.why = TooLargeReason(maxSize);
            return result;
        }
    }
#else
    const QFileInfo info(path);
    if (!info.exists()) {
        result.why = QStringLiteral("No such file or directory");
        return result;
    }
    if (!info.isFile()) {
        result.status = ReadStatus::NotRegular;
        result.why = info.isDir() ? QStringLiteral("it is a folder")
                                  : QStringLiteral("it is not a regular file");
        return result;
    }
    QFile file(path);
    if (info.size() <= maxSize && file.open(QIODevice::ReadOnly))
        result.bytes = file.read(maxSize + 1);
    if (info.size() > maxSize || result.bytes.size() > maxSize) {
        result.bytes.clear();
        result.status = ReadStatus::TooLarge;
        result.why = TooLargeReason(maxSize);
        return result;
    }
    if (!file.isOpen() || file.error() != QFileDevice::NoError) {
        result.why = file.errorString();
        return result;
    }
#endif
    result.status = ReadStatus::Ok;
    return result;
}

} // namespace orv
