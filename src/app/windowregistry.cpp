// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "windowregistry.h"

#include "core/config.h"
#include "link/frmisp.h"
#include "link/frmreadmemory.h"
#include "link/frmtransmit.h"
#include "panels/bar/barcodespanel.h"
#include "panels/bar/barcommpanel.h"
#include "panels/bar/barinterfacepanel.h"
#include "panels/bar/barmiscpanel.h"
#include "panels/mag/magcommpanel.h"
#include "panels/mag/maginterfacepanel.h"
#include "panels/mag/magmiscpanel.h"

#include <QKeySequence>

#include <algorithm>

namespace orv {

namespace {

template <class Panel>
ChildWindow* MakePanel(const WindowContext& context, const WindowInfo& info, QWidget* parent) {
    return new Panel(context.config, info, parent);
}

// The bar decoder's miscellaneous panel reports refused identifier characters.
ChildWindow* MakeBarMiscPanel(const WindowContext& context, const WindowInfo& info,
                              QWidget* parent) {
    return new BarMiscPanel(context.config, context.dialogs, info, parent);
}

template <class Window>
ChildWindow* MakeLinkWindow(const WindowContext& context, const WindowInfo& info, QWidget* parent) {
    return new Window(context.config, info, context.link, parent);
}

constexpr int CtrlF(Qt::Key key) {
    return (Qt::CTRL | key).toCombined();
}

constexpr const char* BarDefault = "mnuConfigDefault";
constexpr const char* MagDefault = "mnuMagDefault";

// number, object name, caption, menu item, checks it, Set All Default item it disables, maximised;
// menu caption, shortcut, Magnic_Reader menu item, toolbar key, command set, counterpart, shows
// the image, how it is made.
const WindowRow Rows[] = {
    {{PanelCfg3, "cfg3", QT_TRANSLATE_NOOP("orv::WindowRegistry", "Interface"),
      "mnuConfigInterface", true, BarDefault, false},
     QT_TRANSLATE_NOOP("orv::WindowRegistry", "&Interface"),
     CtrlF(Qt::Key_F3),
     nullptr,
     "irm",
     CommandSet::Bar,
     PanelMagCfg3,
     true,
     MakePanel<BarInterfacePanel>},
    {{PanelCfg4, "cfg4", QT_TRANSLATE_NOOP("orv::WindowRegistry", "Communication Parameters"),
      "mnuConfigComm", true, BarDefault, false},
     QT_TRANSLATE_NOOP("orv::WindowRegistry", "&Communication"),
     CtrlF(Qt::Key_F4),
     nullptr,
     "com",
     CommandSet::Bar,
     PanelMagCfg4,
     true,
     MakePanel<BarCommPanel>},
    {{PanelCfg5, "cfg5", QT_TRANSLATE_NOOP("orv::WindowRegistry", "Bar Codes and Others"),
      "mnuConfigBar", true, BarDefault, false},
     QT_TRANSLATE_NOOP("orv::WindowRegistry", "&Bar Codes and Others"),
     CtrlF(Qt::Key_F5),
     nullptr,
     "bar",
     CommandSet::Bar,
     NoPanel,
     true,
     MakePanel<BarCodesPanel>},
    {{PanelCfg6, "cfg6", QT_TRANSLATE_NOOP("orv::WindowRegistry", "Miscellaneous Parameters"),
      "mnuConfigMisc", true, BarDefault, false},
     QT_TRANSLATE_NOOP("orv::WindowRegistry", "&Miscellaneous"),
     CtrlF(Qt::Key_F6),
     nullptr,
     "mis",
     CommandSet::Bar,
     PanelMagCfg6,
     true,
     MakeBarMiscPanel},
    {{PanelMagCfg3, "magcfg3", QT_TRANSLATE_NOOP("orv::WindowRegistry", "Interface"),
      "mnuMagInterface", true, MagDefault, false},
     QT_TRANSLATE_NOOP("orv::WindowRegistry", "&Interface"),
     0,
     nullptr,
     "irm",
     CommandSet::Mag,
     PanelCfg3,
     true,
     MakePanel<MagInterfacePanel>},
    {{PanelMagCfg4, "magcfg4", QT_TRANSLATE_NOOP("orv::WindowRegistry", "Communication Parameters"),
      "mnuMagComm", true, MagDefault, false},
     QT_TRANSLATE_NOOP("orv::WindowRegistry", "&Communication"),
     0,
     nullptr,
     "com",
     CommandSet::Mag,
     PanelCfg4,
     true,
     MakePanel<MagCommPanel>},
    {{PanelMagCfg6, "magcfg6", QT_TRANSLATE_NOOP("orv::WindowRegistry", "Miscellaneous Parameters"),
      "mnuMagMisc", true, MagDefault, false},
     QT_TRANSLATE_NOOP("orv::WindowRegistry", "&Miscellaneous"),
     0,
     nullptr,
     "mis",
     CommandSet::Mag,
     PanelCfg6,
     true,
     MakePanel<MagMiscPanel>},
    {{PanelTransmit, "frmTransmit", QT_TRANSLATE_NOOP("orv::WindowRegistry", "Transmit"),
      "mnuConfigTransmit", false, BarDefault, true},
     QT_TRANSLATE_NOOP("orv::WindowRegistry", "Transmit"),
     0,
     "mnuMagTransmit",
     "transmit",
     CommandSet::None,
     PanelTransmit,
     true,
     MakeLinkWindow<FrmTransmit>},
    {{NoPanel, "frmISP", QT_TRANSLATE_NOOP("orv::WindowRegistry", "Transmit"), "mnuToolsISP", false,
      nullptr, true},
     QT_TRANSLATE_NOOP("orv::WindowRegistry", "&ISP"),
     0,
     nullptr,
     nullptr,
     CommandSet::None,
     NoPanel,
     false,
     MakeLinkWindow<FrmIsp>},
    {{PanelReadMemory, "frmReadMemory",
      QT_TRANSLATE_NOOP("orv::WindowRegistry", "Read Decoder Memory"), "mnuToolsRDM", false,
      nullptr, true},
     QT_TRANSLATE_NOOP("orv::WindowRegistry", "&Read Decoder Memory"),
     0,
     nullptr,
     nullptr,
     CommandSet::None,
     NoPanel,
     false,
     MakeLinkWindow<FrmReadMemory>},
};

} // namespace

std::span<const WindowRow> WindowRegistry() {
    return Rows;
}

const WindowRow* FindWindowRow(int number) {
    if (number < PanelCfg3 || number > PanelReadMemory)
        return nullptr;
    const auto row = std::find_if(std::begin(Rows), std::end(Rows),
                                  [number](const WindowRow& r) { return r.number == number; });
    return row != std::end(Rows) ? row : nullptr;
}

const WindowRow& FirmwareWindowRow() {
    return *std::find_if(std::begin(Rows), std::end(Rows),
                         [](const WindowRow& r) { return r.number == NoPanel; });
}

const WindowRow* ToolbarWindowRow(QStringView key, bool magMode) {
    const CommandSet current = magMode ? CommandSet::Mag : CommandSet::Bar;
    for (const WindowRow& r : Rows) {
        if (r.toolbarKey && key == QLatin1String(r.toolbarKey) &&
            (r.commandSet == current || r.commandSet == CommandSet::None))
            return &r;
    }
    return nullptr;
}

} // namespace orv
