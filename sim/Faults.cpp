#include "sim/Faults.h"

#include <array>
#include <cstdlib>
#include <string_view>
#include <utility>

#include "device/Fields.h"
#include "device/Layout.h"

namespace sim {
namespace {

const std::array<std::pair<const char*, FaultKind>, 17> kKinds = {{
    {"noise", FaultKind::Noise},
    {"bad-checksum", FaultKind::BadChecksum},
    {"short-frame", FaultKind::ShortFrame},
    {"silent", FaultKind::Silent},
    {"hang-up-mid-frame", FaultKind::HangUpMidFrame},
    {"wrong-string-table-length", FaultKind::WrongStringTableLength},
    {"version-40", FaultKind::Version40},
    {"pin-required", FaultKind::PinRequired},
    {"modem-error", FaultKind::ModemError},
    {"unterminated-texts", FaultKind::UnterminatedTexts},
    {"garbage-info", FaultKind::GarbageInfo},
    {"catalogue-overflow", FaultKind::CatalogueOverflow},
    {"short-catalogue", FaultKind::ShortCatalogue},
    {"upload-refused", FaultKind::UploadRefused},
    {"no-carrier", FaultKind::NoCarrier},
    {"dial-abort", FaultKind::DialAbort},
    {"dial-error", FaultKind::DialError},
}};

const std::array<std::pair<const char*, Phase>, 10> kPhases = {{
    {"any", Phase::Any},
    {"modem-info", Phase::ModemInfo},
    {"settings", Phase::Settings},
    {"strings", Phase::Strings},
    {"identify", Phase::Identify},
    {"events", Phase::Events},
    {"upload", Phase::Upload},
    {"dial", Phase::Dial},
    {"status", Phase::Status},
    {"disconnect", Phase::Disconnect},
}};

bool Covers(Phase faultPhase, Phase exchange) {
    if (faultPhase == Phase::Any || faultPhase == exchange) return true;
    return faultPhase == Phase::Identify &&
           (exchange == Phase::ModemInfo || exchange == Phase::Settings ||
            exchange == Phase::Strings);
}

}  // namespace

std::optional<Fault> ParseFault(const std::string& text) {
    std::string name = text, phase, count;
    if (const auto star = name.find('*'); star != std::string::npos) {
        count = name.substr(star + 1);
        name.erase(star);
    }
    if (const auto at = name.find('@'); at != std::string::npos) {
        phase = name.substr(at + 1);
        name.erase(at);
    }
    Fault fault{FaultKind::Silent};
    bool known = false;
    for (const auto& [n, k] : kKinds)
        if (name == n) fault.kind = k, known = true;
    if (!known) return std::nullopt;
    if (!phase.empty()) {
        known = false;
        for (const auto& [n, p] : kPhases)
            if (phase == n) fault.phase = p, known = true;
        if (!known) return std::nullopt;
    }
    if (!count.empty()) {
        char* end = nullptr;
        const long n = std::strtol(count.c_str(), &end, 10);
        if (*end || n < 1 || n > 1000000) return std::nullopt;
        fault.count = static_cast<int>(n);
    }
    return fault;
}

std::optional<Unkept> ParseUnkept(const std::string& text) {
    constexpr std::string_view kSlotPrefix = "slot:";
    if (text.starts_with(kSlotPrefix)) {
        const std::string number = text.substr(kSlotPrefix.size());
        char* end = nullptr;
        const long slot = std::strtol(number.c_str(), &end, 10);
        if (number.empty() || *end || slot < 1 || slot > layout::kSlotCount) return std::nullopt;
        return Unkept{{}, static_cast<int>(slot)};
    }
    const fields::Field* field = fields::FindField(text);
    if (!field || !fields::InRecord(*field)) return std::nullopt;
    return Unkept{text, 0};
}

std::string FaultHelp() {
    std::string help = "  NAME:  ";
    for (const auto& [n, k] : kKinds) help += std::string(n) + " ";
    help += "\n  PHASE: ";
    for (const auto& [n, p] : kPhases) help += std::string(n) + " ";
    return help + "\n";
}

Phase PhaseOfCommand(std::uint8_t command) {
    switch (command) {
        case command::kReadModemInfo:
            return Phase::ModemInfo;
        case command::kReadSettings:
            return Phase::Settings;
        case command::kReadStringTable:
            return Phase::Strings;
        case command::kReadEvents:
            return Phase::Events;
        case command::kWriteConfiguration:
            return Phase::Upload;
        case command::kDialRequest:
            return Phase::Dial;
        case command::kDisconnect:
            return Phase::Disconnect;
        default:
            return Phase::Any;
    }
}

bool FaultSet::Take(FaultKind kind, Phase phase) {
    for (auto& f : m_faults) {
        if (f.kind != kind || f.count == 0 || !Covers(f.phase, phase)) continue;
        if (f.count > 0) --f.count;
        return true;
    }
    return false;
}

}  // namespace sim
