#pragma once

#include "core/config.h"

#include <QHash>
#include <QList>

namespace orv::test {

// Stands in for the main window where a test builds a child window on its own.
class FakeShell : public Shell {
public:
    void closeWindow(int panelNumber) override { closed.append(panelNumber); }
    void closeFirmwareWindow() override { ++firmwareCloses; }
    void showModeButtons(bool magMode) override { modeButtons.append(magMode); }
    void setMenuChecked(const QString& item, bool on) override { checked[item] = on; }
    void setMenuEnabled(const QString& item, bool on) override { enabled[item] = on; }

    bool isChecked(const QString& item) const { return checked.value(item, false); }
    bool isEnabled(const QString& item) const { return enabled.value(item, true); }

    QList<int> closed;
    int firmwareCloses = 0;
    QList<bool> modeButtons;
    QHash<QString, bool> checked;
    QHash<QString, bool> enabled;
};

} // namespace orv::test
