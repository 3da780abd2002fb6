#include "device/SafeFile.h"

#include <fstream>
#include <system_error>

FileResult WriteWholeFile(const std::filesystem::path& path, std::string_view bytes) {
    std::filesystem::path temp = path;
    temp += ".new";
    {
        std::ofstream file(temp, std::ios::binary | std::ios::trunc);
        if (!file.is_open()) return FileResult::CannotOpen;
        file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        file.flush();
        if (!file) {
            file.close();
            std::error_code ignored;
            std::filesystem::remove(temp, ignored);
            return FileResult::CannotWrite;
        }
    }
    std::error_code ec;
    std::filesystem::rename(temp, path, ec);
    if (!ec) return FileResult::Done;
    std::filesystem::remove(temp, ec);
    return FileResult::CannotWrite;
}

FileResult ReadBoundedFile(const std::filesystem::path& path, std::size_t maxBytes,
                           std::string* bytes) {
    std::error_code notDirectory;
    if (std::filesystem::is_directory(path, notDirectory)) return FileResult::CannotOpen;
    std::ifstream file(path, std::ios::binary);
    if (!file.is_open()) return FileResult::CannotOpen;
    bytes->assign(maxBytes + 1, '\0');
    file.read(bytes->data(), static_cast<std::streamsize>(bytes->size()));
    if (file.bad()) return FileResult::CannotOpen;
    bytes->resize(static_cast<std::size_t>(file.gcount()));
    return bytes->size() > maxBytes ? FileResult::TooLarge : FileResult::Done;
}
