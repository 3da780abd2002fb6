// Files written whole or not at all, and files read within a bound.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

enum class FileResult { Done, CannotOpen, CannotWrite, TooLarge };

// Writes `bytes` to a new file beside `path` and renames it over `path`, so that a failed
// write leaves the old file whole.
FileResult WriteWholeFile(const std::filesystem::path& path, std::string_view bytes);
// Reads at most `maxBytes` of the file into `bytes`; TooLarge when it holds more.
FileResult ReadBoundedFile(const std::filesystem::path& path, std::size_t maxBytes,
                           std::string* bytes);
