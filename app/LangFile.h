// Language files: INI files whose sections each hold one line of text. A section is read
// whole and only its first line is used, verbatim (an equals sign is text); lines starting
// with ';' are comments and blank lines are skipped. Texts are in the code page.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

inline constexpr std::size_t kTextBuffer = 128;
inline constexpr std::size_t kShortTextBuffer = 16;
// A language file is a few kilobytes; nothing beyond this much of a file is read.
inline constexpr std::size_t kMaxLangFileBytes = 1 << 20;

// The first line of `section` in INI text, at most bufferSize - 2 bytes of it; empty when the
// section is missing or has no line.
std::string SectionLine(std::string_view iniText, std::string_view section, std::size_t bufferSize);
// The same, from the file at `path` (empty when it cannot be read).
std::string ReadSectionLine(const std::filesystem::path& path, std::string_view section,
                            std::size_t bufferSize);
std::string LangText(const std::filesystem::path& langFile, std::string_view section,
                     std::size_t bufferSize = kTextBuffer);
// The same, or `builtIn` when the file has no text there (sections newer than the file).
std::string LangTextOr(const std::filesystem::path& langFile, std::string_view section,
                       std::string_view builtIn);

// A language text with every `marker` ("%1", "%2", ...) replaced by `value`.
std::string WithArgument(std::string text, std::string_view value, std::string_view marker = "%1");

// A LANG_CODE text read as "%x" reads it (a "0x" prefix is accepted); false when it does not
// start with a hexadecimal number.
bool ParseLangCode(std::string_view text, unsigned* code);

// The language names offered in `directory`: every *.ini file whose section "Language" reads,
// byte for byte, the file's title. In name order, as an NTFS directory lists them. Defined in
// LanguageList.cpp, with the wizard: the only part of this header that needs the toolkit.
std::vector<std::string> ListLanguages(const std::filesystem::path& directory);
// The folder the language files are read from: `current` when it offers any, else
// `installed` (a program a file manager starts runs in the file's folder).
std::filesystem::path LanguageFolder(const std::filesystem::path& current,
                                     const std::filesystem::path& installed);
