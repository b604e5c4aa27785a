// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "wholefile.h"

#include "filename.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSaveFile>

#include <algorithm>
#include <optional>
#include <vector>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#endif
#ifdef Q_OS_LINUX
#include <sys/xattr.h>
#endif

namespace orv {

namespace {

QString TooLargeReason(qint64 maxSize) {
    return QCoreApplication::translate("orv::WholeFile", "it is larger than %1 bytes").arg(maxSize);
}

#ifdef Q_OS_UNIX

// Why a file of this mode is not a regular file; nothing when it is one.
std::optional<QString> NotRegularReason(mode_t mode) {
    if (S_ISREG(mode))
        return std::nullopt;
    if (S_ISDIR(mode))
        return QCoreApplication::translate("orv::WholeFile", "it is a folder");
    if (S_ISFIFO(mode))
        return QCoreApplication::translate("orv::WholeFile",
                                           "it is a named pipe, not a regular file");
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return QCoreApplication::translate("orv::WholeFile", "it is a device, not a regular file");
    if (S_ISSOCK(mode))
        return QCoreApplication::translate("orv::WholeFile", "it is a socket, not a regular file");
    return QCoreApplication::translate("orv::WholeFile", "it is not a regular file");
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

FileStamp StampOfStat(const struct stat& st) {
    FileStamp s;
    s.known = true;
    s.device = st.st_dev;
    s.inode = st.st_ino;
    s.size = st.st_size;
    s.modified = qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    return s;
}

QString ErrorText(int error = errno) {
    return qt_error_string(error);
}

// The file a save replaces: the symbolic links of the name's last part followed as far as they
// lead, so that a link stays a link (a link to nothing yet leads to the file to be created).
QByteArray SaveTarget(QByteArray path) {
    for (int depth = 0; depth < 40; ++depth) {
        char link[PATH_MAX];
        const ssize_t n = ::readlink(path.constData(), link, sizeof link);
        if (n < 0 || n == ssize_t(sizeof link))
            return path; // not a link (or one the save will report)
        const QByteArray to(link, n);
        const qsizetype slash = path.lastIndexOf('/');
        path = to.startsWith('/') || slash < 0 ? to : path.left(slash + 1) + to;
    }
    return path;
}

// Who a user or a group is, for a message: "alice (1000)".
QString UserText(uid_t uid) {
    const passwd* pw = ::getpwuid(uid);
    return pw ? QStringLiteral("%1 (%2)").arg(QString::fromLocal8Bit(pw->pw_name)).arg(uid)
              : QString::number(uid);
}

QString GroupText(gid_t gid) {
    const group* gr = ::getgrgid(gid);
    return gr ? QStringLiteral("%1 (%2)").arg(QString::fromLocal8Bit(gr->gr_name)).arg(gid)
              : QString::number(gid);
}

#ifdef Q_OS_LINUX

// The names of a file's extended attributes (by path, or of an open file when `fd` >= 0).
std::optional<std::vector<QByteArray>> AttributeNames(const char* path, int fd) {
    QByteArray list;
    for (;;) {
        const ssize_t size = fd >= 0 ? ::flistxattr(fd, nullptr, 0) : ::listxattr(path, nullptr, 0);
        if (size < 0)
            return errno == ENOTSUP ? std::optional(std::vector<QByteArray>()) : std::nullopt;
        list.resize(size);
        const ssize_t n = fd >= 0 ? ::flistxattr(fd, list.data(), list.size())
                                  : ::listxattr(path, list.data(), list.size());
        if (n >= 0) {
            list.truncate(n);
            break;
        }
        if (errno != ERANGE)
            return std::nullopt;
    }
    std::vector<QByteArray> names;
    for (const QByteArray& name : list.split('\0')) {
        if (!name.isEmpty())
            names.push_back(name);
    }
    return names;
}

std::optional<QByteArray> AttributeValue(const char* path, int fd, const QByteArray& name) {
    QByteArray value;
    for (;;) {
        const ssize_t size = fd >= 0 ? ::fgetxattr(fd, name.constData(), nullptr, 0)
                                     : ::getxattr(path, name.constData(), nullptr, 0);
        if (size < 0)
            return std::nullopt;
        value.resize(size);
        const ssize_t n = fd >= 0 ? ::fgetxattr(fd, name.constData(), value.data(), value.size())
                                  : ::getxattr(path, name.constData(), value.data(), value.size());
        if (n >= 0)
            return value.left(n);
        if (errno != ERANGE)
            return std::nullopt;
    }
}

QString AttributeFailure(const QByteArray& name) {
    // POSIX access control lists are the attributes system.posix_acl_access and _default.
    if (name.startsWith("system.posix_acl_"))
        return QCoreApplication::translate("orv::WholeFile",
                                           "its access control list could not be kept: %1")
            .arg(ErrorText());
    return QCoreApplication::translate("orv::WholeFile",
                                       "its extended attribute %1 could not be kept: %2")
        .arg(QString::fromUtf8(name), ErrorText());
}

// Gives the new file exactly the old one's extended attributes, access control lists among them:
// the old values, and none that the new file took from its folder (a default access control
// list would give users access the old file did not).
std::optional<QString> CopyAttributes(const char* from, int to) {
    const auto names = AttributeNames(from, -1);
    if (!names)
        return QCoreApplication::translate("orv::WholeFile",
                                           "its extended attributes could not be read: %1")
            .arg(ErrorText());
    const auto present = AttributeNames(nullptr, to);
    if (!present)
        return QCoreApplication::translate("orv::WholeFile",
                                           "its extended attributes could not be read: %1")
            .arg(ErrorText());
    for (const QByteArray& name : *names) {
        const auto value = AttributeValue(from, -1, name);
        if (!value)
            return AttributeFailure(name);
        if (AttributeValue(nullptr, to, name) == value)
            continue; // already there (a security label the system gave the new file)
        if (::fsetxattr(to, name.constData(), value->constData(), value->size(), 0) != 0)
            return AttributeFailure(name);
    }
    for (const QByteArray& name : *present) {
        if (std::find(names->begin(), names->end(), name) == names->end() &&
            ::fremovexattr(to, name.constData()) != 0 && errno != ENODATA)
            return AttributeFailure(name);
    }
    return std::nullopt;
}

#else

std::optional<QString> CopyAttributes(const char*, int) {
    return std::nullopt;
}

#endif

// Gives the new file the old one's owner, group, attributes and permissions, in that order: a
// change of owner clears the set-user-ID bit, and an access control list sets the permission
// bits, which are then those of the old file again.
std::optional<QString> KeepMetadata(const char* oldPath, const struct stat& old, int fd) {
    struct stat now {};
    if (::fstat(fd, &now) != 0)
        return ErrorText();
    if ((now.st_uid != old.st_uid || now.st_gid != old.st_gid) &&
        ::fchown(fd, old.st_uid, old.st_gid) != 0) {
        if (errno != EPERM)
            return QCoreApplication::translate("orv::WholeFile", "its owner could not be kept: %1")
                .arg(ErrorText());
        if (now.st_uid != old.st_uid)
            return QCoreApplication::translate(
                       "orv::WholeFile",
                       "it belongs to user %1, and only the administrator can give a "
                       "new file to another user")
                .arg(UserText(old.st_uid));
        return QCoreApplication::translate(
                   "orv::WholeFile", "its group %1 cannot be kept, as you are not a member of it")
            .arg(GroupText(old.st_gid));
    }
    if (auto why = CopyAttributes(oldPath, fd))
        return why;
    if (::fchmod(fd, old.st_mode & 07777) != 0)
        return QCoreApplication::translate("orv::WholeFile",
                                           "its permissions could not be kept: %1")
            .arg(ErrorText());
    return std::nullopt;
}

// A temporary file in the target's folder, removed again unless it has taken the target's place.
class TemporaryFile {
public:
    TemporaryFile(int folder, const QByteArray& target, long nameMax, mode_t mode)
        : folder_(folder) {
        // ".name.XXXXXX", the name cut where the folder's longest name needs it, so that every
        // name the folder holds can be saved.
        static const char Letters[] =
            "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
        const QByteArray stem = '.' + target.left(nameMax - 8) + '.';
        for (int attempt = 0; attempt < 100; ++attempt) {
            name_ = stem;
            for (int i = 0; i < 6; ++i)
                name_ += Letters[QRandomGenerator::global()->bounded(int(sizeof Letters) - 1)];
            fd_ = ::openat(folder, name_.constData(),
                           O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, mode);
            if (fd_ >= 0 || errno != EEXIST)
                return;
        }
    }
    ~TemporaryFile() {
        if (fd_ >= 0)
            ::close(fd_);
        if (fd_ >= 0 && !renamed_)
            ::unlinkat(folder_, name_.constData(), 0);
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    int fd() const { return fd_; }

    // Every byte, each write checked: a full disk shows at the write that meets it.
    bool write(const QByteArray& bytes) {
        qsizetype done = 0;
        while (done < bytes.size()) {
            const ssize_t n = ::write(fd_, bytes.constData() + done, bytes.size() - done);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0) {
                if (n == 0)
                    errno = ENOSPC;
                return false;
            }
            done += n;
        }
        // Some file systems report a full disk or an I/O error only here; a file that cannot be
        // synchronised at all is not an error.
        return ::fsync(fd_) == 0 || errno == EINVAL || errno == EROFS;
    }

    bool replace(const QByteArray& target) {
        renamed_ = ::renameat(folder_, name_.constData(), folder_, target.constData()) == 0;
        return renamed_;
    }

private:
    int folder_;
    int fd_ = -1;
    QByteArray name_;
    bool renamed_ = false;
};

QString ChangedReason() {
    return QCoreApplication::translate("orv::WholeFile",
                                       "another program changed it after it was read");
}

WriteResult Failure(QString why, WriteStatus status = WriteStatus::Failed) {
    WriteResult r;
    r.status = status;
    r.why = std::move(why);
    return r;
}

// Why the folder of a save could not be opened (errno tells).
WriteResult FolderFailure(const QByteArray& folderName, const FileStamp& expected) {
    if (errno != ENOENT)
        return Failure(ErrorText());
    return Failure(
        (expected.known
             ? QCoreApplication::translate("orv::WholeFile", "the folder %1 no longer exists")
             : QCoreApplication::translate("orv::WholeFile", "the folder %1 does not exist"))
            .arg(FileNameFromBytes(folderName)));
}

// Why the file `name` in `folder`, found there as `old`, may not be replaced; nothing when it
// may.
std::optional<WriteResult> RefusedReplacement(int folder, const QByteArray& name,
                                              const struct stat& old, const FileStamp& expected) {
    if (const auto reason = NotRegularReason(old.st_mode))
        return Failure(*reason);
    // A file the user may not write is not replaced either (the administrator may).
    if (::faccessat(folder, name.constData(), W_OK, AT_EACCESS) != 0)
        return Failure(ErrorText());
    // Changed already: nothing is written (it is checked again right before the rename).
    if (expected.known && StampOfStat(old) != expected)
        return Failure(ChangedReason(), WriteStatus::Changed);
    return std::nullopt;
}

// The folder stays open: the temporary file, the check and the rename all happen in it, and it
// is synchronised once the file has taken its place. A folder that may be written to but not
// read can still take the file, only not be synchronised.
int OpenSaveFolder(const QByteArray& folderName) {
    const int fd = ::open(folderName.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0 && errno == EACCES)
        return ::open(folderName.constData(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    return fd;
}

WriteResult WriteReplacing(const QString& path, const QByteArray& bytes,
                           const FileStamp& expected) {
    if (path.isEmpty())
        return Failure(QCoreApplication::translate("orv::WholeFile", "no file name was given"));
    const QByteArray target = SaveTarget(FileNameBytes(path));
    const qsizetype slash = target.lastIndexOf('/');
    const QByteArray folderName = slash < 0 ? QByteArray(".") : target.left(qMax(slash, 1));
    const QByteArray name = target.mid(slash + 1);
    if (name.isEmpty())
        return Failure(NotRegularReason(S_IFDIR).value());

    const FileDescriptor folder(OpenSaveFolder(folderName));
    if (folder.get() < 0)
        return FolderFailure(folderName, expected);
    long nameMax = ::fpathconf(folder.get(), _PC_NAME_MAX);
    if (nameMax < 14)
        nameMax = 255;
    if (name.size() > nameMax)
        return Failure(ErrorText(ENAMETOOLONG));

    struct stat old {};
    const bool exists = ::fstatat(folder.get(), name.constData(), &old, 0) == 0;
    if (!exists && errno != ENOENT)
        return Failure(ErrorText());
    if (exists) {
        if (auto refused = RefusedReplacement(folder.get(), name, old, expected))
            return *refused;
    }

    // A new file takes the folder's defaults; an existing one's metadata are copied below, and
    // until then the temporary file is the owner's alone.
    TemporaryFile file(folder.get(), name, nameMax, exists ? 0600 : 0666);
    if (file.fd() < 0 || !file.write(bytes))
        return Failure(ErrorText());
    if (exists) {
        if (auto why = KeepMetadata(target.constData(), old, file.fd()))
            return Failure(*why);
    }
    struct stat written {};
    if (::fstat(file.fd(), &written) != 0)
        return Failure(ErrorText());

    // The last moment before the old file goes: is it still the one that was read?
    struct stat now {};
    if (expected.known && ::fstatat(folder.get(), name.constData(), &now, 0) == 0 &&
        StampOfStat(now) != expected)
        return Failure(ChangedReason(), WriteStatus::Changed);
    if (!file.replace(name))
        return Failure(ErrorText());
    if (::fsync(folder.get()) != 0 && errno != EINVAL && errno != EBADF && errno != EROFS)
        qWarning("A save could not synchronise its folder: %s", qPrintable(ErrorText()));
    WriteResult r;
    r.status = WriteStatus::Ok;
    r.stamp = StampOfStat(written);
    return r;
}

#else

WriteResult WriteReplacing(const QString& path, const QByteArray& bytes, const FileStamp&) {
    WriteResult r;
    const QFileInfo info(path);
    if (info.exists() && !info.isFile()) {
        r.why = info.isDir()
                    ? QCoreApplication::translate("orv::WholeFile", "it is a folder")
                    : QCoreApplication::translate("orv::WholeFile", "it is not a regular file");
        return r;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) ||
        file.write(bytes) != bytes.size() || !file.flush() || !file.commit()) {
        r.why = file.errorString();
        file.cancelWriting();
        return r;
    }
    r.status = WriteStatus::Ok;
    return r;
}

#endif

} // namespace

FileStamp StampOf(const QString& path) {
#ifdef Q_OS_UNIX
    struct stat st {};
    if (::stat(FileNameBytes(path).constData(), &st) == 0)
        return StampOfStat(st);
#else
    Q_UNUSED(path);
#endif
    return {};
}

WriteResult WriteWholeFile(const QString& path, const QByteArray& bytes,
                           const FileStamp& expected) {
    return WriteReplacing(path, bytes, expected);
}

bool WriteWholeFile(const QString& path, const QByteArray& bytes, QString* why) {
    const WriteResult r = WriteWholeFile(path, bytes);
    if (!r.ok())
        *why = r.why;
    return r.ok();
}

#ifdef Q_OS_UNIX
namespace {

// Reads an open file to its end into `result`; false, with `result` telling why, when a read
// fails or the file passes `maxSize`. The file may still grow while it is read: one byte beyond
// the limit tells.
bool ReadToEnd(int fd, qint64 maxSize, ReadResult& result) {
    char chunk[4096];
    for (;;) {
        const ssize_t n = ::read(fd, chunk, sizeof chunk);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            result = Failed(errno);
            return false;
        }
        if (n == 0)
            return true;
        result.bytes.append(chunk, n);
        if (result.bytes.size() > maxSize) {
            result.bytes.clear();
            result.stamp = {};
            result.status = ReadStatus::TooLarge;
            result.why = TooLargeReason(maxSize);
            return false;
        }
    }
}

} // namespace
#endif

ReadResult ReadWholeFile(const QString& path, qint64 maxSize) {
    ReadResult result;
#ifdef Q_OS_UNIX
    const QByteArray name = FileNameBytes(path);
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
    result.stamp = StampOfStat(st);
    if (!ReadToEnd(fd.get(), maxSize, result))
        return result;
#else
    const QFileInfo info(path);
    if (!info.exists()) {
        result.why = QStringLiteral("No such file or directory");
        return result;
    }
    if (!info.isFile()) {
        result.status = ReadStatus::NotRegular;
        result.why = info.isDir() ? QCoreApplication::translate("orv::WholeFile", "it is a folder")
                                  : QCoreApplication::translate("orv::WholeFile",
                                                                "it is not a regular file");
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
