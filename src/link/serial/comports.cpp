// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "comports.h"

#include <QDir>
#include <QFileInfo>
#include <QSerialPortInfo>

#include <algorithm>

namespace orv {

namespace {

// Name order with numbers compared as numbers: ttyS2 before ttyS10.
bool NameBefore(const QString& a, const QString& b) {
    auto split = [](const QString& name) {
        qsizetype digits = name.size();
        while (digits > 0 && name[digits - 1].isDigit())
            --digits;
        return std::pair{name.left(digits), name.mid(digits).toULongLong()};
    };
    const auto ka = split(a);
    const auto kb = split(b);
    if (ka != kb)
        return ka < kb;
    return a < b;
}

} // namespace

QList<SerialDevice> SystemSerialDevices() {
    QList<SerialDevice> out;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
        const QString name = info.portName();
        const bool usb = info.hasVendorIdentifier() || name.startsWith(QLatin1String("ttyUSB")) ||
                         name.startsWith(QLatin1String("ttyACM"));
        out.append({name, info.systemLocation(), usb});
    }
    return out;
}

QString ComLinkPath(const QString& configDir, int number) {
    return QDir(configDir).filePath(QStringLiteral("com%1").arg(number));
}

std::optional<QString> LinkedComDevice(int number, const QString& configDir) {
    if (number < 1 || configDir.isEmpty())
        return std::nullopt;
    const QFileInfo link(ComLinkPath(configDir, number));
    // A link whose device is gone still names it: opening then fails, rather than reaching
    // some other port of the machine.
    if (link.isSymLink())
        return link.symLinkTarget();
    if (link.exists())
        return link.absoluteFilePath();
    return std::nullopt;
}

QString ListedComDevice(int number, QList<SerialDevice> devices) {
    if (number < 1 || number > devices.size())
        return {};
    std::stable_sort(devices.begin(), devices.end(),
                     [](const SerialDevice& a, const SerialDevice& b) {
                         if (a.usb != b.usb)
                             return a.usb;
                         return NameBefore(a.portName, b.portName);
                     });
    return devices[number - 1].systemLocation;
}

QString DeviceForComPort(int number, const QString& configDir, QList<SerialDevice> devices) {
    if (const auto linked = LinkedComDevice(number, configDir))
        return *linked;
    return ListedComDevice(number, std::move(devices));
}

} // namespace orv
