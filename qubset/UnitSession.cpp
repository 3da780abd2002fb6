#include "qubset/UnitSession.h"

#include <chrono>
#include <thread>

#include "link/DeviceCommands.h"
#include "link/LinkAnswer.h"
#include "link/PortSearch.h"
#include "link/SerialPort.h"
#include "site/Backup.h"
#include "transfer/Upload.h"

namespace {

// As the communication page tries the identification again.
constexpr int kIdentifyRetries = 5;
// A remote call: the status asked for this often, and given up after this long.
constexpr auto kStatusCycle = std::chrono::milliseconds(600);
constexpr auto kDialWait = std::chrono::seconds(120);

// The line as the search sees it: every port it opens is said, and with a port named no other
// one is there.
class SearchLine : public SerialLine {
  public:
    SearchLine(SerialLine& line, int only, const Progress& progress)
        : m_line(line), m_only(only), m_progress(progress) {}

    void Rescan() override { m_line.Rescan(); }
    std::vector<int> FurtherPorts() const override {
        if (m_only == 0) return m_line.FurtherPorts();
        if (m_only > kLastComPort) return {m_only};
        return {};
    }
    bool Open(int comNumber) override {
        if (m_only != 0 && comNumber != m_only) return false;
        // Said only of the ports there are: most numbers have nothing behind them.
        if (!m_line.Open(comNumber)) return false;
        if (m_progress) m_progress("searching COM" + std::to_string(comNumber), 0);
        return true;
    }
    OpenFailure LastOpenFailure() const override { return m_line.LastOpenFailure(); }
    void Close() override { m_line.Close(); }
    bool IsOpen() const override { return m_line.IsOpen(); }
    void Configure() override { m_line.Configure(); }
    void SetTimeouts(const CommTimeouts& timeouts) override { m_line.SetTimeouts(timeouts); }
    int Read(std::uint8_t* buffer, std::size_t count) override {
        return m_line.Read(buffer, count);
    }
    bool Write(const std::uint8_t* buffer, std::size_t count) override {
        return m_line.Write(buffer, count);
    }
    void Abort() override { m_line.Abort(); }
    void ClearAbort() override { m_line.ClearAbort(); }

  private:
    SerialLine& m_line;
    int m_only;
    const Progress& m_progress;
};

enum class Call { Waiting, Connected, Ended };

// A status byte of a remote call, as the dialling page takes it.
Call CallState(std::int8_t status) {
    switch (status) {
        case dialstatus::kNothing:
        case dialstatus::kDialling:
        case dialstatus::kCheckPassword:
        case dialstatus::kDownloadParameters:
        case dialstatus::kDownloadInfo:
        case dialstatus::kDownloadEvents:
        case dialstatus::kDownloadFinished:
        case dialstatus::kPasswordError:
            return Call::Waiting;
        case dialstatus::kConnected:
            return Call::Connected;
        default:
            return Call::Ended;
    }
}

}  // namespace

UnitSession::UnitSession(SerialLine& line, WireTrace* trace, Progress progress,
                         std::filesystem::path backupFolder)
    : m_line(line),
      m_trace(trace),
      m_progress(std::move(progress)),
      m_backupFolder(std::move(backupFolder)),
      m_data(std::make_unique<DeviceData>()),
      m_unitRecord(std::make_unique<DeviceData>()) {}

UnitSession::~UnitSession() {
    Disconnect();
}

void UnitSession::Say(std::string_view step, int percent) const {
    if (m_progress) m_progress(step, percent);
}

bool UnitSession::Connect(const UnitTarget& target, std::string* why) {
    Disconnect();
    m_port.reset();  // before the line it works on
    m_searchLine = std::make_unique<SearchLine>(m_line, target.port, m_progress);
    m_port = std::make_unique<SerialPort>(*m_searchLine, m_trace);
    m_searchLine->Rescan();
    if (!LinkAnswer::Of(LinkResult::Scanned, FindDevice(*m_port, *m_data)).ok) {
        *why = target.port ? "no unit answers on COM" + std::to_string(target.port)
                           : "no unit answers on any serial port";
        return false;
    }
    m_connected = true;
    if (!Identified(why)) return false;
    if (target.dialNumber.empty()) return true;
    return Dial(target, why) && Identified(why);
}

// The identification the communication page asks for, tried again as it does.
bool UnitSession::Identified(std::string* why) {
    for (int attempt = 0; attempt <= kIdentifyRetries; ++attempt) {
        if (!LinkAnswer::Of(LinkResult::Identified, Identify(*m_port, *m_data)).ok) continue;
        *m_unitRecord = *m_data;
        // The model's first line: the modem's "OK" follows it.
        const std::string model = m_data->modelText();
        Say("identified " + model.substr(0, model.find_first_of("\r\n")) + " " + m_data->idText() +
                ", firmware " + m_data->firmwareText(),
            20);
        return true;
    }
    *why = "the unit on COM" + std::to_string(m_port->comNumber()) + " cannot be identified";
    return false;
}

bool UnitSession::Dial(const UnitTarget& target, std::string* why) {
    Say("dialling " + target.dialNumber, 10);
    BuildDialRequest(*m_data, target.dialNumber, target.dialPassword,
                     static_cast<std::uint8_t>(target.protocol));
    const auto until = std::chrono::steady_clock::now() + kDialWait;
    int status = SendDialRequest(*m_port, *m_data);
    while (CallState(static_cast<std::int8_t>(status)) == Call::Waiting) {
        if (std::chrono::steady_clock::now() > until) {
            *why = "the call to " + target.dialNumber + " did not connect in time";
            return false;
        }
        const auto asked = std::chrono::steady_clock::now();
        status = WaitStatus(*m_port);
        std::this_thread::sleep_until(asked + kStatusCycle);
    }
    if (CallState(static_cast<std::int8_t>(status)) == Call::Connected) return true;
    *why = "the call to " + target.dialNumber + " ended with status " + std::to_string(status);
    return false;
}

void UnitSession::Backup(const DeviceData& data, std::string_view stage, std::string_view source) {
    if (m_backupFolder.empty()) return;
    std::filesystem::path written;
    if (site::BackupRecord(m_backupFolder, data, stage, source, &written) == FileResult::Done) {
        Say("backed up to " + written.string(), stage == "before" ? 40 : 100);
        return;
    }
    m_notes.append("the ").append(stage);
    m_notes += " backup cannot be written in " + m_backupFolder.string() + "\n";
}

WriteOutcome UnitSession::Write(DeviceData& record, unsigned langCode, bool verify,
                                fields::Verdict* verdict) {
    Backup(*m_unitRecord, "before", {});
    ImageBuffer image;
    BuildUploadImage(record, image, record.slotText(layout::kSlotEndPageText1),
                     record.slotText(layout::kSlotEndPageText2), langCode);
    LinkAnswer upload;
    for (int attempt = 0; attempt <= kUploadRetries && !upload.ok; ++attempt) {
        Say(attempt == 0 ? "writing" : "writing again", 50);
        upload = LinkAnswer::Of(LinkResult::Uploaded, SendConfiguration(*m_port, record));
    }
    if (!upload.ok) {
        // As the end page leaves it: the link counts as lost, nothing more is sent.
        m_connected = false;
        return upload.value == exchange::kRefused ? WriteOutcome::Refused : WriteOutcome::LinkLost;
    }
    if (!verify) {
        Backup(record, "after", {});
        return WriteOutcome::Unchecked;
    }
    Say("verifying", 70);
    auto readBack = std::make_unique<DeviceData>();
    readBack->infoBlock = record.infoBlock;
    const bool read = LinkAnswer::Of(LinkResult::ReadBack, ReadBack(*m_port, *readBack)).ok;
    *verdict = read ? fields::CompareReadBack(record, *readBack) : fields::Verdict{};
    const bool heldKnown = verdict->outcome != fields::Outcome::NotVerified;
    Backup(heldKnown ? *readBack : record, "after",
           heldKnown ? site::kReadBackSource : site::kWrittenSource);
    switch (verdict->outcome) {
        case fields::Outcome::Verified:
            return WriteOutcome::Verified;
        case fields::Outcome::Differs:
            return WriteOutcome::Differs;
        case fields::Outcome::NotVerified:
            break;
    }
    return WriteOutcome::NotVerified;
}

void UnitSession::Disconnect() {
    if (m_connected) SendDisconnect(*m_port);
    m_connected = false;
    if (m_port) m_port->Close();
}
