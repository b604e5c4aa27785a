// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The start-up takes the keyboard link's port access and then gives up every privilege: first
// with a fake process (capabilities, ids, calls that fail), then for real in a child process,
// whose /proc/self/status must show nothing left.

#include "app/privileges.h"
#include "app/processlauncher.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

using namespace orv;

namespace {

constexpr std::uint64_t SysRawio = std::uint64_t(1) << 17;
constexpr std::uint64_t SetPcap = std::uint64_t(1) << 8;
constexpr int LastCap = 40;
constexpr std::uint64_t AllCaps = (std::uint64_t(1) << (LastCap + 1)) - 1;

// A process as the kernel keeps it, with a log of the calls that change it.
class FakeProcess : public PrivilegeCalls {
public:
    CapabilitySets caps;
    std::uint64_t bounding = AllCaps;
    ProcessIds uids{1000, 1000, 1000}, gids{100, 100, 100};
    bool noNewPrivs = false;
    QString failing; // the call that fails (EPERM)
    QStringList log;

    ProcessIds userIds() override { return uids; }
    ProcessIds groupIds() override { return gids; }
    int setUserIds(unsigned id) override {
        return change("setresuid", [&] {
            if (uids.effective == 0 && id != 0)
                caps = {}; // root gone: so are its capabilities
            uids = {id, id, id};
        });
    }
    int setGroupIds(unsigned id) override {
        return change("setresgid", [&] { gids = {id, id, id}; });
    }
    int readCapabilities(CapabilitySets& sets) override {
        sets = caps;
        return 0;
    }
    int writeCapabilities(const CapabilitySets& sets) override {
        return change("capset", [&] { caps = sets; });
    }
    int inBoundingSet(int cap) override { return cap > LastCap ? -1 : int((bounding >> cap) & 1); }
    int dropFromBoundingSet(int cap) override {
        if (!(caps.effective & SetPcap))
            return EPERM;
        bounding &= ~(std::uint64_t(1) << cap);
        return 0;
    }
    int clearAmbient() override { return 0; }
    int setNoNewPrivileges() override {
        return change("no_new_privs", [&] { noNewPrivs = true; });
    }

private:
    int change(const char* call, const std::function<void()>& effect) {
        log << QLatin1String(call);
        if (failing == QLatin1String(call))
            return EPERM;
        effect();
        return 0;
    }
};

const char* const ChildArgument = "--drop-and-show-status";

} // namespace

class TestPrivileges : public QObject {
    Q_OBJECT
private slots:
    void startUp_data();
    void startUp();
    void nothingLeftInProc();
    void startedProgramsRunTheChildSetup();
};

void TestPrivileges::startUp_data() {
    QTest::addColumn<QString>("start");   // "user", "caps" (file capability), "root", "setuid"
    QTest::addColumn<QString>("failing"); // the call that fails, if any
    QTest::addColumn<QString>("refusal"); // start of the refusal, "" when it starts
    QTest::newRow("ordinary user") << "user"
                                   << ""
                                   << "";
    QTest::newRow("ordinary user, no_new_privs refused") << "user"
                                                         << "no_new_privs"
                                                         << "";
    QTest::newRow("file capability") << "caps"
                                     << ""
                                     << "";
    QTest::newRow("root") << "root"
                          << ""
                          << "";
    QTest::newRow("set-user-id root") << "setuid"
                                      << ""
                                      << "";
    QTest::newRow("file capability, capset refused")
        << "caps"
        << "capset"
        << "cannot drop its capabilities 0x20000 (capset: Operation not permitted)";
    QTest::newRow("file capability, no_new_privs refused")
        << "caps"
        << "no_new_privs"
        << "cannot give up its privileges (no_new_privs: ";
    QTest::newRow("set-user-id root, setresuid refused")
        << "setuid"
        << "setresuid"
        << "cannot go back to its real user id 1000 (setresuid: ";
}

void TestPrivileges::startUp() {
    QFETCH(QString, start);
    QFETCH(QString, failing);
    QFETCH(QString, refusal);
    FakeProcess p;
    p.failing = failing;
    const bool root = start == QLatin1String("root") || start == QLatin1String("setuid");
    if (start == QLatin1String("caps"))
        p.caps.effective = p.caps.permitted = SysRawio;
    if (root) {
        p.caps.effective = p.caps.permitted = AllCaps;
        p.uids = start == QLatin1String("root") ? ProcessIds{0, 0, 0} : ProcessIds{1000, 0, 0};
    }

    const StartUpAccess access = TakePortsAndDropPrivileges(p, [&] {
        p.log << QStringLiteral("ports");
        return true;
    });

    QVERIFY(access.portsTaken);
    QCOMPARE(p.log.value(0), QStringLiteral("ports")); // before anything is given up
    QVERIFY2(QString::fromStdString(access.refusal).startsWith(refusal), access.refusal.c_str());
    if (!refusal.isEmpty())
        return;
    QCOMPARE(QString::fromStdString(access.refusal), QString());
    QVERIFY(p.caps.empty());
    QCOMPARE(p.noNewPrivs, failing.isEmpty());
    QCOMPARE(p.uids.real, start == QLatin1String("root") ? 0u : 1000u);
    QVERIFY(!p.uids.raised());
    // Only a process with CAP_SETPCAP can empty its bounding set.
    QCOMPARE(p.bounding, root ? std::uint64_t(0) : AllCaps);
    // The group goes first, while the process may still change it.
    QVERIFY(p.log.indexOf(QStringLiteral("setresgid")) <=
            p.log.indexOf(QStringLiteral("setresuid")));
}

QByteArray OwnStatus() {
    QFile status(QStringLiteral("/proc/self/status"));
    return status.open(QIODevice::ReadOnly) ? status.readAll() : QByteArray();
}

// A hexadecimal field of a /proc status ("CapEff"); -1 when missing.
qint64 Field(const QByteArray& status, const char* name) {
    const qsizetype at = status.indexOf('\n' + QByteArray(name) + ":\t");
    bool ok = false;
    const qint64 value =
        status.mid(at + qstrlen(name) + 3).split('\n').value(0).toLongLong(&ok, 16);
    return at >= 0 && ok ? value : -1;
}

// The real system calls, in a child process of this test: its /proc/self/status shows what is
// left. Only a process that has capabilities to give up (root, as in CI) shows anything.
void TestPrivileges::nothingLeftInProc() {
    const qint64 effective = Field(OwnStatus(), "CapEff");
    if (effective <= 0)
        QSKIP("this test process holds no capability to give up (it shows something as root)");
    QProcess child;
    child.start(QCoreApplication::applicationFilePath(), {QString::fromLatin1(ChildArgument)});
    QVERIFY(child.waitForFinished(60000));
    QCOMPARE(child.exitCode(), 0);
    const QByteArray status = child.readAllStandardOutput();
    QList<const char*> sets = {"CapInh", "CapPrm", "CapEff", "CapAmb"};
    if (effective & SetPcap)
        sets << "CapBnd";
    for (const char* set : sets)
        QVERIFY2(Field(status, set) == 0, set);
    QCOMPARE(Field(status, "NoNewPrivs"), 1);
}

int main(int argc, char* argv[]) {
    if (argc == 2 && qstrcmp(argv[1], ChildArgument) == 0) {
        // The child: the start-up's drop with the real calls (never the real port access), then
        // its status on stdout.
        const StartUpAccess access =
            TakePortsAndDropPrivileges(SystemPrivilegeCalls(), [] { return false; });
        const QByteArray out = access.refusal.empty() ? OwnStatus() : QByteArray();
        std::fwrite(out.constData(), 1, size_t(out.size()), stdout);
        std::fprintf(stderr, "%s\n", access.refusal.c_str());
        return access.refusal.empty() ? 0 : 1;
    }
    QCoreApplication app(argc, argv);
    TestPrivileges test;
    return QTest::qExec(&test, argc, argv);
}

// The launcher runs its child setup (main() passes the release of the keyboard ports) in the
// started program's process, before exec(), and reports a program that cannot start.
namespace {
const char* SetupMarker = nullptr;
void MarkSetup() {
    ::close(::open(SetupMarker, O_CREAT | O_WRONLY, 0600));
}
} // namespace

void TestPrivileges::startedProgramsRunTheChildSetup() {
    QTemporaryDir dir;
    const QByteArray marker = QFile::encodeName(dir.filePath(QStringLiteral("setup")));
    const QString ran = dir.filePath(QStringLiteral("ran"));
    SetupMarker = marker.constData();
    ProcessLauncher launcher(MarkSetup);
    QVERIFY(launcher.startDetached(QStringLiteral("sh"),
                                   {QStringLiteral("-c"), QStringLiteral("touch \"$0\""), ran}));
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(ran), 30000);
    QVERIFY(QFile::exists(QString::fromLocal8Bit(marker)));
    QVERIFY(!launcher.startDetached(dir.filePath(QStringLiteral("no-such-program")), {}));
}

#include "tst_privileges.moc"
