#include "site/SiteFile.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <nlohmann/json.hpp>
#include <unordered_map>
#include <unordered_set>

#include "device/Bytes.h"
#include "device/DeviceData.h"
#include "device/Fields.h"
#include "site/Sha256.h"
#include "ui/CodePage.h"

namespace site {

namespace {

using Json = nlohmann::ordered_json;

constexpr const char* kFormatName = "Qubset site file";
constexpr std::size_t kFieldHashDigits = 16;
// Files saved before the hash covered the header; read and checked by their own rule.
constexpr int kHeaderlessFormatVersion = 1;
constexpr const char* kEventNamesKey = "event_names";

// Each part with its length before it, so that no two lists of parts give the same bytes.
void AddPart(std::string& into, std::string_view part) {
    into += std::to_string(part.size());
    into += ':';
    into += part;
}

std::string FieldHash(int formatVersion, const std::string& name, const std::string& value) {
    std::string parts;
    if (formatVersion == kHeaderlessFormatVersion) {
        parts = name + '\0' + value;
    } else {
        AddPart(parts, name);
        AddPart(parts, value);
    }
    return Sha256Hex(parts).substr(0, kFieldHashDigits);
}

// The header and the values in the table's order: the same file however its keys are ordered
// or its text laid out.
std::string FileHash(const SiteFile& file) {
    std::string parts;
    AddPart(parts, kFormatName);
    AddPart(parts, std::to_string(kFormatVersion));
    AddPart(parts, file.programVersion);
    AddPart(parts, file.savedAt);
    AddPart(parts, std::to_string(file.unit.recordVersion));
    AddPart(parts, file.unit.model);
    AddPart(parts, file.unit.id);
    AddPart(parts, file.unit.firmware);
    for (const auto& [name, value] : file.values) {
        AddPart(parts, name);
        AddPart(parts, value);
    }
    // Only when there are names, so a file without them hashes as it always did. With them
    // the parts are odd in number and end in exactly kEventCount names: no file without names,
    // and no other split of values and names, gives the same parts.
    if (!file.eventNames.empty()) {
        AddPart(parts, kEventNamesKey);
        for (const std::string& name : file.eventNames) AddPart(parts, name);
    }
    return Sha256Hex(parts);
}

// Version 1: the values alone, in the order the file holds them.
std::string HeaderlessHash(const SiteFile& file) {
    std::string all;
    for (const auto& [name, value] : file.values) all += name + '\0' + value + '\0';
    return Sha256Hex(all);
}

// A name's place in the table; names it lacks after all of its own.
std::size_t TableOrder(std::string_view name) {
    static const auto places = [] {
        std::unordered_map<std::string_view, std::size_t> map;
        const auto table = fields::NamedFields();
        for (std::size_t i = 0; i < table.size(); ++i) map.emplace(table[i].name, i);
        return map;
    }();
    const auto it = places.find(name);
    return it == places.end() ? fields::NamedFields().size() : it->second;
}

void PutInTableOrder(SiteFile* file) {
    std::sort(file->values.begin(), file->values.end(), [](const auto& a, const auto& b) {
        const std::size_t x = TableOrder(a.first), y = TableOrder(b.first);
        return x != y ? x < y : a.first < b.first;
    });
}

using ValueIndex = std::unordered_map<std::string_view, const std::string*>;

ValueIndex IndexOf(const SiteFile& file) {
    ValueIndex index;
    index.reserve(file.values.size());
    for (const auto& [name, value] : file.values) index.emplace(name, &value);
    return index;
}

const std::string* Find(const ValueIndex& index, std::string_view name) {
    const auto it = index.find(name);
    return it == index.end() ? nullptr : it->second;
}

// The JSON text parsed, with the first name an object holds twice: which of the two counts
// would be a guess.
Json ParseJson(std::string_view text, std::string* twice) {
    std::vector<std::unordered_set<std::string>> objects;
    const Json::parser_callback_t noteNames = [&](int, Json::parse_event_t event, Json& parsed) {
        using Event = Json::parse_event_t;
        if (event == Event::object_start) objects.emplace_back();
        if (event == Event::object_end && !objects.empty()) objects.pop_back();
        if (event == Event::key && !objects.empty() && twice->empty() &&
            !objects.back().insert(parsed.get<std::string>()).second)
            *twice = parsed.get<std::string>();
        return true;
    };
    return Json::parse(text, noteNames, false);
}

bool ReadText(const Json& object, const char* key, std::string* text) {
    const auto it = object.find(key);
    if (it == object.end() || !it->is_string()) return false;
    *text = it->get<std::string>();
    return true;
}

bool ReadHeader(const Json& root, SiteFile* file, int* formatVersion, std::string* error) {
    std::string format;
    if (!root.is_object() || !ReadText(root, "format", &format) || format != kFormatName) {
        *error = "it is not a Qubset site file";
        return false;
    }
    const auto version = root.find("format_version");
    if (version == root.end() || !version->is_number_integer()) {
        *error = "it names no format version";
        return false;
    }
    const long long number = version->get<long long>();
    if (number != kFormatVersion && number != kHeaderlessFormatVersion) {
        *error = "its format version " + std::to_string(number) +
                 " is not one this program reads (" + std::to_string(kHeaderlessFormatVersion) +
                 " to " + std::to_string(kFormatVersion) + ")";
        return false;
    }
    *formatVersion = static_cast<int>(number);
    const auto unit = root.find("unit");
    if (unit == root.end() || !unit->is_object() || !ReadText(*unit, "model", &file->unit.model) ||
        !ReadText(*unit, "id", &file->unit.id) ||
        !ReadText(*unit, "firmware", &file->unit.firmware) || !unit->contains("record_version") ||
        !(*unit)["record_version"].is_number_integer()) {
        *error = "its unit is not described";
        return false;
    }
    const auto record = (*unit)["record_version"].get<long long>();
    if (record < 0 || record > 255) {
        *error = "its record version is out of range";
        return false;
    }
    file->unit.recordVersion = static_cast<int>(record);
    if (!ReadText(root, "program_version", &file->programVersion) ||
        !ReadText(root, "saved", &file->savedAt)) {
        *error = "its header is incomplete";
        return false;
    }
    if (root.contains("source") && !ReadText(root, "source", &file->source)) {
        *error = "its source is not a text";
        return false;
    }
    return true;
}

bool ReadValues(const Json& root, SiteFile* file, std::string* error) {
    const auto values = root.find("values");
    if (values == root.end() || !values->is_object()) {
        *error = "it holds no values";
        return false;
    }
    // More values than there are fields cannot all be names of ours; bounds the work too.
    if (values->size() > fields::NamedFields().size()) {
        *error = "it holds more values than there are fields";
        return false;
    }
    for (const auto& [name, value] : values->items()) {
        if (name.find('\0') != std::string::npos) {
            *error = "a field name holds a NUL character";
            return false;
        }
        if (!value.is_string()) {
            *error = "the value of " + name + " is not a text";
            return false;
        }
        file->values.emplace_back(name, value.get<std::string>());
        if (file->values.back().second.find('\0') != std::string::npos) {
            *error = "the value of " + name + " holds a NUL character";
            return false;
        }
    }
    return true;
}

// The names are optional; when there, one text for each event. Version 1 knew none.
bool ReadEventNames(const Json& root, int formatVersion, SiteFile* file, std::string* error) {
    const auto names = root.find(kEventNamesKey);
    if (names == root.end() || formatVersion == kHeaderlessFormatVersion) return true;
    if (!names->is_array() || names->size() != static_cast<std::size_t>(layout::kEventCount)) {
        *error = "its event names are not one for each event";
        return false;
    }
    for (const Json& name : *names) {
        if (!name.is_string() || name.get<std::string>().find('\0') != std::string::npos) {
            *error = "an event name is not a text";
            return false;
        }
        file->eventNames.push_back(name.get<std::string>());
    }
    return true;
}

// The first field whose own hash differs, or that has a hash and no value; "" for none.
std::string FirstEdited(const Json& hashes, const SiteFile& file, int formatVersion) {
    std::unordered_map<std::string_view, const Json*> byName;
    for (const auto& [name, hash] : hashes.items()) byName.emplace(name, &hash);
    for (const auto& [name, value] : file.values) {
        const auto it = byName.find(name);
        if (it == byName.end() || !it->second->is_string() ||
            *it->second != FieldHash(formatVersion, name, value))
            return name;
    }
    const ValueIndex values = IndexOf(file);
    for (const auto& [name, hash] : hashes.items())
        if (!Find(values, name)) return name;
    return {};
}

// Sound when the hash matches the file; else the first field whose own hash differs, or
// damage when none does (the header or the hashes themselves were touched).
void CheckHashes(const Json& root, int formatVersion, Opened* opened) {
    const auto check = root.find("check");
    std::string sum;
    if (check == root.end() || !check->is_object() || !ReadText(*check, "sha256", &sum) ||
        !check->contains("fields") || !(*check)["fields"].is_object()) {
        opened->soundness = Soundness::Damaged;
        opened->problem = "its check sums are missing";
        return;
    }
    const bool headerless = formatVersion == kHeaderlessFormatVersion;
    if (sum == (headerless ? HeaderlessHash(opened->file) : FileHash(opened->file))) return;
    opened->problem = FirstEdited((*check)["fields"], opened->file, formatVersion);
    if (!opened->problem.empty()) {
        opened->soundness = Soundness::Edited;
        return;
    }
    opened->soundness = Soundness::Damaged;
    opened->problem = headerless ? "its check sum does not match its values"
                                 : "its check sum does not match its header or values";
}

// Days since 1970-01-01 to a civil date (proleptic Gregorian).
void CivilFromDays(long long z, long long* y, unsigned* m, unsigned* d) {
    z += 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const auto doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    *d = doy - (153 * mp + 2) / 5 + 1;
    *m = mp < 10 ? mp + 3 : mp - 9;
    *y = static_cast<long long>(yoe) + era * 400 + (*m <= 2);
}

std::string TwoDigits(long long n) {
    char text[24];
    const int length = std::snprintf(text, sizeof text, "%02lld", n);
    return std::string(text, length > 0 ? static_cast<std::size_t>(length) : 0);
}

ApplyReport::Refusal RefusalOf(fields::SetResult result) {
    return result == fields::SetResult::TooLong ? ApplyReport::Refusal::TooLong
                                                : ApplyReport::Refusal::Malformed;
}

bool InCodePage(const fields::Field& f, const std::string& value, std::string* ansi,
                ApplyReport* report) {
    if (ui::AnsiOfUtf8(value, ansi)) return true;
    report->refusal = ApplyReport::Refusal::NotInCodePage;
    report->field = f.name;
    return false;
}

bool ApplyOne(DeviceData& work, const fields::Field& f, const std::string& value,
              ApplyReport* report) {
    std::string ansi;
    if (!InCodePage(f, value, &ansi, report)) return false;
    const fields::SetResult result = fields::SetFieldValue(work, f, ansi);
    if (result == fields::SetResult::Done) {
        ++report->applied;
        return true;
    }
    report->refusal = RefusalOf(result);
    report->field = f.name;
    return false;
}

// The access point login's parts the file gives, set as one login: the unit's own parts for
// those it lacks, and no password behind an empty user, which the login cannot hold. Part by
// part, a file that clears the user would be refused for the unit's password.
bool ApplyLogin(DeviceData& work, const std::vector<const std::string*>& given,
                ApplyReport* report) {
    fields::ApnLogin login = fields::SplitApnLogin(work.slotText(layout::kSlotApnLogin));
    std::string* parts[] = {&login.accessPoint, &login.user, &login.password};
    const fields::Field* partField[std::size(parts)] = {};
    const auto table = fields::NamedFields();
    int applied = 0;
    for (std::size_t i = 0; i < table.size(); ++i) {
        if (table[i].place != fields::Place::ApnPart) continue;
        partField[table[i].at] = &table[i];
        if (!given[i]) continue;
        if (!InCodePage(table[i], *given[i], parts[table[i].at], report)) return false;
        ++applied;
    }
    if (login.user.empty()) login.password.clear();
    fields::ApnPart refused = fields::ApnPart::AccessPoint;
    const fields::SetResult result = fields::SetApnLogin(work, login, &refused);
    if (result == fields::SetResult::Done) {
        report->applied += applied;
        return true;
    }
    report->refusal = RefusalOf(result);
    report->field = partField[static_cast<std::size_t>(refused)]->name;
    return false;
}

}  // namespace

SiteFile FromRecord(const DeviceData& data, bool withSecrets, std::string savedAt) {
    SiteFile file;
    file.programVersion = QUBSET_PROGRAM_VERSION;
    file.savedAt = std::move(savedAt);
    file.unit = {data.versionByte(), ui::Utf8OfAnsi(data.modelText()),
                 ui::Utf8OfAnsi(data.idText()), ui::Utf8OfAnsi(data.firmwareText())};
    for (const fields::Field& f : fields::NamedFields()) {
        if (!fields::InRecord(f) || !fields::HasField(f, data.versionByte())) continue;
        if (f.secret && !withSecrets) continue;
        file.values.emplace_back(f.name, ui::Utf8OfAnsi(fields::FieldValue(data, f)));
    }
    return file;
}

void KeepEventNames(SiteFile& file, const EventNames& names) {
    file.eventNames.clear();
    for (const std::string& name : names) file.eventNames.push_back(ui::Utf8OfAnsi(name));
}

bool EventNamesOfFile(const SiteFile& file, EventNames* names) {
    if (file.eventNames.size() != names->size()) return false;
    for (std::size_t i = 0; i < names->size(); ++i) {
        std::string& name = (*names)[i];
        if (!ui::AnsiOfUtf8(file.eventNames[i], &name) || name.size() > layout::kEventNameMax)
            return false;
    }
    return true;
}

std::string Serialize(const SiteFile& unordered) {
    SiteFile file = unordered;
    PutInTableOrder(&file);
    Json values = Json::object();
    Json hashes = Json::object();
    for (const auto& [name, value] : file.values) {
        values[name] = value;
        hashes[name] = FieldHash(kFormatVersion, name, value);
    }
    Json root = Json::object();
    root["format"] = kFormatName;
    root["format_version"] = kFormatVersion;
    root["program_version"] = file.programVersion;
    root["saved"] = file.savedAt;
    if (!file.source.empty()) root["source"] = file.source;
    root["unit"] = {{"record_version", file.unit.recordVersion},
                    {"model", file.unit.model},
                    {"id", file.unit.id},
                    {"firmware", file.unit.firmware}};
    root["values"] = std::move(values);
    if (!file.eventNames.empty()) root[kEventNamesKey] = file.eventNames;
    root["check"] = {{"sha256", FileHash(file)}, {"fields", std::move(hashes)}};
    // Texts that are not valid UTF-8 come out as U+FFFD rather than ending the program.
    return root.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
}

bool ParseSiteFile(std::string_view text, Opened* opened, std::string* error) {
    *opened = {};
    if (text.size() > kMaxFileBytes) {
        *error = "it is larger than a site file can be";
        return false;
    }
    std::string twice;
    const Json root = ParseJson(text, &twice);
    if (root.is_discarded()) {
        *error = "it is not valid JSON (damaged or cut short)";
        return false;
    }
    if (!twice.empty()) {
        *error = "it names " + twice + " twice";
        return false;
    }
    int formatVersion = 0;
    if (!ReadHeader(root, &opened->file, &formatVersion, error) ||
        !ReadValues(root, &opened->file, error) ||
        !ReadEventNames(root, formatVersion, &opened->file, error))
        return false;
    // A version-1 file's hash follows the order its values stand in; every later one the
    // table's.
    const bool headerless = formatVersion == kHeaderlessFormatVersion;
    if (!headerless) PutInTableOrder(&opened->file);
    CheckHashes(root, formatVersion, opened);
    if (headerless) PutInTableOrder(&opened->file);
    return true;
}

bool ReadSiteFile(const std::filesystem::path& path, Opened* opened, std::string* error) {
    std::string bytes;
    switch (ReadBoundedFile(path, kMaxFileBytes, &bytes)) {
        case FileResult::Done:
            return ParseSiteFile(bytes, opened, error);
        case FileResult::TooLarge:
            *error = "it is larger than a site file can be";
            return false;
        case FileResult::CannotOpen:
        case FileResult::CannotWrite:
            break;
    }
    *error = "it cannot be opened";
    return false;
}

FileResult WriteSiteFile(const std::filesystem::path& path, const SiteFile& file,
                         FileAccess access) {
    return WriteWholeFile(path, Serialize(file), access);
}

ApplyReport ApplyToRecord(DeviceData& data, const SiteFile& file) {
    ApplyReport report;
    report.fileVersion = file.unit.recordVersion;
    report.unitVersion = data.versionByte();
    if (report.fileVersion != report.unitVersion) {
        report.refusal = ApplyReport::Refusal::OtherVersion;
        return report;
    }
    const auto table = fields::NamedFields();
    std::vector<const std::string*> given(table.size(), nullptr);
    for (const auto& [name, value] : file.values)
        if (const std::size_t at = TableOrder(name); at < table.size()) given[at] = &value;
    // Worked on a copy, so that a refusal halfway leaves the unit's record untouched.
    auto work = std::make_unique<DeviceData>(data);
    bool loginDone = false;
    for (std::size_t i = 0; i < table.size(); ++i) {
        const fields::Field& f = table[i];
        if (!given[i] || !fields::InRecord(f)) continue;
        if (!fields::HasField(f, data.versionByte())) {
            report.skipped.push_back(f.name);
            continue;
        }
        const bool login = f.place == fields::Place::ApnPart;
        if (login && loginDone) continue;
        loginDone |= login;
        if (!(login ? ApplyLogin(*work, given, &report) : ApplyOne(*work, f, *given[i], &report))) {
            report.applied = 0;
            report.skipped.clear();
            return report;
        }
    }
    for (const auto& [name, value] : file.values)
        if (const std::size_t at = TableOrder(name);
            at == table.size() || !fields::InRecord(table[at]))
            report.skipped.push_back(name);
    data.settingsBlock = work->settingsBlock;
    data.stringTable = work->stringTable;
    return report;
}

bool RecordOfFile(const SiteFile& file, DeviceData& data, std::string* error) {
    data.identReply[layout::kIdentVersionByte] = static_cast<std::uint8_t>(file.unit.recordVersion);
    const std::pair<const std::string&, layout::SlotInfo> identity[] = {
        {file.unit.model, layout::kInfoModelText},
        {file.unit.id, layout::kInfoIdText},
        {file.unit.firmware, layout::kInfoFirmwareText}};
    for (const auto& [text, place] : identity) {
        std::string ansi;
        if (!ui::AnsiOfUtf8(text, &ansi) ||
            !StoreText(&data.infoBlock[place.offset], place.size, ansi)) {
            *error = "the unit's identity \"" + text + "\" does not fit the record";
            return false;
        }
    }
    const ApplyReport report = ApplyToRecord(data, file);
    if (report.refusal == ApplyReport::Refusal::None) return true;
    *error = Describe(report);
    return false;
}

std::string Describe(const ApplyReport& report) {
    using Refusal = ApplyReport::Refusal;
    switch (report.refusal) {
        case Refusal::OtherVersion:
            return "refused: the file is for record version " + std::to_string(report.fileVersion) +
                   ", the unit has record version " + std::to_string(report.unitVersion);
        case Refusal::TooLong:
            return "refused: the value of " + report.field + " does not fit its place";
        case Refusal::Malformed:
            return "refused: the value of " + report.field + " cannot be written";
        case Refusal::NotInCodePage:
            return "refused: the value of " + report.field +
                   " holds a character the unit cannot store";
        case Refusal::None:
            break;
    }
    std::string text = "applied " + std::to_string(report.applied) + " fields";
    if (!report.skipped.empty()) {
        text += "; skipped:";
        for (const std::string& name : report.skipped) text += " " + name;
    }
    return text;
}

const std::string* ValueOf(const SiteFile& file, std::string_view name) {
    for (const auto& [key, value] : file.values)
        if (key == name) return &value;
    return nullptr;
}

std::vector<Difference> DifferingFields(const SiteFile& a, const SiteFile& b) {
    const ValueIndex inA = IndexOf(a), inB = IndexOf(b);
    std::vector<Difference> differences;
    for (const auto& [name, value] : a.values) {
        const std::string* other = Find(inB, name);
        if (!other || *other != value) differences.push_back({name, &value, other});
    }
    for (const auto& [name, value] : b.values)
        if (!Find(inA, name)) differences.push_back({name, nullptr, &value});
    return differences;
}

std::string UtcNow() {
    using namespace std::chrono;
    const long long seconds =
        duration_cast<std::chrono::seconds>(system_clock::now().time_since_epoch()).count();
    const long long days = (seconds >= 0 ? seconds : seconds - 86399) / 86400;
    const long long inDay = seconds - days * 86400;
    long long year = 0;
    unsigned month = 0, day = 0;
    CivilFromDays(days, &year, &month, &day);
    return std::to_string(year) + "-" + TwoDigits(month) + "-" + TwoDigits(day) + "T" +
           TwoDigits(inDay / 3600) + ":" + TwoDigits(inDay / 60 % 60) + ":" +
           TwoDigits(inDay % 60) + "Z";
}

}  // namespace site
