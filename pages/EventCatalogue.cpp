#include "pages/EventCatalogue.h"

#include <cstring>
#include <fstream>

#include "ui/Services.h"

using namespace layout;

const std::array<std::uint8_t, kEventMaskSize> basicEventMask = {
    0x02, 0x00, 0x7C, 0x26, 0x01, 0x08, 0x40, 0x00, 0x00, 0x41,
    0x04, 0x00, 0x00, 0x40, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00};

namespace {

std::string FileMessage(const std::filesystem::path& path, const char* what) {
    return "The event file " + ui::TextFromPath(path) + " cannot be " + what + ".";
}

}  // namespace

bool LoadEventFile(const std::filesystem::path& path, EventMask mask, std::string* error) {
    std::error_code notDirectory;
    std::ifstream file;
    if (!std::filesystem::is_directory(path, notDirectory)) file.open(path, std::ios::binary);
    if (!file.is_open()) {
        *error = FileMessage(path, "opened");
        return false;
    }
    char bytes[kEventMaskSize];
    file.read(bytes, kEventMaskSize);
    if (file.bad()) {
        *error = FileMessage(path, "read");
        return false;
    }
    std::memcpy(mask.data(), bytes, static_cast<std::size_t>(file.gcount()));
    return true;
}

bool SaveEventFile(const std::filesystem::path& path, ConstEventMask mask, std::string* error) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(mask.data()), kEventMaskSize);
    file.flush();
    if (!file) {
        *error = FileMessage(path, "written");
        return false;
    }
    return true;
}
