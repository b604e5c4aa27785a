#include "windowfactory.h"

#include "placeholderwindow.h"

#include "core/config.h"
#include "ui/windowspec.h"

namespace orv {

ChildWindow* WindowFactory::createChild(int number, QWidget* mainWindow) {
    const WindowSpec* spec = FindWindowSpec(number);
    if (!spec)
        return nullptr;
    switch (number) {
    default:
        return new PlaceholderWindow(config_, *spec, mainWindow);
    }
}

ChildWindow* WindowFactory::createFirmwareWindow(QWidget* mainWindow) {
    return new PlaceholderWindow(config_, FirmwareWindowSpec(), mainWindow);
}

QDialog* WindowFactory::createTestWindow(QWidget* mainWindow) {
    return new PlaceholderDialog(QStringLiteral("DDT"), QStringLiteral("Keyboard_RS232 Test"),
                                 mainWindow);
}

} // namespace orv
