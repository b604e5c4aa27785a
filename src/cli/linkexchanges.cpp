#include "linkexchanges.h"

namespace orv {

// The exchanges themselves live in the link library; these makers only put them on a port.

std::unique_ptr<Exchange> MakeDownloadExchange(const PortTarget&, const Image&, bool,
                                               const LinkTiming&) {
    return nullptr;
}

std::unique_ptr<Exchange> MakeUploadExchange(const PortTarget&, UploadRequest, const LinkTiming&) {
    return nullptr;
}

std::unique_ptr<Exchange> MakeReadMemoryExchange(const PortTarget&, const LinkTiming&) {
    return nullptr;
}

std::unique_ptr<Exchange> MakeClearMemoryExchange(const PortTarget&, const LinkTiming&) {
    return nullptr;
}

std::unique_ptr<Exchange> MakeFirmwareExchange(const PortTarget&, const QByteArray&,
                                               const LinkTiming&) {
    return nullptr;
}

bool HasExchange(const QString&) {
    return false;
}

} // namespace orv
