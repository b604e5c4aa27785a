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
    return row ? row->make(config_, services_, row->info, mainWindow) : nullptr;
}

ChildWindow* WindowFactory::createFirmwareWindow(QWidget* mainWindow) {
    const WindowRow& row = FirmwareWindowRow();
    return row.make(config_, services_, row.info, mainWindow);
}

QDialog* WindowFactory::createTestWindow(QWidget* mainWindow) {
    auto* ddt = new Ddt(config_, services_.dialogs, services_.serialPorts, mainWindow);
    ddt->setReceptionWaitMsecs(services_.timing.receptionWaitMsecs);
    ddt->load();
    return ddt;
}

} // namespace orv
