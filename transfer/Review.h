// Knowing what is written: the fields an upload will change, in the installer's terms, and the
// handover record of a configuration as one printable HTML page. Both come from the named-field
// table; the language file names pages and fields where the pages have names of their own.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "device/EventCatalogue.h"
#include "device/Fields.h"
#include "device/Verify.h"

struct DeviceData;

// The review's own texts: a language section and the English built in for files without it.
struct ReviewText {
    std::string_view section;
    std::string_view english;
};
namespace review {
inline constexpr ReviewText kChangesButton{"1200", "Changes..."};
inline constexpr ReviewText kReportButton{"1201", "Report..."};
inline constexpr ReviewText kManyChange{"1202", "%1 fields will change in the unit on Finish."};
inline constexpr ReviewText kOneChanges{"1203", "1 field will change in the unit on Finish."};
inline constexpr ReviewText kNoneChange{"1204",
                                        "No field will change: the unit keeps what it has."};
inline constexpr ReviewText kChangesCaption{"1205", "Changes"};
// Without a unit, Finish saves a file: the changes are against the file opened.
inline constexpr ReviewText kManyDiffer{"1306", "%1 fields differ from the opened file."};
inline constexpr ReviewText kOneDiffers{"1307", "1 field differs from the opened file."};
inline constexpr ReviewText kNoneDiffers{"1308", "No field differs from the opened file."};
inline constexpr ReviewText kChangesHeading{"1206", "What Finish will change in the unit:"};
inline constexpr ReviewText kFileChangesHeading{"1309", "What differs from the opened file:"};
inline constexpr ReviewText kSecretChanged{"1207", "changed"};
inline constexpr ReviewText kOn{"1208", "on"};
inline constexpr ReviewText kOff{"1209", "off"};
inline constexpr ReviewText kEmpty{"1210", "(empty)"};
inline constexpr ReviewText kNotShown{"1211", "(not shown)"};
inline constexpr ReviewText kReportTitle{"1212", "Handover record"};
inline constexpr ReviewText kUnit{"1213", "Unit"};
inline constexpr ReviewText kModel{"1214", "Model"};
inline constexpr ReviewText kIdentity{"1215", "Identity"};
inline constexpr ReviewText kFirmware{"1216", "Firmware"};
inline constexpr ReviewText kRecordVersion{"1217", "Record version"};
inline constexpr ReviewText kProgram{"1218", "Program"};
inline constexpr ReviewText kDate{"1219", "Date"};
inline constexpr ReviewText kSessionChanges{"1220", "Changes in this session"};
inline constexpr ReviewText kField{"1221", "Setting"};
inline constexpr ReviewText kValue{"1222", "Value"};
inline constexpr ReviewText kBefore{"1223", "Before"};
inline constexpr ReviewText kAfter{"1224", "After"};
inline constexpr ReviewText kReportFilter{"1225", "Handover record (*.html)"};
inline constexpr ReviewText kReportFailed{"1226", "The handover record cannot be written to %1."};
inline constexpr ReviewText kPageCommunication{"1227", "Communication"};
inline constexpr ReviewText kPageEnd{"1228", "End"};
inline constexpr ReviewText kPagePinCode{"1229", "PIN code"};
inline constexpr ReviewText kPageConnection{"1230", "Connection"};
inline constexpr ReviewText kNotInstalled{"1231", "not in use"};
inline constexpr ReviewText kVerified{"1250", "Verified: the unit holds every field written."};
inline constexpr ReviewText kDiffers{"1251", "The unit does not hold what was written in: %1"};
inline constexpr ReviewText kDiffersHeading{"1252",
                                            "The unit accepted the upload, but read back it "
                                            "holds these fields otherwise:"};
inline constexpr ReviewText kNotVerified{"1253",
                                         "Not verified: the unit accepted the upload, but it "
                                         "could not be read back. What it holds is not known."};
inline constexpr ReviewText kWritten{"1254", "written"};
inline constexpr ReviewText kHeld{"1255", "the unit holds"};
inline constexpr ReviewText kSecretDiffers{"1256", "differs"};
inline constexpr ReviewText kVerification{"1257", "Read back after writing"};
}  // namespace review

std::string ReviewLangText(const std::filesystem::path& langFile, ReviewText text);

// One field as the installer knows it: its page, its label, and a value.
struct FieldWords {
    std::string page;
    std::string field;
};
FieldWords DescribeField(const fields::Field& field, const std::filesystem::path& langFile);
// A value as the page shows it: flags on or off, events by name where the unit named them,
// an empty text as such. Never a secret's value.
std::string DescribeValue(const fields::Field& field, const std::string& value,
                          const EventNames& names, const std::filesystem::path& langFile);

// The sentence the end page shows before Finish.
std::string ChangeCountText(std::size_t count, const std::filesystem::path& langFile,
                            bool againstFile = false);
// One line a change, "page, field: before -> after" (a secret: "changed"), or the sentence
// that nothing changes.
std::string ChangesText(const std::vector<fields::FieldChange>& changes, const EventNames& names,
                        const std::filesystem::path& langFile);

// An upload's verdict in one sentence, as the end page shows it (Differs names the fields).
std::string VerdictLine(const fields::Verdict& verdict, const std::filesystem::path& langFile);
// The verdict whole: the sentence, and for Differs one line a field, "page, field: written
// ..., the unit holds ..." (a secret: "differs").
std::string VerdictText(const fields::Verdict& verdict, const EventNames& names,
                        const std::filesystem::path& langFile);

struct HandoverInput {
    const DeviceData& record;  // the configuration handed over
    std::vector<fields::FieldChange> changes;
    EventNames names;
    std::filesystem::path langFile;
    std::string programVersion;
    std::string date;
    const fields::Verdict* verdict = nullptr;  // the upload's, once there is one
};
// Now, in local time, as the handover record gives its date.
std::string HandoverDate();
// The handover record: one HTML page in UTF-8 that opens offline and prints on A4. No script,
// nothing fetched; passwords, codes and the PIN never shown.
std::string HandoverReport(const HandoverInput& input);
