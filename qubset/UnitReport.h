// What --write, --set and a bench share of saying how a write went: the result words, the
// report that becomes the text or the JSON output, and the steps from a file to a verdict.
#pragma once

#include <filesystem>
#include <nlohmann/json.hpp>
#include <string>

#include "device/DeviceData.h"
#include "device/Verify.h"
#include "qubset/UnitCommands.h"
#include "site/SiteFile.h"

namespace unitreport {

using Json = nlohmann::ordered_json;

// The words of the "result" field, one for each way a command ends.
namespace result {
inline constexpr const char* kSaved = "saved";
inline constexpr const char* kVerified = "verified";
inline constexpr const char* kDiffers = "differs";
inline constexpr const char* kNotVerified = "not verified";
inline constexpr const char* kDryRun = "dry run";
inline constexpr const char* kRefused = "refused";
inline constexpr const char* kOtherUnit = "other unit";
inline constexpr const char* kNoUnit = "no unit";
inline constexpr const char* kBadFile = "bad file";
inline constexpr const char* kLinkLost = "link lost";
}  // namespace result

// What a command found, said as text or as one JSON object at the end.
struct Report {
    int status = kDoneStatus;
    const char* result = result::kSaved;
    std::string message;  // the text output's lines
    std::string problem;  // what went wrong, for stderr
    Json unit;
    Json differences = Json::array();
    Json changes;  // a dry run's
};

std::string Utf8(const std::string& ansi);
Json UnitOf(const DeviceData& data);
CommandOutput Output(const Report& report, const CommandLine& command, const std::string& notes);
void Fail(Report& report, int status, const char* result, const std::string& why);
// The language file's code, as the welcome page reads it.
unsigned LangCode(const std::filesystem::path& langFile);
// The site file of --write, read as "Open site file..." reads it: an edited one is used as it
// stands, after a word on it.
bool OpenFile(const std::string& path, site::SiteFile* file, Report& report, std::string* notes);
// The record --write or --set would write: the unit's, with the file laid over it as the
// communication page lays it, and the language's code in it. What the unit lacks is skipped
// with a word from --write, and refused from --set, which names only what is to change.
bool Applied(const CommandLine& command, const site::SiteFile& file, DeviceData& record,
             unsigned langCode, Report& report, std::string* notes);
// The report of a write's outcome.
void Outcome(WriteOutcome outcome, const fields::Verdict& verdict, const UnitEnvironment& env,
             Report& report);

}  // namespace unitreport
