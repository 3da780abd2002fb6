#include "qubset/SiteCommands.h"

#include <algorithm>
#include <memory>
#include <nlohmann/json.hpp>

#include "device/DeviceData.h"
#include "device/Fields.h"
#include "device/SafeFile.h"
#include "device/Secrets.h"
#include "qubset/CommandLine.h"
#include "site/SiteFile.h"
#include "transfer/Review.h"

namespace {

constexpr unsigned char kLastControl = 0x1F, kDelete = 0x7F;
// U+0080 to U+009F, the C1 controls, in UTF-8: this lead byte and a second byte in this range.
constexpr unsigned char kC1Lead = 0xC2, kC1First = 0x80, kC1Last = 0x9F;

void AddEscaped(std::string& into, unsigned char c) {
    constexpr char kDigits[] = "0123456789ABCDEF";
    into += "\\x";
    into += kDigits[c >> 4];
    into += kDigits[c & 0xF];
}

// A text of a file as a terminal may be given it: its control characters (a NUL, an escape
// sequence's start) as \xNN and a backslash doubled, so that what is shown reads one way only.
std::string Printable(std::string_view text) {
    std::string shown;
    shown.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        const unsigned char next =
            i + 1 < text.size() ? static_cast<unsigned char>(text[i + 1]) : 0;
        if (c == kC1Lead && next >= kC1First && next <= kC1Last) {
            AddEscaped(shown, c);
            AddEscaped(shown, next);
            ++i;
        } else if (c <= kLastControl || c == kDelete) {
            AddEscaped(shown, c);
        } else {
            if (c == '\\') shown += '\\';
            shown += static_cast<char>(c);
        }
    }
    return shown;
}

// A value as --show and --diff print it: a secret masked unless asked for.
std::string Shown(const std::string& name, const std::string& value, bool withPasswords) {
    const fields::Field* f = fields::FindField(name);
    return Printable(f && f->secret && !withPasswords ? fields::MaskedText(value) : value);
}

bool Open(const std::string& path, site::Opened* opened, CommandOutput* output) {
    std::string error;
    if (site::ReadSiteFile(ArgumentPath(path), opened, &error)) return true;
    output->status = kUnsoundStatus;
    output->err += path + ": " + Printable(error) + "\n";
    return false;
}

// Empty for a sound file, else what is wrong with it.
std::string Unsoundness(const site::Opened& opened) {
    switch (opened.soundness) {
        case site::Soundness::Edited:
            return "changed after it was saved, first at " + Printable(opened.problem);
        case site::Soundness::Damaged:
            return "damaged: " + Printable(opened.problem);
        case site::Soundness::Sound:
            break;
    }
    return {};
}

std::string Quoted(const std::string& name, const std::string* value, bool withPasswords) {
    if (!value) return "(absent)";
    std::string quoted = "\"";
    quoted += Shown(name, *value, withPasswords);
    return quoted += '"';
}

using Json = nlohmann::ordered_json;

// --json: the output as one object, its "status" the exit status and "result" a word for it;
// what went to stderr goes in as "message" too.
CommandOutput AsJson(CommandOutput output, const char* result, Json found = Json::object()) {
    Json json = {{"status", output.status}, {"result", result}};
    json.update(found);
    if (!output.err.empty()) json["message"] = output.err.substr(0, output.err.size() - 1);
    output.out = json.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
    return output;
}

Json UnitOf(const site::SiteFile& f) {
    return {{"model", f.unit.model},
            {"id", f.unit.id},
            {"firmware", f.unit.firmware},
            {"record_version", f.unit.recordVersion}};
}

// A value as --json gives it: unescaped, a secret masked unless asked for.
Json JsonValue(const std::string& name, const std::string* value, bool withPasswords) {
    if (!value) return nullptr;
    const fields::Field* f = fields::FindField(name);
    return f && f->secret && !withPasswords ? fields::MaskedText(*value) : *value;
}

constexpr const char* kBadFile = "bad file";

}  // namespace

CommandOutput ShowSiteFile(const std::string& path, bool withPasswords, bool json) {
    CommandOutput output;
    site::Opened opened;
    if (!Open(path, &opened, &output)) return json ? AsJson(output, kBadFile) : output;
    const site::SiteFile& f = opened.file;
    if (json) {
        Json values = Json::object();
        for (const auto& [name, value] : f.values)
            values[name] = JsonValue(name, &value, withPasswords);
        if (const std::string problem = Unsoundness(opened); !problem.empty())
            output.err += path + ": warning: " + problem + "\n";
        return AsJson(output, "shown",
                      {{"unit", UnitOf(f)},
                       {"saved", f.savedAt},
                       {"program_version", f.programVersion},
                       {"values", values}});
    }
    if (const std::string problem = Unsoundness(opened); !problem.empty())
        output.err += path + ": warning: " + problem + "\n";
    output.out += "Unit: " + Printable(f.unit.model) + ", id " + Printable(f.unit.id) +
                  ", firmware " + Printable(f.unit.firmware) + ", record version " +
                  std::to_string(f.unit.recordVersion) + "\nSaved: " + Printable(f.savedAt) +
                  " by Qubset " + Printable(f.programVersion) + "\n\n";
    std::vector<std::pair<std::string, std::string>> rows;
    std::size_t width = 5;
    for (const auto& [name, value] : f.values) {
        rows.emplace_back(Printable(name), Shown(name, value, withPasswords));
        width = std::max(width, rows.back().first.size());
    }
    output.out += "field" + std::string(width - 5 + 2, ' ') + "value\n";
    for (const auto& [name, value] : rows)
        output.out += name + std::string(width - name.size() + 2, ' ') + value + "\n";
    return output;
}

CommandOutput DiffSiteFiles(const std::string& first, const std::string& second, bool withPasswords,
                            bool json) {
    CommandOutput output;
    site::Opened a, b;
    if (!Open(first, &a, &output) || !Open(second, &b, &output))
        return json ? AsJson(output, kBadFile) : output;
    const std::vector<site::Difference> differences = site::DifferingFields(a.file, b.file);
    if (json) {
        output.status = differences.empty() ? 0 : kDiffersStatus;
        Json list = Json::array();
        for (const site::Difference& d : differences)
            list.push_back({{"field", d.name},
                            {"first", JsonValue(d.name, d.first, withPasswords)},
                            {"second", JsonValue(d.name, d.second, withPasswords)}});
        return AsJson(output, differences.empty() ? "same" : "differs", {{"differences", list}});
    }
    for (const site::Difference& d : differences)
        output.out += Printable(d.name) + ": " + Quoted(d.name, d.first, withPasswords) + " -> " +
                      Quoted(d.name, d.second, withPasswords) + "\n";
    output.status = differences.empty() ? 0 : kDiffersStatus;
    return output;
}

CommandOutput CheckSiteFile(const std::string& path, bool json) {
    CommandOutput output;
    site::Opened opened;
    if (!Open(path, &opened, &output)) return json ? AsJson(output, kBadFile) : output;
    const std::string problem = Unsoundness(opened);
    if (problem.empty()) {
        if (json) return AsJson(output, "sound", {{"unit", UnitOf(opened.file)}});
        output.out = path + ": sound\n";
        return output;
    }
    output.status = kUnsoundStatus;
    output.err = path + ": " + problem + "\n";
    return json ? AsJson(output, kBadFile, {{"unit", UnitOf(opened.file)}}) : output;
}

CommandOutput ReportSiteFile(const std::string& path, const std::string& out,
                             const std::string& langFile, const std::string& version,
                             const std::string& date) {
    CommandOutput output;
    site::Opened opened;
    if (!Open(path, &opened, &output)) return output;
    if (opened.soundness == site::Soundness::Damaged) {
        output.status = kUnsoundStatus;
        output.err = path + ": " + Unsoundness(opened) + "\n";
        return output;
    }
    if (opened.soundness == site::Soundness::Edited)
        output.err = path + ": warning: " + Unsoundness(opened) + "\n";
    auto record = std::make_unique<DeviceData>();
    std::string why;
    if (!site::RecordOfFile(opened.file, *record, &why)) {
        output.status = kUnsoundStatus;
        output.err += path + ": " + Printable(why) + "\n";
        return output;
    }
    const HandoverInput input{*record, {}, {}, langFile, version, date};
    if (WriteWholeFile(ArgumentPath(out), HandoverReport(input)) != FileResult::Done) {
        output.status = kUnsoundStatus;
        output.err += out + ": cannot be written\n";
        return output;
    }
    output.out = out + ": handover record of " + path + "\n";
    return output;
}
