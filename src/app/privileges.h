// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace orv {

// The three capability sets of the calling thread, one bit per capability (bit n = capability
// n), as capget() and capset() exchange them.
struct CapabilitySets {
    std::uint64_t effective = 0;
    std::uint64_t permitted = 0;
    std::uint64_t inheritable = 0;

    bool empty() const { return (effective | permitted | inheritable) == 0; }
};

// Real, effective and saved user or group id.
struct ProcessIds {
    unsigned real = 0;
    unsigned effective = 0;
    unsigned saved = 0;

    bool raised() const { return effective != real || saved != real; }
};

// The system calls with which the start-up gives up privileges. SystemPrivilegeCalls() makes
// them; tests hand in a fake. Every int result is 0 on success, else the errno value.
class PrivilegeCalls {
public:
    virtual ~PrivilegeCalls() = default;
    virtual ProcessIds userIds() = 0;
    virtual ProcessIds groupIds() = 0;
    virtual int setUserIds(unsigned id) = 0;  // setresuid(id, id, id)
    virtual int setGroupIds(unsigned id) = 0; // setresgid(id, id, id)
    virtual int readCapabilities(CapabilitySets& sets) = 0;
    virtual int writeCapabilities(const CapabilitySets& sets) = 0;
    // 1 when capability `cap` is in the bounding set, 0 when not, -1 past the last capability
    // the kernel knows.
    virtual int inBoundingSet(int cap) = 0;
    virtual int dropFromBoundingSet(int cap) = 0;
    virtual int clearAmbient() = 0;
    virtual int setNoNewPrivileges() = 0;
};

// The calls of this process (Linux); elsewhere they report a process without privileges.
PrivilegeCalls& SystemPrivilegeCalls();

struct StartUpAccess {
    bool portsTaken = false; // the keyboard link's port access was granted
    std::string refusal;     // why the program must not start; empty when it may
};

// Takes the keyboard link's port access (`takePorts`, which needs root or CAP_SYS_RAWIO) and
// then gives up every privilege for good:
// - the bounding set is emptied where the process may (it needs CAP_SETPCAP), and
//   no_new_privs is set, so no later execve() grants a capability or a set-id;
// - a set-user-id or set-group-id start goes back to the real user and group ids;
// - the ambient, inheritable, permitted and effective sets are emptied.
// The result refuses the start when a capability or another id is still held afterwards.
//
// Run it first thing in main(), while the process has a single thread: capabilities belong to
// each thread, and nothing the toolkit loads (plugins from QT_PLUGIN_PATH) may run with them.
StartUpAccess TakePortsAndDropPrivileges(PrivilegeCalls& calls,
                                         const std::function<bool()>& takePorts);

} // namespace orv
