// Any bytes as a language file: a section's text never exceeds its buffer and holds no line
// break; the language code parses or leaves the code alone; decoding gives a character a byte.
#include <cstdlib>
#include <string>
#include <string_view>

#include "app/LangFile.h"
#include "ui/qt/Ansi.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    for (const char* section : {"001", "Language", "LANG_CODE", "907"}) {
        for (std::size_t buffer : {kTextBuffer, kShortTextBuffer}) {
            const std::string line = SectionLine(text, section, buffer);
            if (line.size() > buffer - 2 || line.find('\n') != std::string::npos) std::abort();
            if (ui::DecodeAnsi(line).size() != static_cast<qsizetype>(line.size())) std::abort();
        }
    }
    unsigned code = 0x1234;
    if (!ParseLangCode(SectionLine(text, "LANG_CODE", kTextBuffer), &code) && code != 0x1234)
        std::abort();
    return 0;
}
