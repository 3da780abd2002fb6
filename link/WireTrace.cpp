#include "link/WireTrace.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <ctime>
#include <span>
#include <system_error>

#include "device/Secrets.h"
#include "link/FrameCodec.h"
#include "link/SystemError.h"

namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";

// "# wire trace <what> <date and time>": every file and every session starts with one.
std::string FirstLine(std::string_view what) {
    char when[32] = "";
    const std::time_t now = std::time(nullptr);
    if (const std::tm* utc = std::gmtime(&now))
        std::strftime(when, sizeof when, "%Y-%m-%d %H:%M:%S UTC", utc);
    return std::string(WireTrace::kSignature) + std::string(what) + " " + when + "\n";
}

}  // namespace

WireTrace::WireTrace() : m_start(SerialClock::now()) {}

WireTrace::~WireTrace() {
    if (!m_writer.joinable()) return;
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_changed.notify_all();
    m_writer.join();
}

bool WireTrace::Open(const std::filesystem::path& path, std::string* error, Secrets secrets) {
    if (m_writer.joinable()) return false;
    std::string why;
    if (!m_file.Open(path, kSignature, &why)) {
        if (error) *error = why;
        return false;
    }
    m_path = path.string();
    m_secrets = secrets;
    try {
        m_writer = std::thread([this] { WriteLoop(); });
    } catch (const std::system_error& e) {
        if (error) *error = e.what();
        m_file.Close();
        return false;
    }
    m_line = FirstLine("opened");
    if (secrets == Secrets::Shown)
        m_line.insert(m_line.size() - 1, ", secrets NOT masked (--trace-secrets)");
    m_line += "# ms since start, direction, COM, command, payload length or outcome: frame bytes\n";
    Post();
    return true;
}

void WireTrace::Begin(std::string_view direction, int comNumber) {
    const double ms =
        std::chrono::duration<double, std::milli>(SerialClock::now() - m_start).count();
    char stamp[32];
    const int n = std::snprintf(stamp, sizeof stamp, "%12.3f ", ms);
    m_line.assign(stamp, n > 0 ? static_cast<std::size_t>(n) : 0);
    m_line += direction;
    m_line += " COM";
    if (comNumber > 0)
        AppendNumber(comNumber);
    else
        m_line += '-';
}

void WireTrace::AppendNumber(std::intptr_t value) {
    m_line += std::to_string(value);
}

void WireTrace::AppendHex(const std::uint8_t* bytes, std::size_t size) {
    m_line.reserve(m_line.size() + 3 * size + 1);
    for (std::size_t i = 0; i < size; ++i) {
        m_line += ' ';
        m_line += kHexDigits[bytes[i] >> 4];
        m_line += kHexDigits[bytes[i] & 0x0F];
    }
}

void WireTrace::Sent(int comNumber, const std::uint8_t* frame, std::size_t size, bool written) {
    if (!IsOpen()) return;
    Begin("TX", comNumber);
    constexpr std::size_t kHeader = 3;  // start byte and the two length bytes
    m_line += " cmd ";
    if (size > kHeader + 1)
        AppendNumber(frame[kHeader]);
    else
        m_line += '-';
    m_line += " len ";
    AppendNumber(static_cast<std::intptr_t>(size >= kHeader + 1 ? size - kHeader - 1 : 0));
    if (!written) m_line += " not written";
    m_line += ':';
    const std::size_t payload = size > kHeader ? size - kHeader - 1 : 0;
    AppendHex(Shown(frame, size, kHeader, payload, -1), size);
    m_line += '\n';
    Post();
}

void WireTrace::Received(int comNumber, int command, const std::uint8_t* header,
                         std::size_t headerSize, const std::uint8_t* body, std::size_t bodySize,
                         int outcome) {
    if (!IsOpen()) return;
    Begin("RX", comNumber);
    m_line += " cmd ";
    AppendNumber(command);
    m_line += outcome >= 0 ? " len " : " failed ";
    AppendNumber(outcome);
    m_line += ':';
    AppendHex(header, headerSize);
    const std::size_t declared =
        headerSize >= frame::kHeaderSize ? std::size_t{header[1]} | std::size_t{header[2]} << 8 : 0;
    AppendHex(Shown(body, bodySize, 0, std::min(declared, bodySize), command), bodySize);
    m_line += '\n';
    Post();
}

void WireTrace::Result(int comNumber, std::string_view what, std::intptr_t result) {
    if (!IsOpen()) return;
    Begin("==", comNumber);
    m_line += ' ';
    m_line += what;
    m_line += " result ";
    AppendNumber(result);
    m_line += '\n';
    Post();
}

void WireTrace::OpenFailed(const OpenFailure& failure) {
    if (!IsOpen()) return;
    Begin("!!", failure.comNumber);
    if (!failure.device.empty()) m_line += " " + failure.device;
    m_line += " not opened: " + SystemErrorText(failure.osError) + " (system error " +
              std::to_string(failure.osError) + ")\n";
    Post();
}

const std::uint8_t* WireTrace::Shown(const std::uint8_t* bytes, std::size_t size,
                                     std::size_t payloadAt, std::size_t payloadSize, int replyTo) {
    if (m_secrets == Secrets::Shown || payloadSize == 0) return bytes;
    m_masked.assign(bytes, bytes + size);
    const std::span<std::uint8_t> payload(m_masked.data() + payloadAt, payloadSize);
    const bool changed = replyTo < 0 ? fields::MaskRequestSecrets(payload)
                                     : fields::MaskReplySecrets(replyTo, payload);
    if (!changed) return bytes;
    // The checksum would narrow a short secret down to a few candidates.
    if (payloadAt + payloadSize < size) m_masked[payloadAt + payloadSize] = fields::kMaskByte;
    return m_masked.data();
}

void WireTrace::Post() {
    if (m_stopped) return;
    {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [&] {
            return m_pending.empty() || m_pending.size() + m_line.size() <= kMaxPending;
        });
        m_pending += m_line;
    }
    m_changed.notify_all();
}

void WireTrace::Stop(const std::string& why) {
    m_stopped = true;
    m_file.Close();
    std::fprintf(stderr, "Qubset: the wire trace %s stopped here: %s\n", m_path.c_str(),
                 why.c_str());
}

void WireTrace::WriteLoop() {
    std::string batch;
    for (;;) {
        {
            std::unique_lock lock(m_mutex);
            m_changed.wait(lock, [&] { return !m_pending.empty() || m_stopping; });
            if (m_pending.empty()) return;  // stopping, and everything is written
            batch.swap(m_pending);
        }
        m_changed.notify_all();
        std::string why;
        if (!m_stopped && !m_file.Append(batch, &why)) Stop(why);
        batch.clear();
        if (!m_stopped && m_file.Follow(kMaxBytes) && !m_file.Append(FirstLine("continued"), &why))
            Stop(why);
    }
}
