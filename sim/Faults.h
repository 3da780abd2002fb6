// Faults the simulated unit can be told to show, each on the exchanges of one phase and for a
// number of times (or for good).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace sim {

enum class FaultKind {
    // How a reply travels.
    Noise,           // garbage before the reply frame
    BadChecksum,     // the reply's checksum is off by one
    ShortFrame,      // the reply stops halfway through its body
    Silent,          // no reply at all
    HangUpMidFrame,  // half a reply, then the line goes dead (and comes back a moment later)
    // What the unit reports.
    WrongStringTableLength,  // the settings announce a text table of another length
    Version40,               // an older unit: no end-page texts
    PinRequired,             // pinState 2
    ModemError,              // lastError 3
    UnterminatedTexts,       // the text table has no terminators
    GarbageInfo,             // the modem information is random bytes
    CatalogueOverflow,       // 16384 bytes of event names without a terminator
    ShortCatalogue,          // a catalogue of exactly 100 bytes
    UploadRefused,           // the upload is answered with 21
    // How a remote dial ends.
    NoCarrier,  // status 17
    DialAbort,  // status 20
    DialError,  // status 21
};

enum class Phase {
    Any,
    ModemInfo,   // command 13
    Settings,    // command 11
    Strings,     // command 10
    Identify,    // any of 13, 11, 10
    Events,      // command 12
    Upload,      // command 100
    Dial,        // command 20
    Status,      // the status bytes of a remote dial
    Disconnect,  // command 15
};

struct Fault {
    FaultKind kind;
    Phase phase = Phase::Any;
    int count = -1;  // times it still applies; -1 = for good
};

// "NAME[@PHASE][*COUNT]", for example "silent@upload*2" or "version-40".
std::optional<Fault> ParseFault(const std::string& text);
std::string FaultHelp();

// A part of an upload the unit does not keep: it holds on to what it had there before.
struct Unkept {
    std::string field;  // a named field of the record, or
    int slot = 0;       // a text slot by number
};
// "FIELD" (for example "sms.number.1") or "slot:N"; nothing for a name the record lacks.
std::optional<Unkept> ParseUnkept(const std::string& text);

// The phase a request belongs to.
Phase PhaseOfCommand(std::uint8_t command);

class FaultSet {
  public:
    void Add(const Fault& fault) { m_faults.push_back(fault); }
    void Clear() { m_faults.clear(); }
    // True when `kind` applies to an exchange of `phase`; uses up one of its times.
    bool Take(FaultKind kind, Phase phase);

  private:
    std::vector<Fault> m_faults;
};

}  // namespace sim
