#include "windowspec.h"

#include "core/config.h"

namespace orv {

namespace {

const WindowSpec Specs[] = {
    {PanelCfg3, "cfg3", "Interface", "mnuConfigInterface", "mnuConfigDefault", false},
    {PanelCfg4, "cfg4", "Communication Parameters", "mnuConfigComm", "mnuConfigDefault", false},
    {PanelCfg5, "cfg5", "Bar Codes and Others", "mnuConfigBar", "mnuConfigDefault", false},
    {PanelCfg6, "cfg6", "Miscellaneous Parameters", "mnuConfigMisc", "mnuConfigDefault", false},
    {PanelTransmit, "frmTransmit", "Transmit", nullptr, "mnuConfigDefault", true},
    {PanelMagCfg4, "magcfg4", "Communication Parameters", "mnuMagComm", "mnuMagDefault", false},
    {PanelMagCfg6, "magcfg6", "Miscellaneous Parameters", "mnuMagMisc", "mnuMagDefault", false},
    {PanelMagCfg3, "magcfg3", "Interface", "mnuMagInterface", "mnuMagDefault", false},
    {PanelReadMemory, "frmReadMemory", "Read Decoder Memory", nullptr, nullptr, true},
};

const WindowSpec Firmware{NoPanel, "frmISP", "Transmit", nullptr, nullptr, true};

} // namespace

const WindowSpec* FindWindowSpec(int number) {
    for (const WindowSpec& s : Specs) {
        if (s.number == number)
            return &s;
    }
    return nullptr;
}

const WindowSpec& FirmwareWindowSpec() {
    return Firmware;
}

} // namespace orv
