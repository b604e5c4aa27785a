#include "windowfactory.h"

#include "placeholderwindow.h"

#include "core/config.h"
#include "link/frmtransmit.h"
#include "link/serial/serialport.h"
#include "ui/windowspec.h"

namespace orv {

ChildWindow* WindowFactory::createChild(int number, QWidget* mainWindow) {
    const WindowSpec* spec = FindWindowSpec(number);
    if (!spec)
        return nullptr;
    switch (number) {
    case PanelTransmit:
        return new FrmTransmit(config_, *spec, linkServices(), mainWindow);
    default:
        return new PlaceholderWindow(config_, *spec, mainWindow);
    }
}

LinkServices WindowFactory::linkServices() {
    static NoSerialPorts noSerialPorts;
    SerialPortFactory& serial = services_.serialPorts ? *services_.serialPorts : noSerialPorts;
    return {services_.dialogs, services_.portAccess, serial};
}

ChildWindow* WindowFactory::createFirmwareWindow(QWidget* mainWindow) {
    return new PlaceholderWindow(config_, FirmwareWindowSpec(), mainWindow);
}

QDialog* WindowFactory::createTestWindow(QWidget* mainWindow) {
    return new PlaceholderDialog(QStringLiteral("DDT"), QStringLiteral("Keyboard_RS232 Test"),
                                 mainWindow);
}

} // namespace orv
