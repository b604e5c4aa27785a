// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "privileges.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#ifdef __linux__
#include <linux/capability.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <unistd.h>
#endif

namespace orv {

namespace {

std::string Failure(const char* call, int error) {
    return std::string(call) + ": " + std::strerror(error);
}

std::string Hex(std::uint64_t bits) {
    char text[24];
    std::snprintf(text, sizeof text, "0x%llx", static_cast<unsigned long long>(bits));
    return text;
}

#ifdef __linux__
class LinuxPrivilegeCalls : public PrivilegeCalls {
public:
    ProcessIds userIds() override {
        uid_t r = 0, e = 0, s = 0;
        ::getresuid(&r, &e, &s);
        return {r, e, s};
    }
    ProcessIds groupIds() override {
        gid_t r = 0, e = 0, s = 0;
        ::getresgid(&r, &e, &s);
        return {r, e, s};
    }
    int setUserIds(unsigned id) override { return Result(::setresuid(id, id, id)); }
    int setGroupIds(unsigned id) override { return Result(::setresgid(id, id, id)); }

    // capget() and capset() are called directly, so that the program needs no capability
    // library; version 3 passes each set as two 32-bit words.
    int readCapabilities(CapabilitySets& sets) override {
        __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
        __user_cap_data_struct data[2] = {};
        if (::syscall(SYS_capget, &header, data) != 0)
            return errno;
        const auto join = [](std::uint32_t low, std::uint32_t high) {
            return (std::uint64_t(high) << 32) | low;
        };
        sets.effective = join(data[0].effective, data[1].effective);
        sets.permitted = join(data[0].permitted, data[1].permitted);
        sets.inheritable = join(data[0].inheritable, data[1].inheritable);
        return 0;
    }
    int writeCapabilities(const CapabilitySets& sets) override {
        __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
        __user_cap_data_struct data[2] = {};
        for (int word = 0; word < 2; ++word) {
            const int shift = 32 * word;
            data[word].effective = std::uint32_t(sets.effective >> shift);
            data[word].permitted = std::uint32_t(sets.permitted >> shift);
            data[word].inheritable = std::uint32_t(sets.inheritable >> shift);
        }
        return Result(int(::syscall(SYS_capset, &header, data)));
    }
    int inBoundingSet(int cap) override { return ::prctl(PR_CAPBSET_READ, cap, 0, 0, 0); }
    int dropFromBoundingSet(int cap) override {
        return Result(::prctl(PR_CAPBSET_DROP, cap, 0, 0, 0));
    }
    int clearAmbient() override {
        return Result(::prctl(PR_CAP_AMBIENT, PR_CAP_AMBIENT_CLEAR_ALL, 0, 0, 0));
    }
    int setNoNewPrivileges() override { return Result(::prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0)); }

private:
    static int Result(int rc) { return rc == 0 ? 0 : errno; }
};
#else
// No capabilities and no saved ids to give up here.
class LinuxPrivilegeCalls : public PrivilegeCalls {
public:
    ProcessIds userIds() override { return {}; }
    ProcessIds groupIds() override { return {}; }
    int setUserIds(unsigned) override { return 0; }
    int setGroupIds(unsigned) override { return 0; }
    int readCapabilities(CapabilitySets& sets) override {
        sets = {};
        return 0;
    }
    int writeCapabilities(const CapabilitySets&) override { return 0; }
    int inBoundingSet(int) override { return -1; }
    int dropFromBoundingSet(int) override { return 0; }
    int clearAmbient() override { return 0; }
    int setNoNewPrivileges() override { return 0; }
};
#endif

} // namespace

PrivilegeCalls& SystemPrivilegeCalls() {
    static LinuxPrivilegeCalls calls;
    return calls;
}

namespace {

// Goes back to the real group and user ids where they were raised; why not, if it cannot.
std::string GoBackToRealIds(PrivilegeCalls& calls, const ProcessIds& uids, const ProcessIds& gids) {
    // The group first: once the user id is no longer root, the group ids cannot change.
    if (gids.raised()) {
        if (const int e = calls.setGroupIds(gids.real))
            return "cannot go back to its real group id " + std::to_string(gids.real) + " (" +
                   Failure("setresgid", e) + ")";
    }
    if (uids.raised()) {
        if (const int e = calls.setUserIds(uids.real))
            return "cannot go back to its real user id " + std::to_string(uids.real) + " (" +
                   Failure("setresuid", e) + ")";
    }
    return {};
}

} // namespace

StartUpAccess TakePortsAndDropPrivileges(PrivilegeCalls& calls,
                                         const std::function<bool()>& takePorts) {
    StartUpAccess result;
    result.portsTaken = takePorts();

    CapabilitySets start;
    if (const int e = calls.readCapabilities(start)) {
        result.refusal = "cannot read its capabilities (" + Failure("capget", e) + ")";
        return result;
    }
    const ProcessIds uids = calls.userIds();
    const ProcessIds gids = calls.groupIds();
    const bool raised = !start.empty() || uids.raised() || gids.raised();

    // The bounding set first, while CAP_SETPCAP may still be effective. Without it the set
    // cannot shrink; no_new_privs then keeps execve() from granting what it holds.
    for (int cap = 0; cap < 64; ++cap) {
        const int held = calls.inBoundingSet(cap);
        if (held < 0)
            break;
        if (held == 1)
            calls.dropFromBoundingSet(cap);
    }
    if (const int e = calls.setNoNewPrivileges(); e && raised) {
        result.refusal = "cannot give up its privileges (" + Failure("no_new_privs", e) + ")";
        return result;
    }
    result.refusal = GoBackToRealIds(calls, uids, gids);
    if (!result.refusal.empty())
        return result;
    // The ambient set can only hold what is both permitted and inheritable: emptying those
    // empties it too, also on kernels that cannot clear it by itself.
    calls.clearAmbient();
    const int writeError = calls.writeCapabilities(CapabilitySets{});

    CapabilitySets now;
    if (const int e = calls.readCapabilities(now)) {
        result.refusal = "cannot read its capabilities (" + Failure("capget", e) + ")";
        return result;
    }
    if (!now.empty()) {
        const std::string why =
            writeError ? Failure("capset", writeError) : std::string("they stayed after capset");
        result.refusal = "cannot drop its capabilities " +
                         Hex(now.effective | now.permitted | now.inheritable) + " (" + why + ")";
        return result;
    }
    if (calls.userIds().raised() || calls.groupIds().raised())
        result.refusal = "still runs with another user or group id than the one that started it";
    return result;
}

} // namespace orv
