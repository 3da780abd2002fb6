#include "sim/Simulator.h"

#ifdef __linux__
#include <sys/prctl.h>
#endif

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <random>

#include "device/Bytes.h"
#include "link/FrameCodec.h"
#include "sim/MemoryCable.h"

using namespace std::chrono;
using namespace layout;

namespace sim {
namespace {

constexpr std::uint8_t kAckDisconnect = 6;
constexpr std::uint8_t kNak = 21;
constexpr std::int32_t kModemErrorCode = 3;
constexpr std::size_t kStringsLengthSkew = 7;
constexpr std::size_t kShortCatalogueSize = 100;
// 10 bits a byte at 115200 baud.
constexpr nanoseconds kWireByteTime{86806};

std::vector<std::uint8_t> Framed(const std::vector<std::uint8_t>& payload) {
    std::vector<std::uint8_t> out(payload.size() + frame::kOverhead);
    frame::Encode(payload.data(), payload.size(), out.data());
    return out;
}

std::vector<std::uint8_t> RandomBytes(std::size_t n, std::uint8_t avoid) {
    static std::minstd_rand random(12345);
    std::vector<std::uint8_t> bytes(n);
    for (auto& b : bytes) {
        do b = static_cast<std::uint8_t>(random() & 0xFF);
        while (b == avoid || b == 0);
    }
    return bytes;
}

void AppendHexLine(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    FILE* file = std::fopen(path.c_str(), "a");
    if (!file) return;
    for (std::uint8_t b : bytes) std::fprintf(file, "%02x", b);
    std::fputc('\n', file);
    std::fclose(file);
}

}  // namespace

Simulator::Simulator(Options options)
    : m_options(std::move(options)),
      m_cable(std::make_shared<CableState>()),
      m_local(DefaultUnit()),
      m_remote(DefaultRemoteUnit()) {
    if (!m_options.statePath.empty()) LoadUnit(m_local, m_options.statePath);
}

Simulator::~Simulator() {
    Stop();
}

#ifndef _WIN32
bool Simulator::Start(const std::string& linkPath, std::string* error) {
    if (m_thread.joinable()) return true;
    std::unique_ptr<UnitEnd> end = MakePtyEnd(linkPath, error);
    return end && Serve(std::move(end), error);
}
#endif

bool Simulator::StartInMemory(std::string* error) {
    if (m_thread.joinable()) return true;
    return Serve(MakeMemoryUnitEnd(m_cable), error);
}

std::unique_ptr<SerialLine> Simulator::MemoryCable(int comNumber) const {
    return MakeMemoryLine(m_cable, comNumber);
}

bool Simulator::Serve(std::unique_ptr<UnitEnd> end, std::string* error) {
    m_end = std::move(end);
    if (!m_end->Open(error)) {
        m_end.reset();
        return false;
    }
    m_thread = std::thread([this] { Run(); });
    return true;
}

void Simulator::Stop() {
    if (!m_thread.joinable()) return;
    RunControl(Control::Stop);
    m_thread.join();
    CloseLine();
    m_end.reset();
}

void Simulator::Unplug() {
    RunControl(Control::Unplug);
}

bool Simulator::Plug() {
    RunControl(Control::Plug);
    std::lock_guard lock(m_mutex);
    return m_controlOk;
}

void Simulator::RunControl(Control control) {
    if (!m_thread.joinable()) return;
    std::unique_lock lock(m_mutex);
    m_control = control;
    m_end->Wake();
    m_changed.wait(lock, [&] { return m_control == Control::None; });
}

void Simulator::CloseLine() {
    m_end->Close();
    m_out.clear();
    m_statuses.clear();
    m_frame.clear();
    m_frameWanted = 0;
    m_writeBlocked = false;
}

Simulator::Clock::duration Simulator::ByteTime() const {
    return m_options.pace ? duration_cast<Clock::duration>(kWireByteTime) : Clock::duration{};
}

std::optional<Simulator::Clock::duration> Simulator::NextWait(Clock::time_point now) const {
    Clock::time_point due = Clock::time_point::max();
    if (!m_out.empty() && !m_writeBlocked) {
        const Output& out = m_out.front();
        // The next byte is through when its ten bits have crossed the wire.
        due = out.start + ByteTime() * static_cast<long>(out.sent + 1);
    }
    if (!m_statuses.empty()) due = std::min(due, m_statuses.front().at);
    if (!m_frame.empty()) due = std::min(due, m_frameLastByte + m_options.frameIdle);
    due = std::min(due, m_replugAt);
    if (due == Clock::time_point::max()) return std::nullopt;
    return std::max(due - now, Clock::duration::zero());
}

void Simulator::Run() {
#ifdef __linux__
    // Paced bytes need waits shorter than the default 50 us of timer slack.
    prctl(PR_SET_TIMERSLACK, 1UL, 0, 0, 0);
#endif
    for (;;) {
        const UnitEnd::Ready ready = m_end->Wait(NextWait(Clock::now()), m_writeBlocked);
        const auto now = Clock::now();

        if (ready.woken) {
            std::unique_lock lock(m_mutex);
            const Control control = m_control;
            if (control == Control::Stop) {
                m_control = Control::None;
                m_changed.notify_all();
                return;
            }
            if (control == Control::Unplug) CloseLine();
            if (control == Control::Plug) m_controlOk = m_end->IsOpen() || m_end->Open(nullptr);
            if (control != Control::None) {
                m_control = Control::None;
                m_changed.notify_all();
                continue;
            }
        }
        if (now >= m_replugAt) {
            m_replugAt = Clock::time_point::max();
            m_end->Open(nullptr);
        }
        if (!m_end->IsOpen()) continue;
        if (ready.readable) ReadLine(now);
        if (ready.writable) m_writeBlocked = false;
        if (!m_frame.empty() && now - m_frameLastByte > m_options.frameIdle) {
            m_frame.clear();
            m_frameWanted = 0;
        }
        SendDueStatuses(now);
        WriteDue(Clock::now());
    }
}

void Simulator::ReadLine(Clock::time_point now) {
    std::uint8_t buffer[4096];
    const std::size_t n = m_end->Read(buffer, sizeof buffer);
    for (std::size_t i = 0; i < n; ++i) FeedByte(buffer[i], now);
}

void Simulator::FeedByte(std::uint8_t byte, Clock::time_point now) {
    if (m_frame.empty()) {
        if (byte != frame::kStart) return;  // the unit ignores noise between frames
        m_frameFirstByte = now;
        m_frameWanted = frame::kHeaderSize;
    }
    m_frame.push_back(byte);
    m_frameLastByte = now;
    if (m_frame.size() == frame::kHeaderSize)
        m_frameWanted = frame::kOverhead + (m_frame[1] | (m_frame[2] << 8));
    if (m_frame.size() < m_frameWanted) return;

    // The request is complete when its last byte would have crossed the wire.
    const auto ready =
        std::max(now, m_frameFirstByte + ByteTime() * static_cast<long>(m_frame.size()));
    HandleFrame(ready);
    m_frame.clear();
    m_frameWanted = 0;
}

void Simulator::HandleFrame(Clock::time_point ready) {
    const std::size_t length = m_frame.size() - frame::kOverhead;
    const std::uint8_t* payload = m_frame.data() + frame::kHeaderSize;
    // A request with a broken checksum is not answered.
    if (length == 0 || frame::Checksum(payload, length) != m_frame.back()) return;
    std::vector<std::uint8_t> request(payload, payload + length);

    std::unique_lock lock(m_mutex);
    Unit& unit = m_remoteSession ? m_remote : m_local;
    m_requests.push_back({request[0], request, m_remoteSession});
    std::vector<std::uint8_t> reply = Answer(unit, request, ready);
    const Phase phase = PhaseOfCommand(request[0]);
    if (!reply.empty()) Send(std::move(reply), phase, ready);
}

std::vector<std::uint8_t> Simulator::Answer(Unit& unit, const std::vector<std::uint8_t>& request,
                                            Clock::time_point ready) {
    const std::uint8_t cmd = request[0];
    const Phase phase = PhaseOfCommand(cmd);
    switch (cmd) {
        case command::kReadModemInfo: {
            std::vector<std::uint8_t> info(unit.record.infoBlock.begin(),
                                           unit.record.infoBlock.begin() + kInfoBlockSize);
            if (m_faults.Take(FaultKind::ModemError, phase))
                WriteLE32(&info[kInfoLastError], static_cast<std::uint32_t>(kModemErrorCode));
            if (m_faults.Take(FaultKind::GarbageInfo, phase)) info = RandomBytes(kInfoBlockSize, 0);
            return info;
        }
        case command::kReadSettings: {
            Unit shown = unit;
            m_identifyAsVersion40 = m_faults.Take(FaultKind::Version40, phase);
            if (m_identifyAsVersion40) shown.record.identReply[kIdentVersionByte] = 40;
            std::vector<std::uint8_t> settings = SettingsReply(shown);
            if (m_faults.Take(FaultKind::PinRequired, phase))
                settings[kIdentPinState] = kPinStateRequired;
            if (m_faults.Take(FaultKind::WrongStringTableLength, phase))
                WriteLE32(&settings[kIdentStringTableLength],
                          ReadLE32(&settings[kIdentStringTableLength]) + kStringsLengthSkew);
            return settings;
        }
        case command::kReadStringTable: {
            Unit shown = unit;
            if (m_identifyAsVersion40) shown.record.identReply[kIdentVersionByte] = 40;
            std::vector<std::uint8_t> texts = StringTableReply(shown);
            if (m_faults.Take(FaultKind::UnterminatedTexts, phase))
                std::replace(texts.begin(), texts.end(), std::uint8_t{0}, std::uint8_t{'#'});
            return texts;
        }
        case command::kReadEvents: {
            if (m_faults.Take(FaultKind::CatalogueOverflow, phase))
                return RandomBytes(kEventCatalogueSize, 0);
            const std::size_t n = m_faults.Take(FaultKind::ShortCatalogue, phase)
                                      ? kShortCatalogueSize
                                      : unit.catalogueLength;
            return {unit.record.eventCatalogue.begin(), unit.record.eventCatalogue.begin() + n};
        }
        case command::kWriteConfiguration: {
            if (m_faults.Take(FaultKind::UploadRefused, phase)) return {kNak};
            const auto before = std::make_unique<DeviceData>(unit.record);
            if (!ApplyConfiguration(unit, request.data(), request.size(), nullptr)) return {kNak};
            for (const Unkept& part : m_options.unkept) RestoreUnkept(unit, *before, part);
            m_uploads.push_back(request);
            m_uploadedToLocal |= &unit == &m_local;
            if (&unit == &m_local && !m_options.statePath.empty())
                SaveUnit(m_local, m_options.statePath);
            if (!m_options.uploadsPath.empty()) AppendHexLine(m_options.uploadsPath, request);
            return {command::kAckUpload};
        }
        case command::kDialRequest:
            StartDial(request, ready);
            return {command::kAckDial};
        case command::kDisconnect:
            m_remoteSession = false;
            m_statuses.clear();
            if (m_uploadedToLocal && m_nextOnBench < m_options.bench.size())
                m_local = m_options.bench[m_nextOnBench++];
            m_uploadedToLocal = false;
            return {kAckDisconnect};
        default:  // 17, 18 and anything unknown: noted, not answered
            return {};
    }
}

void Simulator::StartDial(const std::vector<std::uint8_t>& request, Clock::time_point ready) {
    const auto [number, password] = ParseDialRequest(request.data(), request.size());

    m_statuses.clear();
    auto at = ready + m_options.dialDelay;
    auto queue = [&](std::int8_t status) {
        m_statuses.push_back({at, status});
        at += m_options.statusGap;
    };
    if (number.empty()) return queue(dialstatus::kUnknownNumber);
    if (m_faults.Take(FaultKind::NoCarrier, Phase::Dial)) return queue(dialstatus::kNoCarrier);
    queue(dialstatus::kCheckPassword);
    if (m_faults.Take(FaultKind::DialAbort, Phase::Dial)) return queue(dialstatus::kAborted);
    if (m_faults.Take(FaultKind::DialError, Phase::Dial))
        return queue(dialstatus::kCommunicationError);
    if (password != m_options.remotePassword) {
        queue(dialstatus::kPasswordError);
        return queue(dialstatus::kNoCarrier);
    }
    for (std::int8_t s :
         {dialstatus::kDownloadParameters, dialstatus::kDownloadInfo, dialstatus::kDownloadEvents,
          dialstatus::kDownloadFinished, dialstatus::kConnected})
        queue(s);
}

void Simulator::SendDueStatuses(Clock::time_point now) {
    std::unique_lock lock(m_mutex);
    while (!m_statuses.empty() && m_statuses.front().at <= now) {
        const std::int8_t status = m_statuses.front().status;
        m_statuses.pop_front();
        if (status == dialstatus::kConnected) m_remoteSession = true;
        Send({static_cast<std::uint8_t>(status)}, Phase::Status, now);
    }
}

// Frames a reply and queues it, showing whatever transport fault applies to its phase.
void Simulator::Send(std::vector<std::uint8_t> payload, Phase phase, Clock::time_point ready) {
    if (m_faults.Take(FaultKind::Silent, phase)) return;
    Output out{std::max(ready, m_lineFreeAt), Framed(payload)};
    auto& bytes = out.bytes;
    const std::size_t half = frame::kHeaderSize + payload.size() / 2;
    if (m_faults.Take(FaultKind::BadChecksum, phase)) ++bytes.back();
    if (m_faults.Take(FaultKind::ShortFrame, phase)) bytes.resize(half);
    if (m_faults.Take(FaultKind::HangUpMidFrame, phase)) {
        bytes.resize(half);
        out.hangUpAfter = true;
    }
    if (m_faults.Take(FaultKind::Noise, phase)) {
        const auto noise = RandomBytes(24, frame::kStart);
        bytes.insert(bytes.begin(), noise.begin(), noise.end());
    }
    m_lineFreeAt = out.start + ByteTime() * static_cast<long>(bytes.size());
    m_out.push_back(std::move(out));
}

void Simulator::WriteDue(Clock::time_point now) {
    while (!m_out.empty() && m_end->IsOpen()) {
        Output& out = m_out.front();
        if (now < out.start) return;
        std::size_t due = out.bytes.size();
        if (m_options.pace) {
            // A byte reaches the other end when its stop bit is through.
            const auto elapsed = now - out.start;
            due = std::min(due, static_cast<std::size_t>(elapsed / ByteTime()));
        }
        if (due > out.sent) {
            const std::size_t n = m_end->Write(out.bytes.data() + out.sent, due - out.sent);
            out.sent += n;
            if (n == 0) {
                m_writeBlocked = true;
                return;
            }
        }
        if (out.sent < out.bytes.size()) return;
        const bool hangUp = out.hangUpAfter;
        m_out.pop_front();
        if (hangUp) {
            // Give the bytes a moment to reach the tool before the line drops.
            m_end->Drain();
            CloseLine();
            m_replugAt = now + m_options.replugDelay;
            return;
        }
    }
}

void Simulator::AddFault(const Fault& fault) {
    std::lock_guard lock(m_mutex);
    m_faults.Add(fault);
}

void Simulator::AddUnkept(const Unkept& part) {
    std::lock_guard lock(m_mutex);
    m_options.unkept.push_back(part);
}

void Simulator::ClearFaults() {
    std::lock_guard lock(m_mutex);
    m_faults.Clear();
}

Unit Simulator::Local() const {
    std::lock_guard lock(m_mutex);
    return m_local;
}

Unit Simulator::Remote() const {
    std::lock_guard lock(m_mutex);
    return m_remote;
}

void Simulator::SetLocal(const Unit& unit) {
    std::lock_guard lock(m_mutex);
    m_local = unit;
}

void Simulator::SetRemote(const Unit& unit) {
    std::lock_guard lock(m_mutex);
    m_remote = unit;
}

std::vector<Request> Simulator::Requests() const {
    std::lock_guard lock(m_mutex);
    return m_requests;
}

std::size_t Simulator::RequestCount(std::uint8_t command) const {
    std::lock_guard lock(m_mutex);
    return static_cast<std::size_t>(
        std::count_if(m_requests.begin(), m_requests.end(),
                      [&](const Request& r) { return r.command == command; }));
}

std::vector<std::vector<std::uint8_t>> Simulator::AcceptedUploads() const {
    std::lock_guard lock(m_mutex);
    return m_uploads;
}

bool Simulator::InRemoteSession() const {
    std::lock_guard lock(m_mutex);
    return m_remoteSession;
}

}  // namespace sim
