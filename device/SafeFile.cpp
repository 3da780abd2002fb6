#include "device/SafeFile.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <fstream>
#include <system_error>

#include "device/NewFile.h"

namespace {

// Names to try before giving up: each taken one is someone else's and is left alone.
constexpr int kNameAttempts = 64;
constexpr int kNameHexDigits = 12;

// A name part no other program is likely to pick; uniqueness itself comes from the
// exclusive create.
std::string RandomPart() {
    static std::atomic<std::uint64_t> counter{0};
    std::uint64_t x =
        static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()) ^
        (counter.fetch_add(1) * 0x9E3779B97F4A7C15u) ^ reinterpret_cast<std::uintptr_t>(&counter);
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9u;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBu;
    x ^= x >> 31;
    std::string part;
    for (int i = 0; i < kNameHexDigits; ++i, x >>= 4) part += "0123456789abcdef"[x & 0xF];
    return part;
}

std::filesystem::path TempName(const std::filesystem::path& path) {
    std::string suffix(1, '.');
    suffix.append(RandomPart()).append(".tmp");
    std::filesystem::path temp = path;
    temp += suffix;
    return temp;
}

}  // namespace

FileResult WriteWholeFile(const std::filesystem::path& path, std::string_view bytes,
                          FileAccess access) {
    std::filesystem::path temp;
    newfile::Handle file;
    newfile::Created created = newfile::Created::NameTaken;
    for (int i = 0; i < kNameAttempts && created == newfile::Created::NameTaken; ++i) {
        temp = TempName(path);
        created = newfile::Create(temp, path, access, &file);
    }
    if (created != newfile::Created::Done) return FileResult::CannotOpen;
    const bool written = newfile::WriteAndSync(file, bytes);
    const bool closed = newfile::Close(file);
    if (written && closed && newfile::Replace(temp, path)) return FileResult::Done;
    std::error_code ignored;
    std::filesystem::remove(temp, ignored);
    return FileResult::CannotWrite;
}

FileResult ReadBoundedFile(const std::filesystem::path& path, std::size_t maxBytes,
                           std::string* bytes) {
    // A directory cannot be read, and a pipe or a device could keep the reader waiting.
    std::error_code notRegular;
    if (!std::filesystem::is_regular_file(path, notRegular)) return FileResult::CannotOpen;
    std::ifstream file(path, std::ios::binary);
    if (!file.is_open()) return FileResult::CannotOpen;
    bytes->assign(maxBytes + 1, '\0');
    file.read(bytes->data(), static_cast<std::streamsize>(bytes->size()));
    if (file.bad()) return FileResult::CannotOpen;
    bytes->resize(static_cast<std::size_t>(file.gcount()));
    return bytes->size() > maxBytes ? FileResult::TooLarge : FileResult::Done;
}
