#include "site/SiteFile.h"

#include <chrono>
#include <cstdio>
#include <memory>
#include <nlohmann/json.hpp>

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

std::string FieldHash(const std::string& name, const std::string& value) {
    return Sha256Hex(name + '\0' + value).substr(0, kFieldHashDigits);
}

std::string ValuesHash(const SiteFile& file) {
    std::string all;
    for (const auto& [name, value] : file.values) all += name + '\0' + value + '\0';
    return Sha256Hex(all);
}

bool ReadText(const Json& object, const char* key, std::string* text) {
    const auto it = object.find(key);
    if (it == object.end() || !it->is_string()) return false;
    *text = it->get<std::string>();
    return true;
}

bool ReadHeader(const Json& root, SiteFile* file, std::string* error) {
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
    if (version->get<long long>() != kFormatVersion) {
        *error = "its format version " + std::to_string(version->get<long long>()) +
                 " is not the one this program reads (" + std::to_string(kFormatVersion) + ")";
        return false;
    }
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
    for (const auto& [name, value] : values->items()) {
        if (!value.is_string()) {
            *error = "the value of " + name + " is not a text";
            return false;
        }
        file->values.emplace_back(name, value.get<std::string>());
    }
    return true;
}

// Sound when the hashes match the values; else the first field whose own hash differs, or
// damage when none does (the hashes themselves were touched).
void CheckHashes(const Json& root, Opened* opened) {
    const auto check = root.find("check");
    std::string sum;
    if (check == root.end() || !check->is_object() || !ReadText(*check, "sha256", &sum) ||
        !check->contains("fields") || !(*check)["fields"].is_object()) {
        opened->soundness = Soundness::Damaged;
        opened->problem = "its check sums are missing";
        return;
    }
    if (sum == ValuesHash(opened->file)) return;
    const Json& hashes = (*check)["fields"];
    for (const auto& [name, value] : opened->file.values) {
        const auto it = hashes.find(name);
        if (it == hashes.end() || !it->is_string() || *it != FieldHash(name, value)) {
            opened->soundness = Soundness::Edited;
            opened->problem = name;
            return;
        }
    }
    for (const auto& [name, hash] : hashes.items())
        if (!ValueOf(opened->file, name)) {
            opened->soundness = Soundness::Edited;
            opened->problem = name;
            return;
        }
    opened->soundness = Soundness::Damaged;
    opened->problem = "its check sum does not match its values";
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

std::string Serialize(const SiteFile& file) {
    Json values = Json::object();
    Json hashes = Json::object();
    for (const auto& [name, value] : file.values) {
        values[name] = value;
        hashes[name] = FieldHash(name, value);
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
    root["check"] = {{"sha256", ValuesHash(file)}, {"fields", std::move(hashes)}};
    // Texts that are not valid UTF-8 come out as U+FFFD rather than ending the program.
    return root.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
}

bool ParseSiteFile(std::string_view text, Opened* opened, std::string* error) {
    *opened = {};
    if (text.size() > kMaxFileBytes) {
        *error = "it is larger than a site file can be";
        return false;
    }
    const Json root = Json::parse(text, nullptr, false);
    if (root.is_discarded()) {
        *error = "it is not valid JSON (damaged or cut short)";
        return false;
    }
    if (!ReadHeader(root, &opened->file, error) || !ReadValues(root, &opened->file, error))
        return false;
    CheckHashes(root, opened);
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
    // Worked on a copy, so that a refusal halfway leaves the unit's record untouched.
    auto work = std::make_unique<DeviceData>(data);
    for (const fields::Field& f : fields::NamedFields()) {
        const std::string* value = ValueOf(file, f.name);
        if (!value || !fields::InRecord(f)) continue;
        if (!fields::HasField(f, data.versionByte())) {
            report.skipped.push_back(f.name);
            continue;
        }
        std::string ansi;
        fields::SetResult result = fields::SetResult::Done;
        if (!ui::AnsiOfUtf8(*value, &ansi)) {
            report.refusal = ApplyReport::Refusal::NotInCodePage;
        } else if ((result = fields::SetFieldValue(*work, f, ansi)) != fields::SetResult::Done) {
            report.refusal = RefusalOf(result);
        }
        if (report.refusal != ApplyReport::Refusal::None) {
            report.field = f.name;
            report.applied = 0;
            report.skipped.clear();
            return report;
        }
        ++report.applied;
    }
    for (const auto& [name, value] : file.values) {
        const fields::Field* f = fields::FindField(name);
        if (!f || !fields::InRecord(*f)) report.skipped.push_back(name);
    }
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

std::vector<std::string> DifferingFields(const SiteFile& a, const SiteFile& b) {
    std::vector<std::string> names;
    for (const auto& [name, value] : a.values) {
        const std::string* other = ValueOf(b, name);
        if (!other || *other != value) names.push_back(name);
    }
    for (const auto& [name, value] : b.values)
        if (!ValueOf(a, name)) names.push_back(name);
    return names;
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
