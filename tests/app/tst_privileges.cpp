// The start-up takes the keyboard link's port access and then gives up every privilege: first
// with a fake process (capabilities, ids, calls that fail), then for real in a child process,
// whose /proc/self/status must show nothing left.

#include "app/privileges.h"

#include <QFile>
#include <QProcess>
#include <QTest>

#include <cerrno>
#include <cstdio>

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
    ProcessIds uids{1000, 1000, 1000};
    ProcessIds gids{100, 100, 100};
    bool noNewPrivs = false;
    int failCapset = 0, failSetresuid = 0, failNoNewPrivs = 0; // errno to fail with
    QStringList log;

    ProcessIds userIds() override { return uids; }
    ProcessIds groupIds() override { return gids; }
    int setUserIds(unsigned id) override {
        log << QStringLiteral("setresuid %1").arg(id);
        if (failSetresuid)
            return failSetresuid;
        if (uids.effective == 0 && id != 0)
            caps.effective = caps.permitted = 0; // root gone: so are its capabilities
        uids = {id, id, id};
        return 0;
    }
    int setGroupIds(unsigned id) override {
        log << QStringLiteral("setresgid %1").arg(id);
        gids = {id, id, id};
        return 0;
    }
    int readCapabilities(CapabilitySets& sets) override {
        sets = caps;
        return 0;
    }
    int writeCapabilities(const CapabilitySets& sets) override {
        log << QStringLiteral("capset");
        if (failCapset)
            return failCapset;
        caps = sets;
        return 0;
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
        if (failNoNewPrivs)
            return failNoNewPrivs;
        noNewPrivs = true;
        return 0;
    }
};

// Runs the start-up on `process`; the port access is granted when `portsGranted`, and its
// request is logged.
StartUpAccess Start(FakeProcess& process, bool portsGranted = true) {
    return TakePortsAndDropPrivileges(process, [&] {
        process.log << QStringLiteral("ports");
        return portsGranted;
    });
}

QMap<QString, QString> StatusFields(const QByteArray& status) {
    QMap<QString, QString> fields;
    for (const QByteArray& line : status.split('\n')) {
        const qsizetype colon = line.indexOf(':');
        if (colon > 0)
            fields[QString::fromLatin1(line.left(colon))] =
                QString::fromLatin1(line.mid(colon + 1).trimmed());
    }
    return fields;
}

const char* const ChildArgument = "--drop-and-show-status";

} // namespace

class TestPrivileges : public QObject {
    Q_OBJECT
private slots:
    void startUp_data();
    void startUp();
    void nothingLeftInProc();
};

void TestPrivileges::startUp_data() {
    QTest::addColumn<QString>("start");   // "user", "caps" (file capability), "root", "setuid"
    QTest::addColumn<QString>("fault");   // "", "capset", "setresuid", "no_new_privs"
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
    QTest::newRow("root, capset refused") << "root"
                                          << "capset"
                                          << "cannot drop its capabilities";
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
    QFETCH(QString, fault);
    QFETCH(QString, refusal);
    FakeProcess p;
    if (start == QLatin1String("caps")) {
        p.caps.effective = p.caps.permitted = SysRawio;
    } else if (start == QLatin1String("root") || start == QLatin1String("setuid")) {
        p.caps.effective = p.caps.permitted = AllCaps;
        p.uids = start == QLatin1String("root") ? ProcessIds{0, 0, 0} : ProcessIds{1000, 0, 0};
    }
    if (fault == QLatin1String("capset"))
        p.failCapset = EPERM;
    else if (fault == QLatin1String("setresuid"))
        p.failSetresuid = EPERM;
    else if (fault == QLatin1String("no_new_privs"))
        p.failNoNewPrivs = EINVAL;

    const StartUpAccess access = Start(p);

    QVERIFY(access.portsTaken);
    // The ports are asked for before anything is given up.
    QCOMPARE(p.log.value(0), QStringLiteral("ports"));
    if (!refusal.isEmpty()) {
        QVERIFY2(QString::fromStdString(access.refusal).startsWith(refusal),
                 access.refusal.c_str());
        return;
    }
    QCOMPARE(QString::fromStdString(access.refusal), QString());
    QVERIFY(p.caps.empty());
    QCOMPARE(p.noNewPrivs, fault.isEmpty());
    QVERIFY(!p.uids.raised());
    QCOMPARE(p.uids.real, start == QLatin1String("root") ? 0u : 1000u);
    // Only a process with CAP_SETPCAP can empty its bounding set.
    QCOMPARE(p.bounding, start == QLatin1String("root") || start == QLatin1String("setuid")
                             ? std::uint64_t(0)
                             : AllCaps);
    if (start == QLatin1String("setuid")) {
        // The group goes first, while the process may still change it.
        QVERIFY(p.log.indexOf(QStringLiteral("setresgid 100")) <
                p.log.indexOf(QStringLiteral("setresuid 1000")));
    }
}

// The real system calls, in a child process of this test: its /proc/self/status shows what is
// left. Only a process that has capabilities to give up (root, as in CI) shows anything.
void TestPrivileges::nothingLeftInProc() {
    QFile own(QStringLiteral("/proc/self/status"));
    QVERIFY(own.open(QIODevice::ReadOnly));
    const QMap<QString, QString> mine = StatusFields(own.readAll());
    if (mine.value(QStringLiteral("CapEff"), QStringLiteral("0")).toULongLong(nullptr, 16) == 0)
        QSKIP("this test process holds no capability to give up (it shows something as root)");

    QProcess child;
    child.start(QCoreApplication::applicationFilePath(), {QString::fromLatin1(ChildArgument)});
    QVERIFY(child.waitForFinished(60000));
    QCOMPARE(child.exitCode(), 0);
    const QMap<QString, QString> status = StatusFields(child.readAllStandardOutput());
    for (const char* set : {"CapInh", "CapPrm", "CapEff", "CapAmb"})
        QCOMPARE(status.value(QLatin1String(set)), QStringLiteral("0000000000000000"));
    QCOMPARE(status.value(QStringLiteral("NoNewPrivs")), QStringLiteral("1"));
    const bool hadSetPcap = mine.value(QStringLiteral("CapEff")).toULongLong(nullptr, 16) & SetPcap;
    if (hadSetPcap)
        QCOMPARE(status.value(QStringLiteral("CapBnd")), QStringLiteral("0000000000000000"));
}

int main(int argc, char* argv[]) {
    if (argc == 2 && qstrcmp(argv[1], ChildArgument) == 0) {
        // The child: the start-up's drop with the real calls (never the real port access), then
        // its status on stdout.
        const StartUpAccess access =
            TakePortsAndDropPrivileges(SystemPrivilegeCalls(), [] { return false; });
        if (!access.refusal.empty()) {
            std::fprintf(stderr, "%s\n", access.refusal.c_str());
            return 1;
        }
        QFile status(QStringLiteral("/proc/self/status"));
        if (!status.open(QIODevice::ReadOnly))
            return 2;
        const QByteArray text = status.readAll();
        std::fwrite(text.constData(), 1, size_t(text.size()), stdout);
        return 0;
    }
    QCoreApplication app(argc, argv);
    TestPrivileges test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_privileges.moc"
