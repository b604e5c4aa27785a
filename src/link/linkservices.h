#pragma once

namespace orv {

class Dialogs;
class PortAccess;
class SerialPortFactory;

// The services a link window is built with.
struct LinkServices {
    Dialogs& dialogs;
    PortAccess& portAccess;
    SerialPortFactory& serialPorts;
};

} // namespace orv
