// The search for the communicator over the ports. It sits above the port (which opens and frames)
// and the exchanges (which identify the unit), so that neither knows the other's work.
#pragma once

class SerialPort;
struct DeviceData;

// Tries COM1..COM19 in turn, then the further ports the line lists, and keeps the first port on
// which the communicator identifies itself open. Its number, or 0 when none answered (no port is
// then open). The ports that were there but could not be opened are in port.openFailures().
int FindDevice(SerialPort& port, DeviceData& data);
