// Who keeps a serial device busy, so that "in use" can name the program to close.
#pragma once

#include <string>

struct PortHolder {
    std::string name;  // the process's command name; empty when nobody was found
    int pid = 0;
    bool probes = false;  // a service that probes every serial adapter (ModemManager)
};

// A process other than this one with `devicePath` open. When some processes cannot be looked
// into (ModemManager runs as root) and none of the others holds it, a running prober of serial
// adapters is named instead: it is the usual holder of a port its user cannot see.
PortHolder FindPortHolder(const std::string& devicePath, const std::string& procDir = "/proc");
