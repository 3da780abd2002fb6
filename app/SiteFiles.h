// What the wizard does with site files and backups: the connection page opens a file, each
// identification lays it over the record read, the end page saves one, and every upload is
// framed by backups. The pages call these and know nothing of the file's format.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include "device/EventCatalogue.h"
#include "ui/Window.h"

struct DeviceData;
namespace sim {
struct Unit;
}
namespace site {
struct SiteFile;
}

class CSiteFiles {
  public:
    CSiteFiles();
    ~CSiteFiles();

    // Asks for a file and keeps it for the identifications that follow; a file that cannot be
    // read, or is damaged, is refused with the reason.
    void Open(ui::Hwnd parent);
    // The same for a file named beforehand (the command line's).
    void Open(ui::Hwnd parent, const std::filesystem::path& path);
    bool HasFile() const { return m_file != nullptr; }
    // Where the file kept for the identifications came from; empty when none is kept.
    std::filesystem::path ChosenPath() const {
        return m_file ? m_filePath : std::filesystem::path();
    }
    // After an identification: lays the open file's values over the record the unit gave.
    // Returns what to tell the installer, "" for nothing.
    std::string Identified(DeviceData& data);
    // Reads the file at `path` (empty: asks for one) to edit without a unit, and makes the
    // unit it describes; false when none was chosen or it is refused (the reason told).
    bool OpenToEdit(ui::Hwnd parent, std::filesystem::path path, sim::Unit* unit);
    // The file's name being edited without a unit, "" for none.
    std::string EditedFileName() const;
    // Asks where, and saves the record as it will be written, with the event names when
    // given. The file edited without a unit is proposed, and keeps no passwords if it kept
    // none. True when the file was written.
    bool Save(ui::Hwnd parent, const DeviceData& data, bool withSecrets,
              const EventNames* names = nullptr);
    // Off for a unit whose record is worth no backup (the demo unit).
    void SetBackups(bool on) { m_bBackups = on; }
    // The record as read from the unit (the sheet's unitRecord), before an upload; after it,
    // the record the unit was read back as, or as written when it could not be; `source`
    // says which, in the file.
    void BackupBeforeUpload(ui::Hwnd parent, const DeviceData& data);
    void BackupAfterUpload(ui::Hwnd parent, const DeviceData& data, std::string_view source);

  private:
    void Backup(ui::Hwnd parent, const DeviceData& data, const char* stage,
                std::string_view source);

    // The file chosen, read and checked; nullptr when refused (the reason told) or none.
    std::unique_ptr<site::SiteFile> Choose(ui::Hwnd parent, std::filesystem::path* path);
    std::unique_ptr<site::SiteFile> Read(ui::Hwnd parent, const std::filesystem::path& path);

    std::unique_ptr<site::SiteFile> m_file;
    std::filesystem::path m_filePath;
    std::unique_ptr<site::SiteFile> m_edited;  // opened to edit without a unit
    std::filesystem::path m_editedPath;
    bool m_bBackups = true;
};
