#include "qubset/UnitCommands.h"

#include <csignal>
#include <cstdio>

#include "app/LangFile.h"
#include "app/Profile.h"
#include "device/Fields.h"
#include "device/Secrets.h"
#include "link/SerialLine.h"
#include "link/WireTrace.h"
#include "qubset/Bench.h"
#include "qubset/UnitReport.h"
#include "site/SiteFile.h"
#include "transfer/Review.h"
#include "transfer/Upload.h"
#include "ui/CodePage.h"
#include "ui/Services.h"

namespace unitreport {

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
void Differences(const fields::Verdict& verdict, Report& report) {
    const std::string kSecret = "differs";
    for (const fields::Difference& d : verdict.differences) {
        const bool secret = d.field->secret;
        report.differences.push_back({{"field", d.field->name},
                                      {"written", secret ? kSecret : Utf8(d.written)},
                                      {"read", secret ? kSecret : Utf8(d.read)}});
    }
}

// A write the unit took, as its read-back found it.
void ReadBackVerdict(const fields::Verdict& verdict, const UnitEnvironment& env, int status,
                     const char* result, Report& report) {
    report.status = status;
    report.result = result;
    report.message = VerdictText(verdict, {}, env.langFile) + "\n";
}

void Outcome(WriteOutcome outcome, const fields::Verdict& verdict, const UnitEnvironment& env,
             Report& report) {
    switch (outcome) {
        case WriteOutcome::Verified:
            ReadBackVerdict(verdict, env, kDoneStatus, result::kVerified, report);
            return;
        case WriteOutcome::Differs:
            ReadBackVerdict(verdict, env, kWrittenDiffersStatus, result::kDiffers, report);
            Differences(verdict, report);
            return;
        case WriteOutcome::NotVerified:
            ReadBackVerdict(verdict, env, kNotVerifiedStatus, result::kNotVerified, report);
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

}  // namespace unitreport

namespace {

using namespace unitreport;

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
bool g_barOpen = false;  // a bar is drawn and its line not ended
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
    g_barOpen = percent < 100;
    if (!g_barOpen) std::fputc('\n', stderr);
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
    CommandOutput output = RunUnitCommand(asked, *line, env);
    if (g_barOpen) std::fputc('\n', stderr);  // what follows starts a line of its own
    g_barOpen = false;
    return output;
}

void DrawProgressBar(bool bar) {
    g_progressBar = bar;
}
