// One simulated communicator: what it reports and what it keeps of an upload.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "device/DeviceData.h"
#include "device/EventCatalogue.h"
#include "sim/Faults.h"

namespace sim {

struct Unit {
    // identReply, stringTable, infoBlock and eventCatalogue hold the unit's own record.
    DeviceData record;
    std::size_t catalogueLength = 0;  // bytes of the catalogue reply
    std::string simPin;               // the last PIN an upload carried
};

// A unit as it leaves the factory, configured for a small shop: all four protocols supported,
// SMS and IP in use, a few numbers and accounts, 152 event names, version 41.
Unit DefaultUnit();
// The unit in the field that the local one dials: other numbers, other identity.
Unit DefaultRemoteUnit();

// The default unit with the `n`th other identity: a bench of stock, one after another.
Unit BenchUnit(int n);

// Settings are edited through record.settingsBlock's accessors; this puts them into the
// identReply that the unit reports.
void StoreSettings(Unit& unit);

// The reply to "read string table": every text the version carries, each with its terminator.
std::vector<std::uint8_t> StringTableReply(const Unit& unit);
// The reply to "read settings", with stringTableLength matching StringTableReply.
std::vector<std::uint8_t> SettingsReply(const Unit& unit);

// Checks a configuration image and, when it is whole and consistent, takes it into the unit.
// On refusal `why` says what was wrong and the unit is unchanged.
bool ApplyConfiguration(Unit& unit, const std::uint8_t* image, std::size_t length,
                        std::string* why);

// Puts back into the unit what it held in `before` at the part it does not keep.
void RestoreUnkept(Unit& unit, const DeviceData& before, const Unkept& part);

// A unit's record as text lines of hex, for --state.
bool SaveUnit(const Unit& unit, const std::string& path);
bool LoadUnit(Unit& unit, const std::string& path);

// The names of events 0..151, in order; "" where the unit has no such event.
const EventNames& DefaultEventNames();

}  // namespace sim
