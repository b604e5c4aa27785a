#include "portaccess.h"

#if defined(__linux__) && (defined(__x86_64__) || defined(__i386__))
#include <sys/io.h>
#define ORV_HAVE_X86_PORTS 1
#endif

namespace orv {

#ifdef ORV_HAVE_X86_PORTS
namespace {

// ioperm()/outb() on the two ports the keyboard link writes. Access is asked for each port
// separately, so nothing else of the I/O space is opened to the process.
class X86LinuxPortAccess : public PortAccess {
public:
    bool InitializeWinIo() override {
        if (open_)
            return true;
        if (ioperm(KeyboardDataPort, 1, 1) != 0)
            return false;
        if (ioperm(InterruptMaskPort, 1, 1) != 0) {
            ioperm(KeyboardDataPort, 1, 0);
            return false;
        }
        open_ = true;
        return true;
    }

    bool SetPortVal(quint32 port, quint32 value, quint8 size) override {
        if (!open_ || size != 1 || (port != KeyboardDataPort && port != InterruptMaskPort))
            return false;
        outb(static_cast<unsigned char>(value & 0xFF), static_cast<unsigned short>(port));
        return true;
    }

    void ShutdownWinIo() override {
        if (!open_)
            return;
        ioperm(KeyboardDataPort, 1, 0);
        ioperm(InterruptMaskPort, 1, 0);
        open_ = false;
    }

private:
    bool open_ = false;
};

} // namespace
#endif

std::unique_ptr<PortAccess> CreateHardwarePortAccess() {
#ifdef ORV_HAVE_X86_PORTS
    return std::make_unique<X86LinuxPortAccess>();
#else
    return std::make_unique<UnavailablePortAccess>();
#endif
}

} // namespace orv
