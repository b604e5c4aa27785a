// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

#include <memory>

namespace orv {

// Raw output to the PC's keyboard controller (port 0x60) and interrupt controller mask
// (port 0x21), through which the keyboard link reaches the decoder.
class PortAccess {
public:
    virtual ~PortAccess() = default;
    // True when port output is usable.
    virtual bool InitializeWinIo() = 0;
    // Writes `size` bytes (always 1 here) of value to port; true on success.
    virtual bool SetPortVal(quint32 port, quint32 value, quint8 size) = 0;
    // Releases port access; safe after a failed InitializeWinIo.
    virtual void ShutdownWinIo() = 0;
};

constexpr quint32 KeyboardDataPort = 0x60;
constexpr quint32 InterruptMaskPort = 0x21;

// Port access for when the platform gives none: every operation fails.
class UnavailablePortAccess : public PortAccess {
public:
    bool InitializeWinIo() override { return false; }
    bool SetPortVal(quint32, quint32, quint8) override { return false; }
    void ShutdownWinIo() override {}
};

// Asks the system for output to the two ports (x86 Linux: ioperm, which needs root or
// CAP_SYS_RAWIO); true when granted. main() calls it once, before it gives up its privileges.
bool TakeKeyboardPorts();

// Gives up the access to the two ports. Port access survives fork() and exec(), so a program
// this one starts calls it in the child before exec(); it only makes system calls, as a child
// of a threaded process may.
void ReleaseKeyboardPorts();

// The port access of this machine: raw x86 port output on Linux with the access that
// TakeKeyboardPorts() granted (`portsTaken`), otherwise the unavailable backend. Only main()
// creates it.
std::unique_ptr<PortAccess> CreateHardwarePortAccess(bool portsTaken);

} // namespace orv
