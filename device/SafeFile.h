// Files written whole or not at all, and files read within a bound.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

enum class FileResult { Done, CannotOpen, CannotWrite, TooLarge };

// Shared: a new file as the user's umask makes it, a file written over keeps its mode.
// Private: readable and writable by the user alone, for files that hold passwords.
enum class FileAccess { Shared, Private };

// Writes `bytes` to a new file of a name no other file has, beside `path`, syncs it and renames
// it over `path`, so that a failed write leaves the old file whole and nothing at another name
// (a link, a file of the user's, another program's write) is ever written through.
FileResult WriteWholeFile(const std::filesystem::path& path, std::string_view bytes,
                          FileAccess access = FileAccess::Shared);
// Reads at most `maxBytes` of the file into `bytes`; TooLarge when it holds more.
FileResult ReadBoundedFile(const std::filesystem::path& path, std::size_t maxBytes,
                           std::string* bytes);
