#include "link/WireTrace.h"

#include <cerrno>
#include <ctime>
#include <filesystem>
#include <system_error>

namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";

std::string SystemMessage(int error) {
    return std::generic_category().message(error);
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
    if (m_file) std::fclose(m_file);
}

bool WireTrace::Open(const std::string& path, std::string* error) {
    if (IsOpen()) return false;
    m_file = std::fopen(path.c_str(), "ab");
    if (!m_file) {
        if (error) *error = SystemMessage(errno);
        return false;
    }
    m_path = path;
    std::error_code ec;
    const auto size = std::filesystem::file_size(path, ec);
    m_size = ec ? 0 : static_cast<std::size_t>(size);
    try {
        m_writer = std::thread([this] { WriteLoop(); });
    } catch (const std::system_error& e) {
        if (error) *error = e.what();
        std::fclose(m_file);
        m_file = nullptr;
        return false;
    }

    char opened[32] = "";
    const std::time_t now = std::time(nullptr);
    if (const std::tm* utc = std::gmtime(&now))
        std::strftime(opened, sizeof opened, "%Y-%m-%d %H:%M:%S UTC", utc);
    m_line = "# wire trace opened ";
    m_line += opened;
    m_line +=
        "\n# ms since start, direction, COM, command, payload length or outcome: frame bytes\n";
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
    AppendHex(frame, size);
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
    AppendHex(body, bodySize);
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
    m_line += " not opened: " + SystemMessage(failure.osError) + " (system error " +
              std::to_string(failure.osError) + ")\n";
    Post();
}

void WireTrace::Post() {
    {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [&] {
            return m_pending.empty() || m_pending.size() + m_line.size() <= kMaxPending;
        });
        m_pending += m_line;
    }
    m_changed.notify_all();
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
        if (m_file && std::fwrite(batch.data(), 1, batch.size(), m_file) == batch.size())
            std::fflush(m_file);
        m_size += batch.size();
        batch.clear();
        if (m_file && m_size > kMaxBytes) DropOlderHalf();
    }
}

// Keeps the newer half, from its first whole line on, copied through a temporary file so the
// trace is never left half written. Runs on the writer thread, once per 4 MiB or so.
void WireTrace::DropOlderHalf() {
    std::fclose(m_file);
    m_file = nullptr;
    std::string newer;
    if (std::FILE* in = std::fopen(m_path.c_str(), "rb")) {
        if (std::fseek(in, static_cast<long>(m_size / 2), SEEK_SET) == 0) {
            newer.resize(m_size - m_size / 2);
            newer.resize(std::fread(newer.data(), 1, newer.size(), in));
        }
        std::fclose(in);
    }
    const auto lineEnd = newer.find('\n');
    newer.erase(0, lineEnd == std::string::npos ? newer.size() : lineEnd + 1);

    const std::string temp = m_path + ".new";
    bool kept = false;
    if (std::FILE* out = std::fopen(temp.c_str(), "wb")) {
        kept = std::fwrite(newer.data(), 1, newer.size(), out) == newer.size();
        kept = std::fclose(out) == 0 && kept;
    }
    std::error_code ec;
    if (kept) std::filesystem::rename(temp, m_path, ec);
    if (!kept || ec) {
        // Whatever went wrong, the bound holds: start the trace afresh.
        std::filesystem::remove(temp, ec);
        newer.clear();
        m_file = std::fopen(m_path.c_str(), "wb");
    } else {
        m_file = std::fopen(m_path.c_str(), "ab");
    }
    m_size = newer.size();
}
