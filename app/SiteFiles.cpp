#include "app/SiteFiles.h"

#include "app/MainSheet.h"
#include "app/Profile.h"
#include "app/UnitInProgram.h"
#include "device/DeviceData.h"
#include "device/Fields.h"
#include "site/Backup.h"
#include "site/SiteFile.h"
#include "ui/Services.h"

namespace {

struct SiteText {
    const char* section;
    const char* english;
};
// The messages' language sections, with the English words when the language file lacks one.
constexpr SiteText kFilter{"1103", "Qubset site file (*.qubsite)"};
constexpr SiteText kCaption{"1104", "Site file"};
constexpr SiteText kApplied{"1105", "Fields applied from the site file: %1"};
constexpr SiteText kSkipped{"1106", "Skipped, this unit has no such fields: %1"};
constexpr SiteText kOtherVersion{
    "1107",
    "The site file is refused: it is for record version %1, this unit has record version %2."};
constexpr SiteText kTooLong{"1108",
                            "The site file is refused: the value of %1 does not fit its place."};
constexpr SiteText kMalformed{"1109",
                              "The site file is refused: the value of %1 cannot be written."};
constexpr SiteText kNotInCodePage{
    "1110", "The site file is refused: the value of %1 holds a character the unit cannot store."};
constexpr SiteText kUnreadable{"1111", "The site file is refused: %1."};
constexpr SiteText kEdited{"1112",
                           "The site file was changed after it was saved, first at %1. Its "
                           "values are used as they stand."};
constexpr SiteText kSaved{"1113", "The site file was saved: %1"};
constexpr SiteText kNotSaved{"1114", "The site file cannot be written: %1"};
constexpr SiteText kNoBackup{"1115", "The backup cannot be written: %1"};

std::string Say(const SiteText& text, const std::string& first = {},
                const std::string& second = {}) {
    std::string said = AfxLangText(text.section);
    if (said.empty()) said = text.english;
    for (const auto& [mark, value] : {std::pair{"%1", first}, std::pair{"%2", second}})
        if (const auto at = said.find(mark); at != std::string::npos) said.replace(at, 2, value);
    return said;
}

void Tell(ui::Hwnd parent, const std::string& text, ui::MessageIcon icon) {
    ui::MessageBox(parent, text, Say(kCaption), icon);
}

ui::FileDialogOptions Dialog(std::string proposed) {
    return {site::kExtension,
            std::move(proposed),
            Say(kFilter),
            std::string("*.") + site::kExtension,
            {}};
}

std::string Refusal(const site::ApplyReport& report) {
    using Refusal = site::ApplyReport::Refusal;
    switch (report.refusal) {
        case Refusal::OtherVersion:
            return Say(kOtherVersion, std::to_string(report.fileVersion),
                       std::to_string(report.unitVersion));
        case Refusal::TooLong:
            return Say(kTooLong, report.field);
        case Refusal::Malformed:
            return Say(kMalformed, report.field);
        case Refusal::NotInCodePage:
            return Say(kNotInCodePage, report.field);
        case Refusal::None:
            break;
    }
    return {};
}

std::string FileProblem(FileResult result) {
    return result == FileResult::CannotOpen ? "it cannot be created" : "it cannot be written";
}

bool SameUnitAndValues(const site::SiteFile& a, const site::SiteFile& b) {
    return a.values == b.values && a.eventNames == b.eventNames &&
           a.unit.recordVersion == b.unit.recordVersion && a.unit.model == b.unit.model &&
           a.unit.id == b.unit.id && a.unit.firmware == b.unit.firmware;
}

bool HoldsSecrets(const site::SiteFile& file) {
    for (const auto& [name, value] : file.values)
        if (const fields::Field* f = fields::FindField(name); f && f->secret) return true;
    return false;
}

}  // namespace

CSiteFiles::CSiteFiles() = default;
CSiteFiles::~CSiteFiles() = default;

std::unique_ptr<site::SiteFile> CSiteFiles::Choose(ui::Hwnd parent, std::filesystem::path* path) {
    *path = ui::GetOpenFileName(parent, Dialog({}));
    if (path->empty()) return nullptr;
    return Read(parent, *path);
}

std::unique_ptr<site::SiteFile> CSiteFiles::Read(ui::Hwnd parent,
                                                 const std::filesystem::path& path) {
    site::Opened opened;
    std::string error;
    if (!site::ReadSiteFile(path, &opened, &error)) {
        Tell(parent, Say(kUnreadable, error), ui::MessageIcon::Error);
        return nullptr;
    }
    if (opened.soundness == site::Soundness::Damaged) {
        Tell(parent, Say(kUnreadable, opened.problem), ui::MessageIcon::Error);
        return nullptr;
    }
    if (opened.soundness == site::Soundness::Edited)
        Tell(parent, Say(kEdited, opened.problem), ui::MessageIcon::Exclamation);
    return std::make_unique<site::SiteFile>(std::move(opened.file));
}

void CSiteFiles::Open(ui::Hwnd parent) {
    std::filesystem::path path;
    auto file = Choose(parent, &path);
    // A file refused leaves none chosen, not the one before it.
    if (file || !path.empty()) {
        m_file = std::move(file);
        m_filePath = std::move(path);
    }
}

void CSiteFiles::Open(ui::Hwnd parent, const std::filesystem::path& path) {
    m_file = Read(parent, path);
    m_filePath = path;
}

bool CSiteFiles::OpenToEdit(ui::Hwnd parent, std::filesystem::path path, sim::Unit* unit) {
    auto file = path.empty() ? Choose(parent, &path) : Read(parent, path);
    if (!file) return false;
    std::string error;
    if (!UnitOfSiteFile(*file, unit, &error)) {
        Tell(parent, Say(kUnreadable, error), ui::MessageIcon::Error);
        return false;
    }
    m_edited = std::move(file);
    m_editedPath = std::move(path);
    return true;
}

std::string CSiteFiles::EditedFileName() const {
    return m_edited ? ui::TextFromPath(m_editedPath.filename()) : std::string();
}

std::string CSiteFiles::Identified(DeviceData& data) {
    if (!m_file) return {};
    const site::ApplyReport report = site::ApplyToRecord(data, *m_file);
    if (report.refusal != site::ApplyReport::Refusal::None) {
        m_file.reset();
        return Refusal(report);
    }
    std::string said = Say(kApplied, std::to_string(report.applied));
    if (report.skipped.empty()) return said;
    std::string names;
    for (const std::string& name : report.skipped) names += (names.empty() ? "" : ", ") + name;
    return said + "\n" + Say(kSkipped, names);
}

bool CSiteFiles::Save(ui::Hwnd parent, const DeviceData& data, bool withSecrets,
                      const EventNames* names) {
    if (m_edited && !HoldsSecrets(*m_edited)) withSecrets = false;
    site::SiteFile file = site::FromRecord(data, withSecrets, site::UtcNow());
    if (names)
        site::KeepEventNames(file, *names);
    else if (m_edited)
        file.eventNames = m_edited->eventNames;
    // Values saved as they were opened keep the time they were first saved at, so that
    // opening and saving again gives the same file.
    const site::SiteFile* opened = m_edited ? m_edited.get() : m_file.get();
    if (opened && SameUnitAndValues(file, *opened)) {
        file.savedAt = opened->savedAt;
        file.programVersion = opened->programVersion;
    }
    const auto path = ui::GetSaveFileName(
        parent, Dialog(m_edited ? ui::TextFromPath(m_editedPath.stem()) : std::string("site")));
    if (path.empty()) return false;
    const FileResult result =
        site::WriteSiteFile(path, file, withSecrets ? FileAccess::Private : FileAccess::Shared);
    if (result == FileResult::Done)
        Tell(parent, Say(kSaved, ui::TextFromPath(path)), ui::MessageIcon::Information);
    else
        Tell(parent, Say(kNotSaved, FileProblem(result)), ui::MessageIcon::Error);
    return result == FileResult::Done;
}

void CSiteFiles::BackupBeforeUpload(ui::Hwnd parent, const DeviceData& data) {
    Backup(parent, data, "before", {});
}

void CSiteFiles::BackupAfterUpload(ui::Hwnd parent, const DeviceData& data,
                                   std::string_view source) {
    Backup(parent, data, "after", source);
}

void CSiteFiles::Backup(ui::Hwnd parent, const DeviceData& data, const char* stage,
                        std::string_view source) {
    if (!m_bBackups) return;
    const auto folder = BackupFolder();
    std::filesystem::path written;
    const FileResult result = site::BackupRecord(folder, data, stage, source, &written);
    if (result != FileResult::Done)
        Tell(parent, Say(kNoBackup, FileProblem(result)), ui::MessageIcon::Error);
}
