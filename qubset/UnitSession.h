// A session with a unit without the wizard: it finds the unit as the wizard does, identifies
// it, reaches a remote unit through it when asked, and writes a record as Finish does, with
// the backups around the upload and the read-back after it. No toolkit: both mains use it.
#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "device/DeviceData.h"
#include "device/Verify.h"

class SerialLine;
class SerialPort;
class WireTrace;

// One step as it is taken, with how far the whole session is, 0..100.
using Progress = std::function<void(std::string_view step, int percent)>;

struct UnitTarget {
    int port = 0;            // COM<port> alone; 0: the wizard's search
    std::string dialNumber;  // the remote unit's, or none
    std::string dialPassword;
    int protocol = 0;
};

enum class WriteOutcome { Verified, Differs, NotVerified, Unchecked, Refused, LinkLost };

class UnitSession {
  public:
    // Backups go to `backupFolder`; none are made when it is empty.
    UnitSession(SerialLine& line, WireTrace* trace, Progress progress,
                std::filesystem::path backupFolder);
    ~UnitSession();
    UnitSession(const UnitSession&) = delete;
    UnitSession& operator=(const UnitSession&) = delete;

    // Finds the unit and identifies it (again, as the communication page does, with its
    // retries); with a number, dials the remote unit and identifies that one. False with the
    // reason when no unit answered or the call did not connect.
    bool Connect(const UnitTarget& target, std::string* why);
    // The record as the unit gave it.
    const DeviceData& unitRecord() const { return *m_unitRecord; }
    // What Finish does with `record`: the "before" backup of the unit's record, the image
    // with the language's code and the uploaded mark, the end page's retries, the read-back
    // and its verdict (unless `verify` is false), the "after" backup.
    WriteOutcome Write(DeviceData& record, unsigned langCode, bool verify,
                       fields::Verdict* verdict);
    // Lets the unit go and closes the port; the destructor does it too.
    void Disconnect();
    // What went wrong without stopping the session (a backup that could not be written).
    const std::string& notes() const { return m_notes; }

  private:
    void Say(std::string_view step, int percent) const;
    bool Identified(std::string* why);
    bool Dial(const UnitTarget& target, std::string* why);
    void Backup(const DeviceData& data, std::string_view stage, std::string_view source);

    SerialLine& m_line;
    WireTrace* m_trace;
    std::unique_ptr<SerialLine> m_searchLine;  // the line as the search sees it
    std::unique_ptr<SerialPort> m_port;
    Progress m_progress;
    std::filesystem::path m_backupFolder;
    std::unique_ptr<DeviceData> m_data;  // the buffers the exchanges fill
    std::unique_ptr<DeviceData> m_unitRecord;
    std::string m_notes;
    bool m_connected = false;
};
