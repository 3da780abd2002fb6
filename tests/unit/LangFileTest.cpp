#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QString>
#include <fstream>

#include "app/LangFile.h"
#include "app/Welcom.h"
#include "tests/support/TempDir.h"
#include "ui/CodePage.h"
#include "ui/Services.h"
#include "ui/VersionInfo.h"
#include "ui/qt/Ansi.h"

using ui::DecodeAnsi;
using ui::EncodeAnsi;

namespace {

void WriteFile(const std::string& path, std::string_view bytes) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    ASSERT_TRUE(file.good());
}

}  // namespace

TEST(LangFile, FirstLineVerbatimWithinItsBuffer) {
    const std::string ini =
        "; English\r\n[Language]\r\nEnglish\r\n[501]\r\nPower = on\r\n"
        "[413]\r\n  If PSTN Line in trouble  \r\n[Empty]\r\n[907]\r\n; note\r\n\r\nEvent column "
        "header\r\n"
        "[long]\r\n" +
        std::string(300, 'x') + "\r\n[001]\nUnix line\n[001]\nsecond copy\n";
    EXPECT_EQ(SectionLine(ini, "501", kTextBuffer), "Power = on");
    EXPECT_EQ(SectionLine(ini, "413", kTextBuffer), "  If PSTN Line in trouble  ");
    EXPECT_EQ(SectionLine(ini, "language", kTextBuffer), "English");  // names ignore case
    EXPECT_EQ(SectionLine(ini, "Empty", kTextBuffer), "");
    EXPECT_EQ(SectionLine(ini, "missing", kTextBuffer), "");
    EXPECT_EQ(SectionLine(ini, "907", kShortTextBuffer), "Event column h");  // 14 characters
    EXPECT_EQ(SectionLine(ini, "long", kTextBuffer).size(), 126u);
    EXPECT_EQ(SectionLine(ini, "001", kTextBuffer), "Unix line");  // the first copy wins
    EXPECT_EQ(SectionLine("", "001", kTextBuffer), "");
    EXPECT_EQ(SectionLine(std::string(5000, '['), "001", kTextBuffer), "");
}

TEST(LangFile, LanguageCodeAndCodePage) {
    unsigned code = 7;
    EXPECT_TRUE(ParseLangCode("0x0407", &code));
    EXPECT_EQ(code, 0x407u);
    EXPECT_TRUE(ParseLangCode("409 English", &code));
    EXPECT_EQ(code, 0x409u);
    EXPECT_FALSE(ParseLangCode("zz", &code));
    EXPECT_FALSE(ParseLangCode("", &code));
    EXPECT_EQ(code, 0x409u);  // a text that does not parse leaves the code alone

    EXPECT_EQ(DecodeAnsi("Gr\xfc\xdf"
                         "e \x80"),
              QString::fromUtf8("Grüße €"));
    EXPECT_EQ(EncodeAnsi(QString::fromUtf8("Grüße €")),
              "Gr\xfc\xdf"
              "e \x80");
    EXPECT_EQ(EncodeAnsi(QString::fromUtf8("日本")), "??");
    // The five bytes the code page leaves undefined show as private stand-ins, so every byte
    // survives the way through the screen, yet the control characters of their values do not
    // become them.
    EXPECT_EQ(DecodeAnsi("\x81\x8D\x8F\x90\x9D"),
              QString::fromUtf16(u"\uF781\uF78D\uF78F\uF790\uF79D"));
    EXPECT_EQ(EncodeAnsi(QString::fromUtf16(u"\u0081\u009D")), "??");
    std::string every;
    for (int b = 0; b < 256; ++b) every.push_back(static_cast<char>(b));
    EXPECT_EQ(EncodeAnsi(DecodeAnsi(every)), every);
    std::string back;
    EXPECT_TRUE(ui::AnsiOfUtf8(ui::Utf8OfAnsi(every), &back));
    EXPECT_EQ(back, every);

    // UTF-8, as site files bring it: only well-formed text of characters the code page has.
    const struct {
        const char* utf8;
        const char* ansi;  // nullptr: refused
    } utf8Cases[] = {
        {"Gr\xC3\xBC\xC3\x9F"
         "e \xE2\x82\xAC",
         "Gr\xFC\xDF"
         "e \x80"},
        {"\xEF\x9E\x81", "\x81"},       // the stand-in of an undefined byte
        {"\xC2\x81", nullptr},          // U+0081, which 1252 lacks
        {"\xC0\xBC", nullptr},          // '<' overlong
        {"\xC0\x80", nullptr},          // NUL overlong
        {"\xE0\x80\xBC", nullptr},      // '<' in three bytes
        {"\xF0\x80\x82\xAC", nullptr},  // the euro sign in four
        {"\xED\xA0\x80", nullptr},      // surrogates
        {"\xED\xBF\xBF", nullptr},
        {"\xF4\x90\x80\x80", nullptr},  // beyond U+10FFFF
        {"\xF7\xBF\xBF\xBF", nullptr},
        {"\xF0\x9F\x98\x80", nullptr},  // a character beyond 16 bits
        {"A\xE2\x82", nullptr},         // truncated
        {"\xE2\x82"
         "A",
         nullptr},
        {"\x80", nullptr},  // a trail byte alone
        {"\xFF", nullptr},
    };
    for (const auto& c : utf8Cases) {
        SCOPED_TRACE(c.utf8);
        std::string ansi;
        EXPECT_EQ(ui::AnsiOfUtf8(c.utf8, &ansi), c.ansi != nullptr);
        if (c.ansi) {
            EXPECT_EQ(ansi, c.ansi);
        }
    }
}

TEST(LangFile, OnlyFilesWhoseLanguageIsTheirTitleAreListedAndFoundThere) {
    TempDir dir;
    auto write = [&](const char* name, const char* text) { WriteFile(dir.File(name), text); };
    write("English.ini", "[Language]\r\nEnglish\r\n");
    write("Deutsch.ini", "[Language]\r\nGerman\r\n");
    write("German.ini", "[Language]\r\nGerman\r\n");
    write(
        "Fran\xc3\xa7"
        "ais.ini",
        "[Language]\r\nFran\xe7"
        "ais\r\n");
    write("notes.txt", "[Language]\r\nnotes\r\n");
    write("Broken.ini", "\x01\x02\x03");
    const std::vector<std::string> languages = ListLanguages(dir.path());
    EXPECT_EQ(languages, (std::vector<std::string>{"English",
                                                   "Fran\xe7"
                                                   "ais",
                                                   "German"}));
    // A folder with files but no language in them (a file manager's) falls back to the
    // installed languages; one that offers any is taken whole.
    TempDir elsewhere;
    WriteFile(elsewhere.File("Broken.ini"), "\x01");
    WriteFile(elsewhere.File("Site.ini"), "[Language]\r\nShop\r\n");
    EXPECT_EQ(LanguageFolder(elsewhere.path(), dir.path()), dir.path());
    EXPECT_EQ(LanguageFolder(dir.path(), elsewhere.path()), dir.path());
}

namespace {

// An executable stand-in: some bytes, then a version record cut short by `cut` bytes.
void WriteWithRecord(const std::string& path, std::uint32_t ms, std::uint32_t signature,
                     std::size_t cut = 0) {
    EmbeddedVersion record{"QUBSET-VERSION-RECORD", signature, ms, 0};
    std::string bytes(1000, 'z');
    bytes.append(reinterpret_cast<const char*>(&record), sizeof record - cut);
    WriteFile(path, bytes);
}

}  // namespace

TEST(VersionRecord, ReadBackFromTheExecutable) {
    TempDir dir;
    const std::string path = dir.File("Qubset");
    WriteWithRecord(path, (2u << 16) | 31, kVersionSignature);
    EXPECT_EQ(VersionText(path, "Qubset"), "2.31");
    WriteWithRecord(path, (2u << 16) | 5, kVersionSignature);
    EXPECT_EQ(VersionText(path, "Qubset"), "2.05");
    WriteWithRecord(path, (2u << 16) | 5, 0x12345678);
    EXPECT_EQ(VersionText(path, "Qubset"), "error 1");
    WriteWithRecord(path, (2u << 16) | 5, kVersionSignature, 6);
    EXPECT_EQ(VersionText(path, "Qubset"), " error 2");
    EXPECT_EQ(VersionText(dir.File("missing"), "Qubset"), " 0 Qubset");
    // The real executable carries the project's version; a copy under another name does not
    // find a file called Qubset beside it.
    EXPECT_EQ(VersionText(QUBSET_BINARY, "Qubset"), QUBSET_VERSION_TEXT);
}

// The title's version is taken from the executable once a run, not at every language change:
// a file that appears beside the program later changes nothing.
TEST(VersionRecord, ReadOnceARun) {
    int argc = 1;
    char name[] = "app_unit_tests";
    char* argv[] = {name, nullptr};
    QCoreApplication app(argc, argv);  // the backend tells the program's folder through it
    const std::filesystem::path beside = ui::ApplicationDirectory() / "Qubset";
    ASSERT_FALSE(std::filesystem::exists(beside)) << "would overwrite " << beside;
    const std::string first = ToolVersionText();
    EXPECT_EQ(first, " 0 Qubset");
    WriteWithRecord(beside.string(), (9u << 16) | 99, kVersionSignature);
    const std::string second = ToolVersionText();
    std::filesystem::remove(beside);
    EXPECT_EQ(second, first);
}
