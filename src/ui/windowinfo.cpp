#include "windowinfo.h"

#include "core/config.h"

namespace orv {

namespace {

const WindowInfo Windows[] = {
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

const WindowInfo Firmware{NoPanel, "frmISP", "Transmit", nullptr, nullptr, true};

} // namespace

const WindowInfo* FindWindowInfo(int number) {
    for (const WindowInfo& s : Windows) {
        if (s.number == number)
            return &s;
    }
    return nullptr;
}

const WindowInfo& FirmwareWindowInfo() {
    return Firmware;
}

} // namespace orv
