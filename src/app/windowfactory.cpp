#include "windowfactory.h"

#include "core/config.h"
#include "link/ddt.h"
#include "link/frmisp.h"
#include "link/frmreadmemory.h"
#include "link/frmtransmit.h"
#include "link/serial/serialport.h"
#include "panels/bar/barcodespanel.h"
#include "panels/bar/barcommpanel.h"
#include "panels/bar/barinterfacepanel.h"
#include "panels/bar/barmiscpanel.h"
#include "panels/mag/magcommpanel.h"
#include "panels/mag/maginterfacepanel.h"
#include "panels/mag/magmiscpanel.h"
#include "ui/windowinfo.h"

namespace orv {

ChildWindow* WindowFactory::createChild(int number, QWidget* mainWindow) {
    const WindowInfo* info = FindWindowInfo(number);
    if (!info)
        return nullptr;
    switch (number) {
    case PanelCfg3:
        return new BarInterfacePanel(config_, *info, mainWindow);
    case PanelCfg4:
        return new BarCommPanel(config_, *info, mainWindow);
    case PanelCfg5:
        return new BarCodesPanel(config_, *info, mainWindow);
    case PanelCfg6:
        return new BarMiscPanel(config_, services_.dialogs, *info, mainWindow);
    case PanelTransmit:
        return new FrmTransmit(config_, *info, linkServices(), mainWindow);
    case PanelMagCfg4:
        return new MagCommPanel(config_, *info, mainWindow);
    case PanelMagCfg6:
        return new MagMiscPanel(config_, *info, mainWindow);
    case PanelMagCfg3:
        return new MagInterfacePanel(config_, *info, mainWindow);
    case PanelReadMemory:
        return new FrmReadMemory(config_, *info, linkServices(), mainWindow);
    default:
        return nullptr;
    }
}

LinkServices WindowFactory::linkServices() {
    static NoSerialPorts noSerialPorts;
    SerialPortFactory& serial = services_.serialPorts ? *services_.serialPorts : noSerialPorts;
    return {services_.dialogs, services_.portAccess, serial};
}

ChildWindow* WindowFactory::createFirmwareWindow(QWidget* mainWindow) {
    return new FrmIsp(config_, FirmwareWindowInfo(), linkServices(), mainWindow);
}

QDialog* WindowFactory::createTestWindow(QWidget* mainWindow) {
    const LinkServices link = linkServices();
    auto* ddt = new Ddt(config_, link.dialogs, link.serialPorts, mainWindow);
    ddt->setReceptionWaitMsecs(link.timing.receptionWaitMsecs);
    ddt->load();
    return ddt;
}

} // namespace orv
