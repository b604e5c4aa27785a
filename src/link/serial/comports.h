// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>

#include <optional>

namespace orv {

// A serial device of this machine.
struct SerialDevice {
    QString portName;       // "ttyUSB0"
    QString systemLocation; // "/dev/ttyUSB0"
    bool usb = false;       // a USB adapter or ACM modem
};

// The serial devices QSerialPortInfo lists.
QList<SerialDevice> SystemSerialDevices();

// The path of the link "comN" in the per-user configuration folder.
QString ComLinkPath(const QString& configDir, int number);

// The device that "Com N" stands for: the target of the link comN in configDir when that link
// exists; otherwise the N-th of the listed devices, USB adapters first, then the others, each
// group in name order. Empty when there is no such device.
QString DeviceForComPort(int number, const QString& configDir, QList<SerialDevice> devices);

// The two halves of that: the device of the link comN (nothing when there is no link), and the
// N-th listed device.
std::optional<QString> LinkedComDevice(int number, const QString& configDir);
QString ListedComDevice(int number, QList<SerialDevice> devices);

} // namespace orv
