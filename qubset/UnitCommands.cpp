#include "qubset/UnitCommands.h"

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <nlohmann/json.hpp>
#include <set>
#include <thread>

#include "app/LangFile.h"
#include "app/Profile.h"
#include "app/Welcom.h"
#include "device/Fields.h"
#include "device/Secrets.h"
#include "link/SerialLine.h"
#include "link/WireTrace.h"
#include "site/Sha256.h"
#include "site/SiteFile.h"
#include "transfer/Review.h"
#include "transfer/Upload.h"
#include "ui/CodePage.h"
#include "ui/Services.h"

namespace {

using Json = nlohmann::ordered_json;

// The words of the "result" field, one for each way a command ends.
namespace result {
constexpr const char* kSaved = "saved";
constexpr const char* kVerified = "verified";
constexpr const char* kDiffers = "differs";
constexpr const char* kNotVerified = "not verified";
constexpr const char* kDryRun = "dry run";
constexpr const char* kRefused = "refused";
constexpr const char* kOtherUnit = "other unit";
constexpr const char* kNoUnit = "no unit";
constexpr const char* kBadFile = "bad file";
constexpr const char* kLinkLost = "link lost";
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

std::string Utf8(const std::string& ansi) {
    return ui::Utf8OfAnsi(ansi);
}

Json UnitOf(const DeviceData& data) {
    return {{"model", Utf8(data.modelText())},
            {"id", Utf8(data.idText())},
            {"firmware", Utf8(data.firmwareText())},
            {"record_version", data.versionByte()}};
}

// A value for the JSON output: secrets masked unless asked for.
std::string Shown(const fields::Field& field, const std::string& value, bool withSecrets) {
    const std::string utf8 = Utf8(value);
    return field.secret && !withSecrets ? fields::MaskedText(utf8) : utf8;
}

CommandOutput Output(const Report& report, const CommandLine& command, const std::string& notes) {
    CommandOutput output;
    output.status = report.status;
    output.err = notes + report.problem;
    if (!command.json) {
        output.out = report.message;
        return output;
    }
    Json json = {{"status", report.status}, {"result", report.result}};
    if (!report.unit.is_null()) json["unit"] = report.unit;
    json["differences"] = report.differences;
    if (!report.changes.is_null()) json["changes"] = report.changes;
    if (!report.problem.empty())
        json["message"] = report.problem.substr(0, report.problem.size() - 1);
    output.out = json.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
    return output;
}

void Fail(Report& report, int status, const char* result, const std::string& why) {
    report.status = status;
    report.result = result;
    report.problem = why + "\n";
}

unsigned LangCode(const std::filesystem::path& langFile) {
    unsigned code = 0;
    ParseLangCode(ReadSectionLine(langFile, "LANG_CODE", kTextBuffer), &code);
    return code;
}

// The site file of --write, read as "Open site file..." reads it: an edited one is used as it
// stands, after a word on it.
bool OpenFile(const std::string& path, site::SiteFile* file, Report& report, std::string* notes) {
    site::Opened opened;
    std::string error;
    if (!site::ReadSiteFile(path, &opened, &error)) {
        Fail(report, kUsageStatus, result::kBadFile, path + ": " + error);
        return false;
    }
    if (opened.soundness == site::Soundness::Damaged) {
        Fail(report, kUsageStatus, result::kBadFile, path + ": " + opened.problem);
        return false;
    }
    if (opened.soundness == site::Soundness::Edited)
        *notes += path + ": changed after it was saved, first at " + opened.problem +
                  "; its values are used as they stand\n";
    *file = std::move(opened.file);
    return true;
}

// --set's names, checked before any unit is touched.
bool KnownFields(const CommandLine& command, Report& report) {
    for (const auto& [name, value] : command.assignments) {
        const fields::Field* field = fields::FindField(name);
        if (!field || !fields::InRecord(*field)) {
            Fail(report, kUsageStatus, result::kRefused, "refused: there is no field " + name);
            return false;
        }
    }
    return true;
}

site::SiteFile AssignmentsFile(const CommandLine& command, const DeviceData& unit) {
    site::SiteFile file;
    file.unit.recordVersion = unit.versionByte();
    file.values = command.assignments;
    return file;
}

void Differences(const fields::Verdict& verdict, Report& report) {
    const std::string kSecret = "differs";
    for (const fields::Difference& d : verdict.differences) {
        const bool secret = d.field->secret;
        report.differences.push_back({{"field", d.field->name},
                                      {"written", secret ? kSecret : Utf8(d.written)},
                                      {"read", secret ? kSecret : Utf8(d.read)}});
    }
}

void Outcome(WriteOutcome outcome, const fields::Verdict& verdict, const UnitEnvironment& env,
             Report& report) {
    switch (outcome) {
        case WriteOutcome::Verified:
            report.result = result::kVerified;
            report.message = VerdictText(verdict, {}, env.langFile) + "\n";
            return;
        case WriteOutcome::Differs:
            report.status = kWrittenDiffersStatus;
            report.result = result::kDiffers;
            report.message = VerdictText(verdict, {}, env.langFile) + "\n";
            Differences(verdict, report);
            return;
        case WriteOutcome::NotVerified:
            report.status = kNotVerifiedStatus;
            report.result = result::kNotVerified;
            report.message = VerdictText(verdict, {}, env.langFile) + "\n";
            return;
        case WriteOutcome::Unchecked:
            report.status = kNotVerifiedStatus;
            report.result = result::kNotVerified;
            report.message = "Written; not read back (--no-verify).\n";
            return;
        case WriteOutcome::Refused:
            Fail(report, kUploadRefusedStatus, result::kRefused,
                 "the unit refused the upload, " + std::to_string(kUploadRetries + 1) + " times");
            return;
        case WriteOutcome::LinkLost:
            Fail(report, kLinkLostStatus, result::kLinkLost,
                 "the link was lost during the write: the unit did not answer the upload");
            return;
    }
}

void DryRun(const DeviceData& before, const DeviceData& after, const CommandLine& command,
            const UnitEnvironment& env, Report& report) {
    const auto changes = fields::ChangedFields(before, after);
    report.result = result::kDryRun;
    report.message = ChangesText(changes, {}, env.langFile) + "\n";
    report.changes = Json::array();
    for (const fields::FieldChange& c : changes)
        report.changes.push_back({{"field", c.field->name},
                                  {"before", Shown(*c.field, c.before, command.includePasswords)},
                                  {"after", Shown(*c.field, c.after, command.includePasswords)}});
}

// The record --write or --set would write: the unit's, with the file laid over it as the
// communication page lays it, and the language's code in it. What the unit lacks is skipped
// with a word from --write, and refused from --set, which names only what is to change.
bool Applied(const CommandLine& command, const site::SiteFile& file, DeviceData& record,
             unsigned langCode, Report& report, std::string* notes) {
    const site::ApplyReport applied = site::ApplyToRecord(record, file);
    if (applied.refusal != site::ApplyReport::Refusal::None) {
        Fail(report, kUsageStatus, result::kRefused, site::Describe(applied));
        return false;
    }
    if (!applied.skipped.empty()) {
        if (command.action == CommandLine::Action::Set) {
            Fail(report, kUsageStatus, result::kRefused,
                 "refused: this unit has no field " + applied.skipped.front());
            return false;
        }
        *notes += site::Describe(applied) + "\n";
    }
    record.setLanguageCode(static_cast<std::uint16_t>(langCode & 0xFFFF));
    return true;
}

void Read(const CommandLine& command, UnitSession& session, Report& report) {
    const site::SiteFile file =
        site::FromRecord(session.unitRecord(), command.includePasswords, site::UtcNow());
    const FileResult written =
        site::WriteSiteFile(command.files[0], file,
                            command.includePasswords ? FileAccess::Private : FileAccess::Shared);
    if (written != FileResult::Done) {
        Fail(report, kUsageStatus, result::kBadFile, command.files[0] + ": it cannot be written");
        return;
    }
    report.message = command.files[0] + ": saved\n";
}

void Write(const CommandLine& command, const site::SiteFile& file, UnitSession& session,
           const UnitEnvironment& env, Report& report, std::string* notes) {
    const DeviceData& unit = session.unitRecord();
    if (command.action == CommandLine::Action::Write && !command.clone &&
        file.unit.id != Utf8(unit.idText())) {
        Fail(report, kOtherUnitStatus, result::kOtherUnit,
             command.files[0] + " was saved from unit " + file.unit.id + ", this is unit " +
                 Utf8(unit.idText()) + " (--clone writes it all the same)");
        return;
    }
    auto record = std::make_unique<DeviceData>(unit);
    const unsigned langCode = LangCode(env.langFile);
    if (!Applied(command, file, *record, langCode, report, notes)) return;
    if (command.dryRun) {
        DryRun(unit, *record, command, env, report);
        return;
    }
    fields::Verdict verdict;
    Outcome(session.Write(*record, langCode, command.verify, &verdict), verdict, env, report);
}

// --- the bench: --each ---

constexpr std::size_t kMaxTableBytes = 4 * 1024 * 1024;
constexpr std::size_t kMaxLedgerBytes = 64 * 1024 * 1024;
constexpr auto kBenchPoll = std::chrono::milliseconds(500);
constexpr std::string_view kUnitIdColumn = "unit.id";
constexpr const char* kLedgerHeader = "time,unit id,model,firmware,file sha256,row,verdict\n";
constexpr std::size_t kLedgerIdColumn = 1, kLedgerVerdictColumn = 6;

// The values table: a header of field names, a row a unit.
struct ValuesTable {
    std::vector<std::string> names;
    std::vector<std::vector<std::string>> rows;
    int idColumn = -1;  // unit.id's column, or -1: rows are taken in order
};

// One CSV line: fields split at commas; a field in double quotes may hold commas, and "" for a
// quote. False for a quote left open.
bool SplitCsv(std::string_view line, std::vector<std::string>* fields) {
    fields->clear();
    std::string field;
    bool quoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (quoted && c == '"' && i + 1 < line.size() && line[i + 1] == '"') {
            field += '"';
            ++i;
        } else if (c == '"' && (quoted || field.empty())) {
            quoted = !quoted;
        } else if (c == ',' && !quoted) {
            fields->push_back(std::move(field));
            field.clear();
        } else {
            field += c;
        }
    }
    fields->push_back(std::move(field));
    return !quoted;
}

// The lines of a text, a CR before each line end dropped, blank lines left out.
std::vector<std::string_view> Lines(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const std::size_t end = std::min(text.find('\n'), text.size());
        std::string_view line = text.substr(0, end);
        if (line.ends_with('\r')) line.remove_suffix(1);
        if (!line.empty()) lines.push_back(line);
        text.remove_prefix(std::min(end + 1, text.size()));
    }
    return lines;
}

// `file` with a row's values over its own; an empty cell leaves the file's value.
site::SiteFile WithRow(const site::SiteFile& file, const ValuesTable& table, std::size_t row) {
    site::SiteFile combined = file;
    for (std::size_t i = 0; i < table.names.size(); ++i) {
        const std::string& value = table.rows[row][i];
        if (static_cast<int>(i) == table.idColumn || value.empty()) continue;
        auto at = std::find_if(combined.values.begin(), combined.values.end(),
                               [&](const auto& pair) { return pair.first == table.names[i]; });
        if (at != combined.values.end())
            at->second = value;
        else
            combined.values.emplace_back(table.names[i], value);
    }
    return combined;
}

// Reads the table and lays every row over a record of the file, before any unit is touched:
// an unknown field or a value that does not fit is refused, naming its row and field.
bool LoadTable(const std::string& path, const site::SiteFile& file, ValuesTable* table,
               std::string* why) {
    std::string text;
    if (ReadBoundedFile(path, kMaxTableBytes, &text) != FileResult::Done) {
        *why = path + ": it cannot be read";
        return false;
    }
    const auto lines = Lines(text);
    if (lines.empty() || !SplitCsv(lines[0], &table->names)) {
        *why = path + ": no header of field names";
        return false;
    }
    for (std::size_t i = 0; i < table->names.size(); ++i) {
        const std::string& name = table->names[i];
        const fields::Field* field = fields::FindField(name);
        if (name == kUnitIdColumn) {
            table->idColumn = static_cast<int>(i);
        } else if (!field || !fields::InRecord(*field)) {
            *why = path + ": refused: there is no field " + name;
            return false;
        }
    }
    auto record = std::make_unique<DeviceData>();
    if (!site::RecordOfFile(file, *record, why)) return false;
    for (std::size_t n = 1; n < lines.size(); ++n) {
        const std::string row = path + ": row " + std::to_string(n);
        std::vector<std::string> cells;
        if (!SplitCsv(lines[n], &cells) || cells.size() != table->names.size()) {
            *why = row + ": " + std::to_string(table->names.size()) + " values expected";
            return false;
        }
        table->rows.push_back(std::move(cells));
        auto work = std::make_unique<DeviceData>(*record);
        const site::ApplyReport applied =
            site::ApplyToRecord(*work, WithRow(file, *table, table->rows.size() - 1));
        if (applied.refusal != site::ApplyReport::Refusal::None) {
            *why = row + ": " + site::Describe(applied);
            return false;
        }
    }
    return true;
}

// The units the ledger has as verified.
std::set<std::string> VerifiedInLedger(const std::string& path) {
    std::set<std::string> verified;
    std::string text;
    if (path.empty() || ReadBoundedFile(path, kMaxLedgerBytes, &text) != FileResult::Done)
        return verified;
    std::vector<std::string> cells;
    for (const std::string_view line : Lines(text))
        if (SplitCsv(line, &cells) && cells.size() > kLedgerVerdictColumn &&
            cells[kLedgerVerdictColumn] == result::kVerified)
            verified.insert(cells[kLedgerIdColumn]);
    return verified;
}

// A modem text's first line (the model comes with the modem's "OK" after it): a ledger line is
// one line.
std::string FirstLine(const std::string& ansi) {
    return Utf8(ansi.substr(0, ansi.find_first_of("\r\n")));
}

std::string CsvField(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
    std::string quoted(1, '"');
    for (const char c : text) quoted.append(c == '"' ? 2 : 1, c);
    return quoted += '"';
}

bool AppendLedger(const std::string& path, const std::vector<std::string>& cells) {
    std::string text;
    const FileResult read = ReadBoundedFile(path, kMaxLedgerBytes, &text);
    if (read != FileResult::Done && read != FileResult::CannotOpen) return false;
    if (text.empty()) text = kLedgerHeader;
    for (std::size_t i = 0; i < cells.size(); ++i) {
        if (i) text += ',';
        text += CsvField(cells[i]);
    }
    text += '\n';
    return WriteWholeFile(path, text) == FileResult::Done;
}

// Waits for a unit on the cable other than `previous` (a cable pulled in between lets the same
// one count again). False when the bench is stopped or the wait runs out first.
bool WaitForUnit(UnitSession& session, const CommandLine& command, const UnitEnvironment& env,
                 std::string& previous) {
    const auto until = std::chrono::steady_clock::now() + env.unitWait;
    const UnitTarget target{command.port, {}, {}, 0};
    while (!env.stopped()) {
        std::string why;
        if (session.Connect(target, &why)) {
            if (Utf8(session.unitRecord().idText()) != previous) return true;
            session.Disconnect();
        } else {
            previous.clear();
        }
        if (env.unitWait.count() > 0 && std::chrono::steady_clock::now() >= until) return false;
        std::this_thread::sleep_for(kBenchPoll);
    }
    return false;
}

// The row for this unit: its own by unit.id, else the first not used; -1 for none.
int RowFor(const ValuesTable& table, const std::vector<bool>& used, const std::string& id) {
    for (std::size_t i = 0; i < table.rows.size(); ++i)
        if (!used[i] && (table.idColumn < 0 || table.rows[i][table.idColumn] == id))
            return static_cast<int>(i);
    return -1;
}

void WriteHandover(const std::string& dir, const DeviceData& before, const DeviceData& written,
                   const fields::Verdict& verdict, const UnitEnvironment& env, std::string* notes) {
    const HandoverInput input{written,
                              fields::ChangedFields(before, written),
                              {},
                              env.langFile,
                              ToolVersionText(),
                              HandoverDate(),
                              &verdict};
    const std::filesystem::path path =
        std::filesystem::path(dir) / ui::PathFromText(Utf8(written.idText()) + ".html");
    if (WriteWholeFile(path, HandoverReport(input)) != FileResult::Done)
        *notes += path.string() + ": the handover record cannot be written\n";
}

// One unit of the bench, written with the file and its row; its report goes into `report`.
void BenchUnitWrite(const CommandLine& command, const site::SiteFile& file, UnitSession& session,
                    const UnitEnvironment& env, Report& report, std::string* notes) {
    const DeviceData& unit = session.unitRecord();
    report.unit = UnitOf(unit);
    if (!command.clone && file.unit.id != Utf8(unit.idText())) {
        Fail(report, kOtherUnitStatus, result::kOtherUnit,
             "the file was saved from unit " + file.unit.id + " (--clone writes it all the same)");
        return;
    }
    auto record = std::make_unique<DeviceData>(unit);
    const unsigned langCode = LangCode(env.langFile);
    if (!Applied(command, file, *record, langCode, report, notes)) return;
    fields::Verdict verdict;
    Outcome(session.Write(*record, langCode, command.verify, &verdict), verdict, env, report);
    if (!command.reportDir.empty() && report.status != kUploadRefusedStatus &&
        report.status != kLinkLostStatus)
        WriteHandover(command.reportDir, unit, *record, verdict, env, notes);
}

CommandOutput RunBench(const CommandLine& command, SerialLine& line, const UnitEnvironment& env) {
    Report bench;
    std::string notes;
    site::SiteFile file;
    ValuesTable table;
    std::string why, bytes;
    if (!OpenFile(command.files[0], &file, bench, &notes)) return Output(bench, command, notes);
    ReadBoundedFile(command.files[0], site::kMaxFileBytes, &bytes);
    const std::string hash = site::Sha256Hex(bytes);
    if (!command.valuesPath.empty() && !LoadTable(command.valuesPath, file, &table, &why)) {
        Fail(bench, kUsageStatus, result::kRefused, why);
        return Output(bench, command, notes);
    }
    std::vector<bool> used(table.rows.size(), false);
    std::set<std::string> verified = VerifiedInLedger(command.ledgerPath);
    UnitSession session(line, env.trace, env.progress, env.backupFolder);
    Json units = Json::array();
    std::string previous;
    int done = 0;
    bool anyUnit = false;  // came on the cable
    while (command.count == 0 || done < command.count) {
        if (!command.valuesPath.empty() && RowFor(table, used, {}) < 0 && table.idColumn < 0)
            break;  // the table's end
        if (!WaitForUnit(session, command, env, previous)) break;
        anyUnit = true;
        const std::string id = Utf8(session.unitRecord().idText());
        previous = id;
        const int row = command.valuesPath.empty() ? -1 : RowFor(table, used, id);
        if (verified.count(id) && !command.again) {
            notes += "unit " + id + " is in the ledger as verified: skipped (--again writes it)\n";
        } else if (!command.valuesPath.empty() && row < 0) {
            notes += "unit " + id + " has no row in " + command.valuesPath + ": skipped\n";
        } else {
            Report unit;
            BenchUnitWrite(command, row < 0 ? file : WithRow(file, table, row), session, env, unit,
                           &notes);
            session.Disconnect();
            const std::string rowText = row < 0 ? "" : std::to_string(row + 1);
            if (!command.ledgerPath.empty() &&
                !AppendLedger(
                    command.ledgerPath,
                    {site::UtcNow(), id, FirstLine(session.unitRecord().modelText()),
                     FirstLine(session.unitRecord().firmwareText()), hash, rowText, unit.result}))
                notes += command.ledgerPath + ": the ledger cannot be written\n";
            bench.message += id + ": " + unit.result + "\n";
            notes += unit.problem;
            units.push_back({{"id", id},
                             {"status", unit.status},
                             {"result", unit.result},
                             {"row", rowText},
                             {"differences", unit.differences}});
            if (unit.status == kDoneStatus) {
                if (row >= 0) used[static_cast<std::size_t>(row)] = true;
                verified.insert(id);
                ++done;
            } else if (bench.status == kDoneStatus) {
                bench.status = unit.status;
                bench.result = unit.result;
            }
        }
        session.Disconnect();
        if (env.progress) env.progress("next unit", 0);
        if (env.stopped()) break;
    }
    if (bench.status == kDoneStatus && done > 0)
        bench.result = result::kVerified;
    else if (bench.status == kDoneStatus)
        Fail(bench, kNoUnitStatus, result::kNoUnit,
             anyUnit ? "no unit was written" : "no unit came on the cable");
    CommandOutput output = Output(bench, command, notes);
    if (command.json) {
        Json json = Json::parse(output.out, nullptr, false);
        json["units"] = units;
        output.out = json.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
    }
    return output;
}
}  // namespace

CommandOutput RunUnitCommand(const CommandLine& command, SerialLine& line,
                             const UnitEnvironment& env) {
    if (command.each) return RunBench(command, line, env);
    Report report;
    std::string notes;
    site::SiteFile file;
    const bool writes = command.action != CommandLine::Action::Read;
    if (command.action == CommandLine::Action::Write &&
        !OpenFile(command.files[0], &file, report, &notes))
        return Output(report, command, notes);
    if (command.action == CommandLine::Action::Set && !KnownFields(command, report))
        return Output(report, command, notes);
    UnitSession session(line, env.trace, env.progress, writes ? env.backupFolder : "");
    std::string why;
    const UnitTarget target{command.port, command.dialNumber, command.dialPassword,
                            command.protocol};
    if (!session.Connect(target, &why)) {
        Fail(report, kNoUnitStatus, result::kNoUnit, why);
        return Output(report, command, notes);
    }
    report.unit = UnitOf(session.unitRecord());
    if (!writes)
        Read(command, session, report);
    else
        Write(command,
              command.action == CommandLine::Action::Set
                  ? AssignmentsFile(command, session.unitRecord())
                  : file,
              session, env, report, &notes);
    session.Disconnect();
    return Output(report, command, notes + session.notes());
}

namespace {

bool g_progressBar = false;
volatile std::sig_atomic_t g_interrupted = 0;

void Interrupted(int) {
    g_interrupted = 1;
}
constexpr int kBarWidth = 30;

// A line per step on stderr, or one line redrawn as a bar on a terminal.
void ShowProgress(std::string_view step, int percent) {
    if (!g_progressBar) {
        std::fprintf(stderr, "%.*s\n", static_cast<int>(step.size()), step.data());
        return;
    }
    const int filled = percent * kBarWidth / 100;
    std::fprintf(stderr, "\r[%s%s] %3d%% %-40.40s", std::string(filled, '#').c_str(),
                 std::string(kBarWidth - filled, ' ').c_str(), percent, std::string(step).c_str());
    if (percent >= 100) std::fputc('\n', stderr);
    std::fflush(stderr);
}

// The language file the wizard would start with: the stored one among those in the current
// folder, by the start of its name as the welcome page finds it, else the first.
std::filesystem::path LanguageOfSettings() {
    std::error_code error;
    const std::filesystem::path folder = std::filesystem::current_path(error);
    const std::vector<std::string> languages = ListLanguages(folder);
    const std::string stored = GetProfileString(kSettingSection, kLanguageValue, "English");
    auto lower = [](std::string text) {
        for (char& c : text)
            if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + ('a' - 'A'));
        return text;
    };
    for (const std::string& language : languages)
        if (lower(language).starts_with(lower(stored)))
            return folder / ui::PathFromText(language + ".ini");
    if (languages.empty()) return {};
    return folder / ui::PathFromText(languages.front() + ".ini");
}

}  // namespace

CommandOutput RunOnUnit(const CommandLine& command, const std::string& program) {
    WireTrace trace;
    std::string why;
    const auto secrets =
        command.traceSecrets ? WireTrace::Secrets::Shown : WireTrace::Secrets::Masked;
    if (!command.tracePath.empty() && !trace.Open(command.tracePath, &why, secrets))
        return {kUsageStatus,
                {},
                program + ": cannot write the trace file " + command.tracePath + ": " + why + "\n"};
    // Setting/Verify=0 turns the read-back off here too, as in the wizard.
    CommandLine asked = command;
    asked.verify = command.verify && GetProfileInt(kSettingSection, kVerifyValue, 1) != 0;
    const auto line = MakePlatformSerialLine(ReadPortSettings());
    UnitEnvironment env{ShowProgress, BackupFolder(), LanguageOfSettings(),
                        trace.IsOpen() ? &trace : nullptr};
    // Ctrl+C ends a bench between two units, never within a write.
    if (command.each) {
        std::signal(SIGINT, Interrupted);
        env.stopped = [] { return g_interrupted != 0; };
    }
    return RunUnitCommand(asked, *line, env);
}

void DrawProgressBar(bool bar) {
    g_progressBar = bar;
}
