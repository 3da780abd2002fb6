#include "qubset/Bench.h"

#include <algorithm>
#include <set>
#include <thread>

#include "app/Welcom.h"
#include "device/Fields.h"
#include "qubset/UnitReport.h"
#include "site/Sha256.h"
#include "site/SiteFile.h"
#include "transfer/Review.h"
#include "ui/Services.h"

using namespace unitreport;

namespace {

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

}  // namespace

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
