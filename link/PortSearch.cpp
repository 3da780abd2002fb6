#include "link/PortSearch.h"

#include "link/DeviceCommands.h"
#include "link/PortNames.h"
#include "link/SerialPort.h"

namespace {

// True when the communicator identified itself on COM<n>, which is then left open.
bool TryPort(SerialPort& port, int n, DeviceData& data) {
    if (!port.Open(n)) return false;
    const int identified = Identify(port, data);
    port.TraceResult("identify", identified);
    if (identified == 0) {
        port.KeepOpen();
        return true;
    }
    port.Close();
    return false;
}

}  // namespace

int FindDevice(SerialPort& port, DeviceData& data) {
    port.StartSearch();
    for (int n = kFirstComPort; n <= kLastComPort; ++n)
        if (TryPort(port, n, data)) return n;
    for (const int n : port.line().FurtherPorts())
        if (n > kLastComPort && n <= kMaxComPort && TryPort(port, n, data)) return n;
    return 0;
}
