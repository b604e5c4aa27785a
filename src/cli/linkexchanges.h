#pragma once

#include "core/config.h"
#include "link/exchange/exchange.h"

#include <QByteArray>
#include <QString>

#include <memory>

namespace orv {

class SerialPort;

// The serial port an exchange runs on, with the line settings and the "Com N" number its
// messages name.
struct PortTarget {
    SerialPort& port;
    QString settings; // "9600,N,8,1 "
    int comPort = 1;
};

// The RS232 exchanges orvctl runs, made for one port.
std::unique_ptr<Exchange> MakeDownloadExchange(const PortTarget& target, const Image& image,
                                               bool save, const LinkTiming& timing);
std::unique_ptr<Exchange> MakeUploadExchange(const PortTarget& target, UploadRequest request,
                                             const LinkTiming& timing);
std::unique_ptr<Exchange> MakeReadMemoryExchange(const PortTarget& target,
                                                 const LinkTiming& timing);
std::unique_ptr<Exchange> MakeClearMemoryExchange(const PortTarget& target,
                                                  const LinkTiming& timing);
std::unique_ptr<Exchange> MakeFirmwareExchange(const PortTarget& target, const QByteArray& image,
                                               const LinkTiming& timing);

} // namespace orv
