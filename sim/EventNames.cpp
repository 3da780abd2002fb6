// The event catalogue of the simulated unit: plain alarm event names, by event number.
#include "sim/Unit.h"

namespace sim {

const EventNames& DefaultEventNames() {
    static const EventNames names = {
        "Periodic test",  // 0
        "Burglary alarm",
        "Burglary restore",
        "Fire alarm",
        "Fire restore",
        "Panic alarm",  // 5
        "Panic restore",
        "Medical alarm",
        "Medical restore",
        "Duress alarm",
        "Silent alarm",  // 10
        "Audible alarm",
        "Perimeter alarm",
        "Interior alarm",
        "Entry/exit alarm",
        "24-hour zone alarm",  // 15
        "Tamper alarm",
        "Tamper restore",
        "Mains power failure",
        "Mains power restored",
        "Low battery",  // 20
        "Battery restored",
        "Battery missing",
        "Smoke detector fault",
        "Heat detector alarm",
        "Gas leak alarm",  // 25
        "Water leak alarm",
        "Freeze alarm",
        "High temperature",
        "Low temperature",
        "Sprinkler flow",  // 30
        "Sprinkler valve tamper",
        "Hold-up alarm",
        "Zone bypassed",
        "Zone bypass removed",
        "Zone trouble",  // 35
        "Zone trouble restore",
        "Wireless zone supervision lost",
        "Wireless zone supervision restore",
        "Wireless sensor low battery",
        "Wireless sensor battery restore",  // 40
        "Keypad tamper",
        "Keypad lockout",
        "Wrong code entered",
        "Siren fault",
        "Siren restore",  // 45
        "Bell cut",
        "Auxiliary power fault",
        "Auxiliary power restore",
        "Expander module fault",
        "Expander module restore",  // 50
        "Bus communication fault",
        "Bus communication restore",
        "System reset",
        "Programming changed",
        "Programming mode entered",  // 55
        "Programming mode left",
        "Date and time changed",
        "Event log full",
        "Event log cleared",
        "Armed by user",  // 60
        "Disarmed by user",
        "Armed by keyswitch",
        "Disarmed by keyswitch",
        "Armed stay",
        "Armed away",  // 65
        "Quick arming",
        "Automatic arming",
        "Automatic disarming",
        "Arming failed",
        "Late to close",  // 70
        "Early opening",
        "Disarmed after alarm",
        "Alarm cancelled by user",
        "Recent closing",
        "Partition armed",  // 75
        "Partition disarmed",
        "Exit error",
        "Forced arming",
        "Remote arming",
        "Remote disarming",  // 80
        "Phone line 1 fault",
        "Phone line restored",
        "Phone line 2 fault",
        "Phone line 2 restored",
        "Communication failure",  // 85
        "Communication restored",
        "GSM network lost",
        "GSM network restored",
        "GPRS connection lost",
        "GPRS connection restored",  // 90
        "SIM card fault",
        "SIM card restored",
        "Low GSM signal",
        "GSM signal restored",
        "Receiver not answering",  // 95
        "Receiver answering again",
        "Modem fault",
        "Modem restored",
        "Antenna tamper",
        "Antenna restored",  // 100
        "Periodic test with trouble",
        "Manual test",
        "Walk test started",
        "Walk test ended",
        "Input 1 active",  // 105
        "Input 1 restored",
        "Input 2 active",
        "Input 2 restored",
        "Input 3 active",
        "Communicator power up",  // 110
        "Input 3 restored",
        "Output 1 on",
        "Output 1 off",
        "Output 2 on",
        "Output 2 off",  // 115
        "Call-back request",
        "Remote session started",
        "Remote session ended",
        "Configuration uploaded",
        "Configuration rejected",  // 120
        "PIN code changed",
        "Credit low",
        "Credit restored",
        "SMS send failure",
        "SMS send restored",  // 125
        "IP receiver 1 lost",
        "IP receiver 1 restored",
        "IP receiver 2 lost",
        "IP receiver 2 restored",
        "Panel heartbeat lost",  // 130
        "Panel heartbeat restored",
        "Jamming detected",
        "Jamming ended",
        "Unit case opened",
        "Unit case closed",  // 135
        "Firmware updated",
        "Supervisor call",
        "User code added",
        "User code deleted",
        "",  // 140
        "",
        "",
        "",
        "Door left open",
        "Door closed",  // 145
        "Service required",
        "Service completed",
        "Watchdog reset",
        "Internal fault",
        "",  // 150
        "",
    };
    return names;
}

}  // namespace sim
