// The languages offered, apart from the language files' reader (LangFile.cpp), which links no
// toolkit: this list names files as the toolkit names them.
#include <algorithm>
#include <cctype>

#include "app/LangFile.h"
#include "ui/Services.h"

namespace {

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

}  // namespace

std::vector<std::string> ListLanguages(const std::filesystem::path& directory) {
    std::vector<std::filesystem::path> files;
    std::error_code error;
    for (std::filesystem::directory_iterator it(directory, error), end; !error && it != end;
         it.increment(error)) {
        const std::filesystem::path& file = it->path();
        const std::string name = file.filename().string();
        // Hidden files are not listed, as the system's own listing leaves them out.
        if (name.empty() || name.front() == '.' || Lower(file.extension().string()) != ".ini")
            continue;
        std::error_code notFile;
        if (it->is_regular_file(notFile)) files.push_back(file);
    }
    std::sort(files.begin(), files.end(), [](const auto& a, const auto& b) {
        return Lower(a.filename().string()) < Lower(b.filename().string());
    });
    std::vector<std::string> languages;
    for (const auto& file : files) {
        const std::string title = ui::TextFromPath(file.stem());
        if (ReadSectionLine(file, "Language", kTextBuffer) == title) languages.push_back(title);
    }
    return languages;
}

std::filesystem::path LanguageFolder(const std::filesystem::path& current,
                                     const std::filesystem::path& installed) {
    return ListLanguages(current).empty() ? installed : current;
}
