// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "processlauncher.h"

#include "core/filename.h"

#include <QStringList>

#include <cerrno>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace orv {

namespace {

// Starts program (looked up on PATH) with arguments in a new session, as a grandchild that
// nothing waits for. The child runs childSetup before exec(); a failed exec() is reported back
// through a pipe that a successful one closes. Everything the children use is made before
// fork(): a child of a threaded process may only make system calls.
bool StartDetachedProcess(const QString& program, const QStringList& arguments,
                          void (*childSetup)()) {
    std::vector<QByteArray> words{FileNameBytes(program)};
    for (const QString& a : arguments)
        words.push_back(FileNameBytes(a));
    std::vector<char*> argv;
    for (QByteArray& w : words)
        argv.push_back(w.data());
    argv.push_back(nullptr);

    int report[2];
    if (::pipe2(report, O_CLOEXEC) != 0)
        return false;
    const pid_t child = ::fork();
    if (child < 0) {
        ::close(report[0]);
        ::close(report[1]);
        return false;
    }
    if (child == 0) {
        ::close(report[0]);
        ::setsid();
        const pid_t grandchild = ::fork();
        if (grandchild != 0)
            ::_exit(grandchild < 0 ? 127 : 0);
        if (childSetup)
            childSetup();
        ::execvp(argv[0], argv.data());
        const int error = errno;
        [[maybe_unused]] const ssize_t n = ::write(report[1], &error, sizeof error);
        ::_exit(127);
    }
    ::close(report[1]);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    int error = 0;
    ssize_t n;
    while ((n = ::read(report[0], &error, sizeof error)) < 0 && errno == EINTR) {
    }
    ::close(report[0]);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 && n == 0;
}

} // namespace

bool ProcessLauncher::startDetached(const QString& program, const QStringList& arguments) {
    return StartDetachedProcess(program, arguments, childSetup_);
}

bool ProcessLauncher::openFile(const QString& path) {
    return StartDetachedProcess(QStringLiteral("xdg-open"), {path}, childSetup_);
}

} // namespace orv
