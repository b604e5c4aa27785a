#pragma once

namespace orv {

class Dialogs;
class Launcher;
class PortAccess;

// The services the windows are given when they are built. main() passes the production ones;
// tests pass doubles.
struct Services {
    Dialogs& dialogs;
    Launcher& launcher;
    PortAccess& portAccess;
};

} // namespace orv
