#include "pages/EventCatalogue.h"

#include <cstring>

#include "device/SafeFile.h"
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
    std::string bytes;
    const FileResult read = ReadBoundedFile(path, kEventMaskSize, &bytes);
    if (read == FileResult::CannotOpen) {
        *error = FileMessage(path, "opened");
        return false;
    }
    if (read != FileResult::Done || bytes.size() != kEventMaskSize) {
        *error = "The file " + ui::TextFromPath(path) + " is not an event file: it holds " +
                 (read == FileResult::TooLarge ? "more than " + std::to_string(kEventMaskSize)
                                               : std::to_string(bytes.size())) +
                 " bytes, an event file exactly " + std::to_string(kEventMaskSize) + ".";
        return false;
    }
    std::memcpy(mask.data(), bytes.data(), kEventMaskSize);
    return true;
}

bool SaveEventFile(const std::filesystem::path& path, ConstEventMask mask, std::string* error) {
    const std::string_view bytes(reinterpret_cast<const char*>(mask.data()), kEventMaskSize);
    if (WriteWholeFile(path, bytes) == FileResult::Done) return true;
    *error = FileMessage(path, "written");
    return false;
}
