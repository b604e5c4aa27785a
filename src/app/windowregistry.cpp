// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "windowregistry.h"

#include "core/config.h"
#include "link/services.h"
#include "link/windows/frmisp.h"
#include "link/windows/frmreadmemory.h"
#include "link/windows/frmtransmit.h"
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
ChildWindow* MakePanel(Config& config, const Services&, const WindowInfo& info, QWidget* parent) {
    return new Panel(config, info, parent);
}

// The bar decoder's miscellaneous panel reports refused identifier characters.
ChildWindow* MakeBarMiscPanel(Config& config, const Services& services, const WindowInfo& info,
                              QWidget* parent) {
    return new BarMiscPanel(config, services.dialogs, info, parent);
}

template <class Window>
ChildWindow* MakeLinkWindow(Config& config, const Services& services, const WindowInfo& info,
                            QWidget* parent) {
    return new Window(config, info, services, parent);
}

constexpr int CtrlF(Qt::Key key) {
    return (Qt::CTRL | key).toCombined();
}

constexpr const char* BarDefault = "mnuConfigDefault";
constexpr const char* MagDefault = "mnuMagDefault";

// The buttons that the panels of both command sets share.
constexpr ToolbarButton InterfaceButton{
    .key = "irm",
    .tooltip = QT_TRANSLATE_NOOP("orv::MainWindow", "Interface and Reading Mode"),
    .themeIcon = "input-keyboard"};
constexpr ToolbarButton CommButton{
    .key = "com",
    .tooltip = QT_TRANSLATE_NOOP("orv::MainWindow", "Communication Parameters"),
    .themeIcon = "network-wired"};
constexpr ToolbarButton MiscButton{
    .key = "mis",
    .tooltip = QT_TRANSLATE_NOOP("orv::MainWindow", "Miscellaneous Parameters"),
    .themeIcon = "preferences-system"};

const WindowRow Rows[] = {
    {.info = {.number = PanelCfg3,
              .objectName = "cfg3",
              .caption = QT_TRANSLATE_NOOP("orv::WindowRegistry", "Interface"),
              .menuItem = "mnuConfigInterface",
              .checksMenuItem = true,
              .defaultItem = BarDefault},
     .menuCaption = QT_TRANSLATE_NOOP("orv::WindowRegistry", "&Interface"),
     .shortcut = CtrlF(Qt::Key_F3),
     .toolbar = InterfaceButton,
     .commandSet = CommandSet::Bar,
     .counterpart = PanelMagCfg3,
     .showsImage = true,
     .make = MakePanel<BarInterfacePanel>},
    {.info = {.number = PanelCfg4,
              .objectName = "cfg4",
              .caption = QT_TRANSLATE_NOOP("orv::WindowRegistry", "Communication Parameters"),
              .menuItem = "mnuConfigComm",
              .checksMenuItem = true,
              .defaultItem = BarDefault},
     .menuCaption = QT_TRANSLATE_NOOP("orv::WindowRegistry", "&Communication"),
     .shortcut = CtrlF(Qt::Key_F4),
     .toolbar = CommButton,
     .commandSet = CommandSet::Bar,
     .counterpart = PanelMagCfg4,
     .showsImage = true,
     .make = MakePanel<BarCommPanel>},
    {.info = {.number = PanelCfg5,
              .objectName = "cfg5",
              .caption = QT_TRANSLATE_NOOP("orv::WindowRegistry", "Bar Codes and Others"),
              .menuItem = "mnuConfigBar",
              .checksMenuItem = true,
              .defaultItem = BarDefault},
     .menuCaption = QT_TRANSLATE_NOOP("orv::WindowRegistry", "&Bar Codes and Others"),
     .shortcut = CtrlF(Qt::Key_F5),
     .toolbar = {.key = "bar",
                 .tooltip = QT_TRANSLATE_NOOP("orv::MainWindow", "Bar Codes and Others"),
                 .themeIcon = "format-justify-fill"},
     .commandSet = CommandSet::Bar,
     .showsImage = true,
     .make = MakePanel<BarCodesPanel>},
    {.info = {.number = PanelCfg6,
              .objectName = "cfg6",
              .caption = QT_TRANSLATE_NOOP("orv::WindowRegistry", "Miscellaneous Parameters"),
              .menuItem = "mnuConfigMisc",
              .checksMenuItem = true,
              .defaultItem = BarDefault},
     .menuCaption = QT_TRANSLATE_NOOP("orv::WindowRegistry", "&Miscellaneous"),
     .shortcut = CtrlF(Qt::Key_F6),
     .toolbar = MiscButton,
     .commandSet = CommandSet::Bar,
     .counterpart = PanelMagCfg6,
     .showsImage = true,
     .make = MakeBarMiscPanel},
    {.info = {.number = PanelMagCfg3,
              .objectName = "magcfg3",
              .caption = QT_TRANSLATE_NOOP("orv::WindowRegistry", "Interface"),
              .menuItem = "mnuMagInterface",
              .checksMenuItem = true,
              .defaultItem = MagDefault},
     .menuCaption = QT_TRANSLATE_NOOP("orv::WindowRegistry", "&Interface"),
     .toolbar = InterfaceButton,
     .commandSet = CommandSet::Mag,
     .counterpart = PanelCfg3,
     .showsImage = true,
     .make = MakePanel<MagInterfacePanel>},
    {.info = {.number = PanelMagCfg4,
              .objectName = "magcfg4",
              .caption = QT_TRANSLATE_NOOP("orv::WindowRegistry", "Communication Parameters"),
              .menuItem = "mnuMagComm",
              .checksMenuItem = true,
              .defaultItem = MagDefault},
     .menuCaption = QT_TRANSLATE_NOOP("orv::WindowRegistry", "&Communication"),
     .toolbar = CommButton,
     .commandSet = CommandSet::Mag,
     .counterpart = PanelCfg4,
     .showsImage = true,
     .make = MakePanel<MagCommPanel>},
    {.info = {.number = PanelMagCfg6,
              .objectName = "magcfg6",
              .caption = QT_TRANSLATE_NOOP("orv::WindowRegistry", "Miscellaneous Parameters"),
              .menuItem = "mnuMagMisc",
              .checksMenuItem = true,
              .defaultItem = MagDefault},
     .menuCaption = QT_TRANSLATE_NOOP("orv::WindowRegistry", "&Miscellaneous"),
     .toolbar = MiscButton,
     .commandSet = CommandSet::Mag,
     .counterpart = PanelCfg6,
     .showsImage = true,
     .make = MakePanel<MagMiscPanel>},
    {.info = {.number = PanelTransmit,
              .objectName = "frmTransmit",
              .caption = QT_TRANSLATE_NOOP("orv::WindowRegistry", "Transmit"),
              .menuItem = "mnuConfigTransmit",
              .defaultItem = BarDefault,
              .maximized = true},
     .menuCaption = QT_TRANSLATE_NOOP("orv::WindowRegistry", "Transmit"),
     .magMenuItem = "mnuMagTransmit",
     .toolbar = {.key = "transmit",
                 .tooltip = QT_TRANSLATE_NOOP("orv::MainWindow", "Transmit"),
                 .themeIcon = "network-transmit-receive"},
     .counterpart = PanelTransmit,
     .showsImage = true,
     .make = MakeLinkWindow<FrmTransmit>},
    {.info = {.number = NoPanel,
              .objectName = "frmISP",
              .caption = QT_TRANSLATE_NOOP("orv::WindowRegistry", "Transmit"),
              .menuItem = "mnuToolsISP",
              .maximized = true},
     .menuCaption = QT_TRANSLATE_NOOP("orv::WindowRegistry", "&ISP"),
     .make = MakeLinkWindow<FrmIsp>},
    {.info = {.number = PanelReadMemory,
              .objectName = "frmReadMemory",
              .caption = QT_TRANSLATE_NOOP("orv::WindowRegistry", "Read Decoder Memory"),
              .menuItem = "mnuToolsRDM",
              .maximized = true},
     .menuCaption = QT_TRANSLATE_NOOP("orv::WindowRegistry", "&Read Decoder Memory"),
     .make = MakeLinkWindow<FrmReadMemory>},
};

} // namespace

std::span<const WindowRow> WindowRegistry() {
    return Rows;
}

const WindowRow* FindWindowRow(int number) {
    if (number < PanelCfg3 || number > PanelReadMemory)
        return nullptr;
    const auto row = std::find_if(std::begin(Rows), std::end(Rows),
                                  [number](const WindowRow& r) { return r.info.number == number; });
    return row != std::end(Rows) ? row : nullptr;
}

const WindowRow& FirmwareWindowRow() {
    return *std::find_if(std::begin(Rows), std::end(Rows),
                         [](const WindowRow& r) { return r.info.number == NoPanel; });
}

const WindowRow* ToolbarWindowRow(QStringView key, bool magMode) {
    const CommandSet current = magMode ? CommandSet::Mag : CommandSet::Bar;
    for (const WindowRow& r : Rows) {
        if (r.toolbar.key && key == QLatin1String(r.toolbar.key) &&
            (r.commandSet == current || r.commandSet == CommandSet::None))
            return &r;
    }
    return nullptr;
}

} // namespace orv
