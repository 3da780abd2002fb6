// Site files: a unit's configuration as named values in UTF-8 JSON a person can read, with a
// header that says where it came from and hashes that show damage and hand edits. Values are
// laid over a record field by field through the named-field table, never by byte offset.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "device/EventCatalogue.h"
#include "device/SafeFile.h"

struct DeviceData;

namespace site {

// The format this program writes; it reads version 1 too.
inline constexpr int kFormatVersion = 2;
inline constexpr std::size_t kMaxFileBytes = 1024 * 1024;
inline constexpr const char* kExtension = "qubsite";

struct UnitIdentity {
    int recordVersion = 0;  // the record's versionByte
    std::string model;      // the modem's own texts, UTF-8
    std::string id;
    std::string firmware;
};

struct SiteFile {
    std::string programVersion;
    std::string savedAt;  // UTC, "YYYY-MM-DDTHH:MM:SSZ"
    UnitIdentity unit;
    // Where the values come from, when that needs saying (a backup of what the unit held after
    // an upload); "" otherwise.
    std::string source;
    // Field name and UTF-8 value, in the named-field table's order.
    std::vector<std::pair<std::string, std::string>> values;
    // The unit's event names, UTF-8, one for each event; empty when the file keeps none.
    std::vector<std::string> eventNames;
};

// The unit's identity and every named field of its record that its version has; passwords
// and codes only with `withSecrets`. The new SIM PIN is never part of a record.
SiteFile FromRecord(const DeviceData& data, bool withSecrets, std::string savedAt);
// Keeps the names of the unit's events (in the system's code page) in the file.
void KeepEventNames(SiteFile& file, const EventNames& names);
// The event names the file keeps, in the system's code page; false when it keeps none or one
// cannot be stored as the unit stores it.
bool EventNamesOfFile(const SiteFile& file, EventNames* names);
// The file's text; the same SiteFile always gives the same bytes.
std::string Serialize(const SiteFile& file);

enum class Soundness { Sound, Edited, Damaged };
struct Opened {
    SiteFile file;
    Soundness soundness = Soundness::Sound;
    std::string problem;  // Edited: the first field whose value differs; Damaged: why
};
// False with the reason when the text is no site file this program can read.
bool ParseSiteFile(std::string_view text, Opened* opened, std::string* error);
bool ReadSiteFile(const std::filesystem::path& path, Opened* opened, std::string* error);
// Private for a file that holds passwords and codes.
FileResult WriteSiteFile(const std::filesystem::path& path, const SiteFile& file,
                         FileAccess access);

struct ApplyReport {
    enum class Refusal { None, OtherVersion, TooLong, Malformed, NotInCodePage };
    Refusal refusal = Refusal::None;
    std::string field;  // the field refused
    int fileVersion = 0;
    int unitVersion = 0;
    int applied = 0;
    std::vector<std::string> skipped;  // names this unit's record does not have
};
// Lays the file's values over the record, in the table's order. Any refusal leaves the
// record as it was: a file is applied whole or not at all.
ApplyReport ApplyToRecord(DeviceData& data, const SiteFile& file);
// A record holding what the file says: its unit's identity and record version, its values.
// False with the reason when the file cannot be laid over such a record.
bool RecordOfFile(const SiteFile& file, DeviceData& data, std::string* error);
// The report in English words, for the command line.
std::string Describe(const ApplyReport& report);

// The value of a field in the file, or nullptr.
const std::string* ValueOf(const SiteFile& file, std::string_view name);
struct Difference {
    std::string name;
    const std::string* first;  // the value in each file, nullptr where it has none
    const std::string* second;
};
// The fields whose values differ, present in one file only included.
std::vector<Difference> DifferingFields(const SiteFile& a, const SiteFile& b);

// Now, as savedAt writes it.
std::string UtcNow();

}  // namespace site
