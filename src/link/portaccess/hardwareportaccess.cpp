// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "portaccess.h"

#if defined(__linux__) && (defined(__x86_64__) || defined(__i386__))
#include <sys/io.h>
#define ORV_HAVE_X86_PORTS 1
#endif

namespace orv {

#ifdef ORV_HAVE_X86_PORTS
namespace {

// outb() on the two ports the keyboard link writes, with the access main() took before it gave
// up its privileges. Asking again later needs CAP_SYS_RAWIO, which the process no longer has
// then: once released, the access stays released.
class X86LinuxPortAccess : public PortAccess {
public:
    explicit X86LinuxPortAccess(bool taken) : open_(taken) {}

    // What main() took; asking again could only fail, as the privilege is gone by then.
    bool InitializeWinIo() override { return open_; }

    bool SetPortVal(quint32 port, quint32 value, quint8 size) override {
        if (!open_ || size != 1 || (port != KeyboardDataPort && port != InterruptMaskPort))
            return false;
        outb(static_cast<unsigned char>(value & 0xFF), static_cast<unsigned short>(port));
        return true;
    }

    void ShutdownWinIo() override {
        if (!open_)
            return;
        ReleaseKeyboardPorts();
        open_ = false;
    }

private:
    bool open_ = false;
};

} // namespace
#endif

bool TakeKeyboardPorts() {
#ifdef ORV_HAVE_X86_PORTS
    // Access is asked for each port separately, so nothing else of the I/O space is opened.
    if (ioperm(KeyboardDataPort, 1, 1) != 0)
        return false;
    if (ioperm(InterruptMaskPort, 1, 1) != 0) {
        ioperm(KeyboardDataPort, 1, 0);
        return false;
    }
    return true;
#else
    return false;
#endif
}

void ReleaseKeyboardPorts() {
#ifdef ORV_HAVE_X86_PORTS
    ioperm(KeyboardDataPort, 1, 0);
    ioperm(InterruptMaskPort, 1, 0);
#endif
}

std::unique_ptr<PortAccess> CreateHardwarePortAccess(bool portsTaken) {
#ifdef ORV_HAVE_X86_PORTS
    return std::make_unique<X86LinuxPortAccess>(portsTaken);
#else
    Q_UNUSED(portsTaken);
    return std::make_unique<UnavailablePortAccess>();
#endif
}

} // namespace orv
