// Input that is not what it should be: language files and device texts. Each gives a clear
// result and loses nothing.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QDialog>
#include <QFile>

#include "app/LangFile.h"
#include "app/StartPage.h"
#include "app/Welcom.h"
#include "pages/CustomEventDlg.h"
#include "pages/General.h"
#include "resources/Resource.h"
#include "tests/support/Wizard.h"
#include "transfer/InfoDlg.h"

using namespace layout;

namespace {

void Write(const Wizard& w, const char* name, const QByteArray& bytes) {
    QFile file(QString::fromStdString(w.dir.File(name)));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

void Choose(Wizard& w, const QString& language) {
    QComboBox* list = w.sheet->m_pWelcom->GetComboBox(IDC_LANGUAGE);
    list->setCurrentIndex(list->findText(language));
    emit list->activated(list->currentIndex());
}

}  // namespace

TEST(BadInput, LanguageFiles) {
    Wizard w;
    Write(w, "Empty.ini", "");
    QByteArray binary(4096, '\0');
    for (int i = 0; i < binary.size(); ++i) binary[i] = static_cast<char>(i * 37 % 256);
    Write(w, "Binary.ini", binary);
    Write(w, "Huge.ini", "[Language]\r\nHuge\r\n[001]\r\n" + QByteArray(10000, 'H') +
                             "\r\n[501]\r\nPower = on\r\n[101]\r\nUnit%1 found on\r\n");
    Write(w, "Bare.ini", "[Language]\r\nBare\r\n");
    w.Start();
    QComboBox* list = w.sheet->m_pWelcom->GetComboBox(IDC_LANGUAGE);
    QStringList offered;
    for (int i = 0; i < list->count(); ++i) offered << list->itemText(i);
    EXPECT_EQ(offered, (QStringList{"Bare", "English", "German", "Huge"}));
    // The tool's executable has another name here: the title says so in place of a version.
    EXPECT_TRUE(w.sheet->dialog()->windowTitle().endsWith("    0 Qubset"));

    // A 10 000-character title is cut to its buffer; a file without sections gives empty
    // texts and leaves the language code as it was.
    Choose(w, "Huge");
    EXPECT_EQ(w.sheet->dialog()->windowTitle(), QString(126, 'H') + "   " + ToolVersionText());
    EXPECT_EQ(w.sheet->m_nLangCode, 0x0409u);
    Choose(w, "Bare");
    EXPECT_EQ(w.sheet->dialog()->windowTitle(), "   " + ToolVersionText());
    EXPECT_EQ(w.sheet->m_nLangCode, 0x0409u);

    // Texts with an equals sign or a '%' are shown as they stand.
    Choose(w, "Huge");
    ASSERT_TRUE(Wizard::WaitFor([&] { return w.NextEnabled(); }));
    w.Next();
    ASSERT_TRUE(w.WaitForPage(PageId::Start));
    EXPECT_EQ(w.sheet->m_pStartPage->GetDlgItemText(IDC_STATUS_LINE), "Unit%1 found on COM3");
    EXPECT_EQ(w.sheet->m_pStartPage->GetDlgItemText(IDC_LOCAL), "");  // no section 103
    Wizard::Click(*w.sheet->m_pStartPage, IDC_LOCAL);
    ASSERT_TRUE(Wizard::WaitFor([&] { return w.NextEnabled(); }));
    w.Next();
    ASSERT_TRUE(w.WaitForPage(PageId::General));
    EXPECT_EQ(w.sheet->m_pGeneral->GetDlgItemText(IDC_AND), "Power = on");
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
    Wizard::Click(*w.sheet->m_pStartPage, IDC_LOCAL);
    ASSERT_TRUE(Wizard::WaitFor([&] { return w.NextEnabled(); }));
    w.Next();
    ASSERT_TRUE(Wizard::WaitFor([&] { return w.NextEnabled(); }));
    w.Next();
    ASSERT_TRUE(Wizard::WaitFor([&] { return w.sheet->m_bEventsLoaded == 1; }));
    std::array<std::uint8_t, kEventMaskSize> mask{};
    w.OnDialog([](ui::Window& d) {
        Wizard::Click(d, IDC_ADVANCE);
        const QStringList rows = Wizard::Rows(d, IDC_POOL_LIST);
        ASSERT_EQ(rows.size(), 1);
        EXPECT_EQ(rows[0].size(), 69);
        Wizard::Click(d, ui::IDCANCEL);
    });
    CCustomEventDlg(mask.data(), 0, "x", nullptr).DoModal();
}
