// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "windowfactory.h"

#include "windowregistry.h"

#include "core/config.h"
#include "link/serial/serialport.h"
#include "link/windows/ddt.h"

namespace orv {

ChildWindow* WindowFactory::createChild(int number, QWidget* mainWindow) {
    const WindowRow* row = FindWindowRow(number);
    return row ? row->make(context(), *row, mainWindow) : nullptr;
}

WindowContext WindowFactory::context() {
    return {config_, services_.dialogs, linkServices()};
}

LinkServices WindowFactory::linkServices() {
    static NoSerialPorts noSerialPorts;
    SerialPortFactory& serial = services_.serialPorts ? *services_.serialPorts : noSerialPorts;
    return {services_.dialogs, services_.portAccess, serial};
}

ChildWindow* WindowFactory::createFirmwareWindow(QWidget* mainWindow) {
    const WindowRow& row = FirmwareWindowRow();
    return row.make(context(), row, mainWindow);
}

QDialog* WindowFactory::createTestWindow(QWidget* mainWindow) {
    const LinkServices link = linkServices();
    auto* ddt = new Ddt(config_, link.dialogs, link.serialPorts, mainWindow);
    ddt->setReceptionWaitMsecs(link.timing.receptionWaitMsecs);
    ddt->load();
    return ddt;
}

} // namespace orv
