#include "linkexchanges.h"

#include "link/exchange/configexchanges.h"
#include "link/exchange/firmwareexchange.h"
#include "link/exchange/memoryexchanges.h"

namespace orv {

// The exchanges themselves live in the link library; these makers only put them on a port.

namespace {

SerialTarget TargetOf(const PortTarget& t) {
    return {t.port, t.settings, t.comPort};
}

} // namespace

std::unique_ptr<Exchange> MakeDownloadExchange(const PortTarget& target, const Image& image,
                                               bool save, const LinkTiming& timing) {
    return std::make_unique<DownloadExchange>(TargetOf(target), image, save, timing);
}

std::unique_ptr<Exchange> MakeUploadExchange(const PortTarget& target, UploadRequest request,
                                             const LinkTiming& timing) {
    return std::make_unique<UploadExchange>(TargetOf(target), request, timing);
}

std::unique_ptr<Exchange> MakeReadMemoryExchange(const PortTarget& target,
                                                 const LinkTiming& timing) {
    return std::make_unique<ReadMemoryExchange>(TargetOf(target), timing);
}

std::unique_ptr<Exchange> MakeClearMemoryExchange(const PortTarget& target,
                                                  const LinkTiming& timing) {
    return std::make_unique<ClearMemoryExchange>(TargetOf(target), timing);
}

std::unique_ptr<Exchange> MakeFirmwareExchange(const PortTarget& target, const QByteArray& image,
                                               const LinkTiming& timing) {
    return std::make_unique<FirmwareExchange>(TargetOf(target), image, timing);
}

} // namespace orv
