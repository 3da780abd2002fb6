// The application shell: welcome and error pages, language files, the title, Cancel.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCloseEvent>
#include <QTest>
#include <QTimer>
#include <chrono>

#include "app/LangFile.h"
#include "app/PelmaroApp.h"
#include "app/StartPage.h"
#include "app/Welcom.h"
#include "device/Layout.h"
#include "qubset/WizardPages.h"
#include "resources/Resource.h"
#include "transfer/ErrorPage.h"
#include "tests/support/Wizard.h"
#include "ui/qt/Testing.h"

namespace {

constexpr int kLanguageList = 1077;

void WriteFile(const std::string& path, const std::string& bytes) { ASSERT_TRUE(WriteBytes(path, bytes)); }

std::string ChosenLanguage(const Wizard& w) { return w.sheet->m_pWelcom->GetDlgItemText(kLanguageList); }
int LanguageCount(const Wizard& w) { return w.sheet->m_pWelcom->GetComboCount(kLanguageList); }

}  // namespace

TEST(Welcome, FirstStartPicksEnglishTitlesTheSheetAndFindsTheUnit) {
    Wizard w;
    w.Start();
    ASSERT_TRUE(w.IsActive(PageId::Welcome));
    EXPECT_EQ(ChosenLanguage(w), "English");
    EXPECT_EQ(LanguageCount(w), 2);
    const std::string title001 = LangText("English.ini", "001");
    ASSERT_FALSE(title001.empty());
    EXPECT_EQ(w.sheet->GetTitle(), title001 + "   " + ToolVersionText());
    EXPECT_EQ(w.sheet->m_nLangCode, 0x0409u);
    EXPECT_EQ(Wizard::Profile("Setting", "Language"), "English");
    EXPECT_FALSE(w.NextEnabled());  // not before the unit has answered

    ASSERT_TRUE(Wizard::WaitFor([&] { return w.NextEnabled(); }));
    EXPECT_EQ(w.sheet->m_nComPort, 3);
    EXPECT_FALSE(w.sheet->CanGoBack());
    w.Screenshot("welcome");
    w.Next();
    EXPECT_TRUE(w.WaitForPage(PageId::Start));
}

TEST(Welcome, StoredLanguagesAndFilesThatAreNotLanguages) {
    {
        Wizard::SetProfile("Setting", "Language", "ger");
        Wizard w;
        // A German file under another name is not offered.
        WriteFile(w.dir.File("Deutsch.ini"), "[Language]\r\nGerman\r\n[001]\r\nX\r\n");
        Wizard::SetProfile("Setting", "Language", "ger");
        w.Start();
        EXPECT_EQ(LanguageCount(w), 2);
        EXPECT_EQ(ChosenLanguage(w), "German");  // prefix, case ignored
        EXPECT_EQ(w.sheet->m_nLangCode, 0x0407u);
        EXPECT_TRUE(w.sheet->GetTitle().starts_with(LangText("German.ini", "001")));
        // Choosing another language applies it at once.
        Wizard::Choose(*w.sheet->m_pWelcom, kLanguageList, "English");
        EXPECT_EQ(w.sheet->m_nLangCode, 0x0409u);
        EXPECT_EQ(Wizard::Profile("Setting", "Language"), "English");
    }
    {
        Wizard w;
        Wizard::SetProfile("Setting", "Language", "eng");
        w.Start();
        EXPECT_EQ(ChosenLanguage(w), "English");
    }
    {
        Wizard w;
        Wizard::SetProfile("Setting", "Language", "Klingon");
        w.Start();
        EXPECT_EQ(ChosenLanguage(w), "English");
        EXPECT_EQ(Wizard::Profile("Setting", "Language"), "English");
    }
}

// A search that ends after the installer has left the welcome page (Next was offered by an
// earlier one) leaves the buttons of the page now shown as they are.
TEST(Welcome, LateSearchAnswerLeavesTheButtonsOfTheNextPageAlone) {
    Wizard w;
    w.Start();
    w.NextWhenEnabled();
    ASSERT_TRUE(w.WaitForPage(PageId::Start));
    Wizard::Click(*w.sheet->m_pStartPage, IDC_LOCAL);
    ASSERT_TRUE(Wizard::WaitFor([&] { return w.NextEnabled(); }));
    // Back starts a search; Next at once leaves before it can have ended.
    w.sheet->PressBack();
    ASSERT_TRUE(w.IsActive(PageId::Welcome));
    w.sheet->PressNext();
    ASSERT_TRUE(w.IsActive(PageId::Start));
    w.sheet->m_nComPort = 0;  // set again by the search's answer
    ASSERT_TRUE(Wizard::WaitFor([&] { return w.sheet->m_nComPort == 3; }));
    EXPECT_FALSE(Wizard::WaitFor([&] { return w.sheet->wizardButtons() != ui::PSWIZB_BACK; }, 300));
    EXPECT_FALSE(w.NextEnabled());  // no option chosen on this visit
}

TEST(ErrorPage, SearchesWithABeepPerRoundUntilTheUnitAppears) {
    WizardOptions options;
    options.startSimulator = false;
    Wizard w(options);
    w.Start();
    ASSERT_TRUE(w.WaitForPage(PageId::Error));
    EXPECT_EQ(w.sheet->m_nComPort, 0);
    EXPECT_EQ(w.sheet->wizardButtons(), 0u + ui::PSWIZB_DISABLEDFINISH);
    const std::string message = w.sheet->m_pErrorPage->GetDlgItemText(1076);
    EXPECT_EQ(message, LangText("English.ini", "002"));
    ASSERT_TRUE(Wizard::WaitFor([&] { return w.beeps >= 2; }, 5000));
    // Rounds are paced: with no port at all they do not spin.
    const int beepsBefore = w.beeps;
    Wizard::Settle(500);
    EXPECT_LE(w.beeps - beepsBefore, 1);
    w.Screenshot("error");

    ASSERT_TRUE(w.simulator.Start(w.linkPath));
    ASSERT_TRUE(w.WaitForPage(PageId::Welcome));
    EXPECT_EQ(w.sheet->m_nComPort, 3);
}

// Several pages giving up at once activate the error page again while it searches: still one
// search a round, one beep. Answers that reach it once it is no longer shown change nothing.
TEST(ErrorPage, OneSearchAtATimeAndNoneForAPageLeft) {
    WizardOptions options;
    options.startSimulator = false;
    Wizard w(options);
    w.Start();
    ASSERT_TRUE(w.WaitForPage(PageId::Error));
    ASSERT_TRUE(w.sheet->SetActivePage(kErrorPageIndex));
    ASSERT_TRUE(w.sheet->SetActivePage(kErrorPageIndex));
    const int beepsBefore = w.beeps;
    // Rounds are a second apart: a single chain beeps at most three times in 2.5 s.
    EXPECT_FALSE(Wizard::WaitFor([&] { return w.beeps - beepsBefore > 3; }, 2500));

    w.sheet->m_link.Stop();  // the test plays the worker's answers itself
    ASSERT_TRUE(w.sheet->SetActivePage(w.sheet->page(PageId::Start)));
    const int beepsAtStart = w.beeps;
    const ui::Hwnd errorPage = w.sheet->m_pErrorPage->handle();
    ui::SendMessage(errorPage, WM_LINK_RESULT, linkresult::kScanned, 7);
    EXPECT_TRUE(w.IsActive(PageId::Start));
    EXPECT_EQ(w.sheet->m_nComPort, 0);
    ui::SendMessage(errorPage, WM_LINK_RESULT, linkresult::kScanned, 0);
    EXPECT_EQ(w.beeps, beepsAtStart);
    EXPECT_TRUE(w.IsActive(PageId::Start));
}

TEST(Sheet, CloseBoxDoesNothingAndCancelEndsMidExchange) {
    Wizard w;
    // Every identification now waits out its time-outs: the worker is busy when Cancel comes.
    w.simulator.AddFault({sim::FaultKind::Silent, sim::Phase::Settings, -1});
    w.Start();
    // The settings request has reached the unit: the worker now waits for its reply.
    ASSERT_TRUE(
        Wizard::WaitFor([&] { return w.simulator.RequestCount(command::kReadSettings) > 0; }));
    QDialog* window = ui::SheetWindow(*w.sheet);
    QCloseEvent close;
    QApplication::sendEvent(window, &close);
    EXPECT_TRUE(window->isVisible());
    QTest::keyClick(window, Qt::Key_Escape);
    EXPECT_TRUE(window->isVisible());

    w.sheet->PressCancel();
    EXPECT_FALSE(window->isVisible());
    const auto started = std::chrono::steady_clock::now();
    w.sheet.reset();  // pages deleted, worker told to quit and awaited
    // A hang guard, not a timing assertion: the quit is bounded by its own time-outs.
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(8));
}

// The application object runs the wizard modally and hands back the exit status: 1 once the
// unit has accepted a configuration, however the wizard is left then (Cancel in the second
// before it ends by itself included); 0 after Cancel before that.
TEST(Application, ExitStatusOfAWholeRun) {
    enum class Leave { AfterUpload, CancelAfterUpload, CancelBefore };
    for (const Leave leave : {Leave::AfterUpload, Leave::CancelAfterUpload, Leave::CancelBefore}) {
        const bool upload = leave != Leave::CancelBefore;
        Wizard w;
        QTimer driver;
        bool finished = false;
        bool cancelledAfterUpload = false;
        QObject::connect(&driver, &QTimer::timeout, [&] {
            CMainSheet* sheet = AfxGetMainSheet();
            if (!sheet) return;
            const bool nextOffered = sheet->wizardButtons() & ui::PSWIZB_NEXT;
            ui::PropertyPage* page = sheet->GetActivePage();
            // The disconnect is asked for once the upload has been accepted.
            const bool accepted = w.simulator.RequestCount(15) > 0;
            if (!upload && nextOffered) {
                sheet->PressCancel();
            } else if (leave == Leave::CancelAfterUpload && accepted && !cancelledAfterUpload) {
                cancelledAfterUpload = true;
                sheet->PressCancel();
            } else if (page == sheet->page(PageId::Start) && !nextOffered) {
                Wizard::Click(*page, IDC_LOCAL);
            } else if (sheet->CanFinish() && !finished) {
                finished = true;
                sheet->PressFinish();
            } else if (sheet->CanGoNext()) {
                sheet->PressNext();
            }
        });
        driver.start(50);
        CPelmaroApp app(MakeWizardPages);
        const int status = app.InitInstance();
        EXPECT_EQ(status, upload ? 1 : 0);
        EXPECT_EQ(cancelledAfterUpload, leave == Leave::CancelAfterUpload);
        EXPECT_EQ(w.simulator.AcceptedUploads().size(), upload ? 1u : 0u);
        EXPECT_EQ(AfxGetMainSheet(), nullptr);
    }
}
