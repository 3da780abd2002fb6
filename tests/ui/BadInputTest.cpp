// Input that is not what it should be: language files and device texts. Each gives a clear
// result and loses nothing.
#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <tuple>

#include "app/LangFile.h"
#include "app/StartPage.h"
#include "app/Welcom.h"
#include "pages/CustomEventDlg.h"
#include "pages/EventCatalogue.h"
#include "pages/General.h"
#include "resources/Resource.h"
#include "tests/support/Wizard.h"
#include "transfer/InfoDlg.h"

using namespace layout;

namespace {

void Write(const Wizard& w, const char* name, const std::string& bytes) {
    std::ofstream file(w.dir.File(name), std::ios::binary);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    ASSERT_TRUE(file.good());
}

void Choose(Wizard& w, const std::string& language) {
    Wizard::Choose(*w.sheet->page<CWelcom>(PageId::Welcome), IDC_LANGUAGE, language);
}

}  // namespace

TEST(BadInput, LanguageFiles) {
    Wizard w;
    Write(w, "Empty.ini", "");
    std::string binary(4096, '\0');
    for (std::size_t i = 0; i < binary.size(); ++i) binary[i] = static_cast<char>(i * 37 % 256);
    Write(w, "Binary.ini", binary);
    Write(w, "Huge.ini",
          "[Language]\r\nHuge\r\n[001]\r\n" + std::string(10000, 'H') +
              "\r\n[501]\r\nPower = on\r\n[101]\r\nUnit%1 found on\r\n");
    Write(w, "Bare.ini", "[Language]\r\nBare\r\n");
    w.Start();
    Rows offered;
    for (int i = 0; i < w.sheet->page<CWelcom>(PageId::Welcome)->GetComboCount(IDC_LANGUAGE); ++i)
        offered.push_back(
            w.sheet->page<CWelcom>(PageId::Welcome)->GetComboItemText(IDC_LANGUAGE, i));
    EXPECT_EQ(offered, (Rows{"Bare", "English", "German", "Huge"}));
    // The tool's executable has another name here: the title says so in place of a version.
#ifdef _WIN32
    EXPECT_TRUE(w.sheet->GetTitle().ends_with("    0 Qubset.exe"));
#else
    EXPECT_TRUE(w.sheet->GetTitle().ends_with("    0 Qubset"));
#endif

    // A 10 000-character title is cut to its buffer; a file without sections gives empty
    // texts and leaves the language code as it was.
    Choose(w, "Huge");
    EXPECT_EQ(w.sheet->GetTitle(), std::string(126, 'H') + "   " + ToolVersionText());
    EXPECT_EQ(w.sheet->m_nLangCode, 0x0409u);
    Choose(w, "Bare");
    EXPECT_EQ(w.sheet->GetTitle(), "   " + ToolVersionText());
    EXPECT_EQ(w.sheet->m_nLangCode, 0x0409u);

    // Texts with an equals sign or a '%' are shown as they stand.
    Choose(w, "Huge");
    ASSERT_TRUE(Wizard::WaitFor([&] { return w.NextEnabled(); }));
    w.Next();
    ASSERT_TRUE(w.WaitForPage(PageId::Start));
    EXPECT_EQ(w.sheet->page<CStartPage>(PageId::Start)->GetDlgItemText(IDC_STATUS_LINE),
              "Unit%1 found on COM3");
    EXPECT_EQ(w.sheet->page<CStartPage>(PageId::Start)->GetDlgItemText(IDC_LOCAL),
              "");  // no section 103
    Wizard::Click(*w.sheet->page<CStartPage>(PageId::Start), IDC_LOCAL);
    ASSERT_TRUE(Wizard::WaitFor([&] { return w.NextEnabled(); }));
    w.Next();
    ASSERT_TRUE(w.WaitForPage(PageId::General));
    EXPECT_EQ(w.sheet->page<CGeneral>(PageId::General)->GetDlgItemText(IDC_AND), "Power = on");
}

TEST(BadInput, DeviceTextsWithoutTerminatorsAndGarbage) {
    Wizard w;
    w.simulator.AddFault({sim::FaultKind::UnterminatedTexts, sim::Phase::Any, -1});
    w.simulator.AddFault({sim::FaultKind::GarbageInfo, sim::Phase::Any, -1});
    w.simulator.AddFault({sim::FaultKind::CatalogueOverflow, sim::Phase::Any, -1});
    w.Start();
    ASSERT_TRUE(Wizard::WaitFor([&] { return w.NextEnabled(); }));
    // The whole text table ran together: the first slot holds what fits of it.
    EXPECT_EQ(w.data.slotText(kSlotApnLogin).size(), kApnLoginSize - 1);
    EXPECT_EQ(w.data.slotText(kSlotSmsNumber0), "");

    // Garbage modem information shows, bounded, in the modem dialog.
    w.OnDialog([](ui::Window& d) {
        EXPECT_LE(d.GetDlgItemText(IDC_INFO_OPERATOR).size(), 10 + 20);
        EXPECT_LE(d.GetDlgItemText(IDC_INFO_IDENTITY).size(), 48 + 5 + 24);
        Wizard::Click(d, ui::IDOK);
    });
    w.Next();
    ASSERT_TRUE(w.WaitForPage(PageId::Start));
    ASSERT_TRUE(Wizard::WaitFor([&] { return !w.dialogsShown.empty(); }));

    // A catalogue without terminators: one name of 69 characters, nothing read beyond.
    Wizard::Click(*w.sheet->page<CStartPage>(PageId::Start), IDC_LOCAL);
    ASSERT_TRUE(Wizard::WaitFor([&] { return w.NextEnabled(); }));
    w.Next();
    ASSERT_TRUE(Wizard::WaitFor([&] { return w.NextEnabled(); }));
    w.Next();
    ASSERT_TRUE(Wizard::WaitFor([&] { return w.sheet->m_bEventsLoaded == 1; }));
    std::array<std::uint8_t, kEventMaskSize> mask{};
    w.OnDialog([](ui::Window& d) {
        Wizard::Click(d, IDC_ADVANCE);
        const Rows rows = Wizard::Rows(d, IDC_POOL_LIST);
        ASSERT_EQ(rows.size(), 1u);
        EXPECT_EQ(rows[0].size(), 69u);
        Wizard::Click(d, ui::IDCANCEL);
    });
    CCustomEventDlg(mask.data(), 0, "x", 0).DoModal();
}

// Open takes a file of exactly 20 bytes and refuses any other, saying why; a failed save
// leaves the old file whole.
TEST(EventFile, ExactlyTwentyBytesAndNothingMore) {
    TempDir dir;
    std::array<std::uint8_t, kEventMaskSize> mask{};
    for (std::size_t i = 0; i < mask.size(); ++i) mask[i] = static_cast<std::uint8_t>(0xA0 + i);
    auto write = [&](const std::string& name, std::size_t size) {
        EXPECT_TRUE(WriteBytes(dir.File(name), std::string(size, '\x11')));
        return dir.File(name);
    };
    std::string error;
    auto m = mask;
    for (const auto& [name, size, says] : {std::tuple{"empty.qbx", 0, "holds 0 bytes"},
                                           {"ten.qbx", 10, "holds 10 bytes"},
                                           {"big.qbx", 1000000, "holds more than 20 bytes"},
                                           {"21.qbx", 21, "more than 20"}}) {
        SCOPED_TRACE(name);
        error.clear();
        EXPECT_FALSE(LoadEventFile(write(name, size), EventMask(m), &error));
        EXPECT_NE(error.find(says), std::string::npos) << error;
        EXPECT_EQ(m, mask);
    }
    ASSERT_TRUE(LoadEventFile(write("twenty.qbx", 20), EventMask(m), &error));
    auto elevens = mask;
    elevens.fill(0x11);
    EXPECT_EQ(m, elevens);
    std::filesystem::create_directory(dir.path() / "dir.qbx");
    m = mask;
    EXPECT_FALSE(LoadEventFile(dir.File("dir.qbx"), EventMask(m), &error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(m, mask);
    EXPECT_FALSE(LoadEventFile(dir.File("missing.qbx"), EventMask(m), &error));
    EXPECT_FALSE(SaveEventFile(dir.File("dir.qbx"), ConstEventMask(mask), &error));

    // Whatever is at a name beside it, the save takes the old file's place and no other.
    std::filesystem::create_directory(dir.path() / "twenty.qbx.new");
    ASSERT_TRUE(SaveEventFile(dir.File("twenty.qbx"), ConstEventMask(mask), &error)) << error;
    ASSERT_TRUE(LoadEventFile(dir.File("twenty.qbx"), EventMask(m), &error));
    EXPECT_EQ(m, mask);
    EXPECT_TRUE(std::filesystem::is_empty(dir.path() / "twenty.qbx.new"));
}
