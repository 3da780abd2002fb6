// The application shell: welcome and error pages, language files, the title, Cancel.
#include <gtest/gtest.h>

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>
#include <QTranslator>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <filesystem>

#include "app/LangFile.h"
#include "app/PelmaroApp.h"
#include "app/StartPage.h"
#include "app/Welcom.h"
#include "device/Layout.h"
#include "device/Secrets.h"
#include "link/FrameCodec.h"
#include "qubset/WizardPages.h"
#include "resources/Resource.h"
#include "site/SiteFile.h"
#include "tests/support/PtyPair.h"
#include "tests/support/ScriptedLine.h"
#include "tests/support/Wizard.h"
#include "transfer/ErrorPage.h"
#include "ui/Services.h"
#include "ui/qt/Testing.h"
#include "ui/qt/Toolkit.h"

namespace {

constexpr int kLanguageList = 1077;

void WriteFile(const std::string& path, const std::string& bytes) {
    ASSERT_TRUE(WriteBytes(path, bytes));
}

std::string ChosenLanguage(const Wizard& w) {
    return w.sheet->page<CWelcom>(PageId::Welcome)->GetDlgItemText(kLanguageList);
}
int LanguageCount(const Wizard& w) {
    return w.sheet->page<CWelcom>(PageId::Welcome)->GetComboCount(kLanguageList);
}

using Bytes = std::vector<std::uint8_t>;

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
        Wizard::Choose(*w.sheet->page<CWelcom>(PageId::Welcome), kLanguageList, "English");
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
    Wizard::Click(*w.sheet->page<CStartPage>(PageId::Start), IDC_LOCAL);
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
    const std::string message = w.sheet->page<CErrorPage>(PageId::Error)->GetDlgItemText(1076);
    EXPECT_EQ(message, LangText("English.ini", "002"));
    EXPECT_FALSE(w.sheet->page<CErrorPage>(PageId::Error)
                     ->IsItemVisible(IDC_ERROR_PORTS));  // no port to name
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

// Another program that keeps a terminal open: `sleep` with it as its input.
class HoldingProcess {
  public:
    explicit HoldingProcess(int fd) {
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, fd, 0);
        char sleep[] = "sleep", seconds[] = "60";
        char* argv[] = {sleep, seconds, nullptr};
        if (posix_spawnp(&m_pid, "sleep", &actions, nullptr, argv, environ) != 0) m_pid = 0;
        posix_spawn_file_actions_destroy(&actions);
    }
    ~HoldingProcess() {
        if (m_pid <= 0) return;
        kill(m_pid, SIGKILL);
        waitpid(m_pid, nullptr, 0);
    }
    pid_t pid() const { return m_pid; }

  private:
    pid_t m_pid = 0;
};

// Ports that are there but cannot be opened are named under the message, with the cause and
// what to do: COM1 refuses (injected: as root no open is ever denied), COM2 and COM24 are
// terminals the test holds as another program would, COM24 shared with a program it started,
// which is named; COM3 has nothing behind it and is not named. A file without the newer
// sections gets the English texts built in.
TEST(ErrorPage, NamesThePortsThatCouldNotBeOpenedAndWhy) {
    const std::string denied =
        "COM1 (/dev/ttyUSB0): permission denied. Add your user to the group 'dialout' and log "
        "in again.";
    const std::string busy = " in use by another program.";
    const std::string busyNamed =
        " in use by sleep (process %2). Close that program and try again.";
    const struct {
        const char* language;
        std::string deniedLine, busyEnd, busyNamedEnd;
    } cases[] = {
        {"English", denied, busy, busyNamed},
        {"German",  // the language file's bytes, Windows-1252
         "COM1 (/dev/ttyUSB0): Zugriff verweigert. F\xfc"
         "gen Sie Ihren Benutzer "
         "der Gruppe 'dialout' hinzu und melden Sie sich neu an.",
         " von einem anderen Programm belegt.",
         " von sleep belegt (Prozess %2). Beenden Sie das Programm und versuchen Sie es erneut."},
        {"Bare", denied, busy, busyNamed},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.language);
        WizardOptions options;
        options.startSimulator = false;
        Wizard w(options);
        WriteFile(w.dir.File("Bare.ini"), "[Language]\r\nBare\r\n[002]\r\nNothing found.\r\n");
        PtyPair heldHigh;
        ASSERT_TRUE(heldHigh.HoldExclusively());
        const HoldingProcess other(heldHigh.slaveFd());
        ASSERT_GT(other.pid(), 0);
        PtyPair held;  // after the other program started, so that it holds COM24 alone
        ASSERT_TRUE(held.HoldExclusively());
        Wizard::SetProfile("Ports", "COM2", held.slavePath());
        Wizard::SetProfile("Ports", "COM24", heldHigh.slavePath());
        Wizard::SetProfile("Setting", "Language", c.language);
        w.refusedPorts = {{1, PortFault::Denied, EACCES, "/dev/ttyUSB0", "dialout"}};
        w.Start();
        ASSERT_TRUE(w.WaitForPage(PageId::Error));
        ui::Window& page = *w.sheet->page<CErrorPage>(PageId::Error);
        ASSERT_TRUE(Wizard::WaitFor([&] { return page.IsItemVisible(IDC_ERROR_PORTS); }));
        const std::string file = std::string(c.language) + ".ini";
        EXPECT_EQ(page.GetDlgItemText(IDC_ERROR_MESSAGE), LangText(file, "002"));
        EXPECT_EQ(page.GetDlgItemText(IDC_ERROR_PORTS),
                  c.deniedLine + "\nCOM2 (" + held.slavePath() + "):" + c.busyEnd + "\nCOM24 (" +
                      heldHigh.slavePath() +
                      "):" + WithArgument(c.busyNamedEnd, std::to_string(other.pid()), "%2"));
        if (c.language == std::string("English")) w.Screenshot("error-ports");
    }
}

// Several pages giving up at once activate the error page again while it searches: still one
// search a round, one beep. Answers that reach it once it is no longer shown change nothing.
TEST(ErrorPage, OneSearchAtATimeAndNoneForAPageLeft) {
    WizardOptions options;
    options.startSimulator = false;
    Wizard w(options);
    w.Start();
    ASSERT_TRUE(w.WaitForPage(PageId::Error));
    ASSERT_TRUE(w.sheet->SetActivePage(w.sheet->page(PageId::Error)));
    ASSERT_TRUE(w.sheet->SetActivePage(w.sheet->page(PageId::Error)));
    const int beepsBefore = w.beeps;
    // Rounds are a second apart: a single chain beeps at most three times in 2.5 s.
    EXPECT_FALSE(Wizard::WaitFor([&] { return w.beeps - beepsBefore > 3; }, 2500));

    w.sheet->m_link.Stop();  // the test plays the worker's answers itself
    ASSERT_TRUE(w.sheet->SetActivePage(w.sheet->page(PageId::Start)));
    const int beepsAtStart = w.beeps;
    const ui::Hwnd errorPage = w.sheet->page<CErrorPage>(PageId::Error)->handle();
    ui::SendMessage(errorPage, WM_LINK_RESULT, static_cast<int>(LinkResult::Scanned), 7);
    EXPECT_TRUE(w.IsActive(PageId::Start));
    EXPECT_EQ(w.sheet->m_nComPort, 0);
    ui::SendMessage(errorPage, WM_LINK_RESULT, static_cast<int>(LinkResult::Scanned), 0);
    EXPECT_EQ(w.beeps, beepsAtStart);
    EXPECT_TRUE(w.IsActive(PageId::Start));
}

// The wizard's own buttons are worded as the desktop's wizards are, the standard dialogs through
// Qt's translations; the pages keep the language file's. The run says which language its desktop
// has (QUBSET_EXPECT_DESKTOP_LANGUAGE, English when unset).
TEST(Sheet, ButtonsFollowTheDesktopLanguageAndPagesTheLanguageFile) {
    const char* expected = std::getenv("QUBSET_EXPECT_DESKTOP_LANGUAGE");
    const bool german = expected && std::string_view(expected) == "de";
    const auto toolkit = ui::LoadToolkitTranslations(QLocale::system());
    if (german) {
        ASSERT_EQ(QLocale::system().language(), QLocale::German);
        ASSERT_TRUE(toolkit) << "qtbase_de is missing (Debian: qt6-translations-l10n)";
    }
    Wizard w;
    w.Start();
    auto text = [&](const char* name) {
        return ui::SheetWindow(*w.sheet)->findChild<QPushButton*>(name)->text();
    };
    EXPECT_EQ(text("back"), german ? QString::fromUtf8("< &Zurück") : "< &Back");
    EXPECT_EQ(text("next"), german ? "&Weiter >" : "&Next >");
    EXPECT_EQ(text("finish"), german ? "Fertig stellen" : "&Finish");
    EXPECT_EQ(text("cancel"), german ? "Abbrechen" : "Cancel");
    QMessageBox box(QMessageBox::Warning, "", "", QMessageBox::Ok | QMessageBox::Cancel);
    EXPECT_EQ(box.button(QMessageBox::Cancel)->text(), german ? "Abbrechen" : "Cancel");
    EXPECT_TRUE(w.sheet->GetTitle().starts_with(LangText("English.ini", "001")));
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

namespace {

// How a whole run of the application is left.
enum class Leave { AfterUpload, CancelAfterUpload, CancelBefore };

// Runs the application object as main does, acting as an installer would: through every page
// to Finish, or Cancel as `leave` says. Its exit status; `cancelledAfterUpload` tells whether
// Cancel came after the unit had accepted the upload.
// With a `remotePassword` the session is a remote one that dials with it.
// A `siteFile` is handed to the application as the command line's.
int RunApplication(Wizard& w, Leave leave, bool* cancelledAfterUpload,
                   const std::string& remotePassword = "",
                   const std::filesystem::path& siteFile = {}) {
    const bool upload = leave != Leave::CancelBefore;
    QTimer driver;
    bool finished = false;
    *cancelledAfterUpload = false;
    QObject::connect(&driver, &QTimer::timeout, [&] {
        CMainSheet* sheet = AfxGetMainSheet();
        if (!sheet) return;
        const bool nextOffered = sheet->wizardButtons() & ui::PSWIZB_NEXT;
        ui::PropertyPage* page = sheet->GetActivePage();
        // The disconnect is asked for once the upload has been accepted.
        const bool accepted = w.simulator.RequestCount(15) > 0;
        if (!upload && nextOffered) {
            sheet->PressCancel();
        } else if (leave == Leave::CancelAfterUpload && accepted && !*cancelledAfterUpload) {
            *cancelledAfterUpload = true;
            sheet->PressCancel();
        } else if (page == sheet->page(PageId::Start) && !nextOffered) {
            if (remotePassword.empty()) return Wizard::Click(*page, IDC_LOCAL);
            Wizard::Click(*page, IDC_REMOTE);
            Wizard::Type(*page, IDC_PHONE, "491709998887");
            Wizard::Type(*page, IDC_PASSWORD, remotePassword);
        } else if (sheet->CanFinish() && !finished) {
            finished = true;
            sheet->PressFinish();
        } else if (sheet->CanGoNext()) {
            sheet->PressNext();
        }
    });
    driver.start(50);
    CPelmaroApp app(WizardPages());
    app.SetSiteFile(siteFile);
    return app.InitInstance();
}

}  // namespace

// The application object runs the wizard modally and hands back the exit status: 1 once the
// unit has accepted a configuration, however the wizard is left then (Cancel in the second
// before it ends by itself included); 0 after Cancel before that. A site file named on the
// command line is laid over the unit's record once it is identified, and so uploaded.
TEST(Application, ExitStatusOfAWholeRun) {
    for (const Leave leave : {Leave::AfterUpload, Leave::CancelAfterUpload, Leave::CancelBefore}) {
        const bool upload = leave != Leave::CancelBefore;
        Wizard w;
        sim::Unit shop = sim::DefaultUnit();
        shop.record.setSlotText(layout::kSlotDtmfNumber0, "0309999");
        const std::filesystem::path siteFile = w.dir.File("shop.qubsite");
        ASSERT_TRUE(WriteBytes(siteFile, site::Serialize(site::FromRecord(
                                             shop.record, false, "2026-05-01T08:30:00Z"))));
        bool cancelledAfterUpload = false;
        const bool withFile = leave == Leave::AfterUpload;
        const int status = RunApplication(w, leave, &cancelledAfterUpload, "",
                                          withFile ? siteFile : std::filesystem::path());
        EXPECT_EQ(status, upload ? 1 : 0);
        EXPECT_EQ(cancelledAfterUpload, leave == Leave::CancelAfterUpload);
        EXPECT_EQ(w.simulator.AcceptedUploads().size(), upload ? 1u : 0u);
        EXPECT_EQ(AfxGetMainSheet(), nullptr);
        if (upload) {
            EXPECT_EQ(w.simulator.Local().record.slotText(layout::kSlotDtmfNumber0),
                      withFile ? "0309999" : "0301234567");
        }
    }
}

namespace {

// One line of the wire trace.
struct TraceLine {
    double ms = 0;
    QString kind;  // TX, RX, == (a result), !! (a port not opened)
    QString rest;
    int command = -1, length = -1;
    std::vector<std::uint8_t> bytes;
};

std::vector<TraceLine> ReadTrace(const QString& path) {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    const QStringList lines = QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts);
    EXPECT_FALSE(lines.isEmpty());
    EXPECT_TRUE(lines.value(0).startsWith("# wire trace opened "));
    static const QRegularExpression entry(R"(^ *(\d+\.\d{3}) (TX|RX|==|!!) COM3 (.*)$)");
    static const QRegularExpression frameLine(R"(^cmd (\d+) len (\d+):((?: [0-9A-F]{2})*)$)");
    std::vector<TraceLine> trace;
    for (const QString& line : lines) {
        if (line.startsWith('#')) continue;
        const auto m = entry.match(line);
        EXPECT_TRUE(m.hasMatch()) << line.toStdString();
        if (!m.hasMatch()) continue;
        TraceLine t;
        t.ms = m.captured(1).toDouble();
        t.kind = m.captured(2);
        t.rest = m.captured(3);
        if (const auto f = frameLine.match(t.rest); f.hasMatch()) {
            t.command = f.captured(1).toInt();
            t.length = f.captured(2).toInt();
            for (const QString& hex : f.captured(3).split(' ', Qt::SkipEmptyParts))
                t.bytes.push_back(static_cast<std::uint8_t>(hex.toUInt(nullptr, 16)));
        }
        trace.push_back(t);
    }
    return trace;
}

}  // namespace

// A program started from a menu has no terminal: a trace the settings ask for that cannot be
// written is said in a message box, and the wizard runs all the same.
TEST(Application, ATraceThatCannotBeWrittenIsShown) {
    Wizard w;
    Wizard::SetProfile("Setting", "Trace", "1");
    ASSERT_TRUE(WriteBytes(w.dir.File("not-a-folder"), "x"));
    qputenv("XDG_STATE_HOME", QByteArray::fromStdString(w.dir.File("not-a-folder")));
    bool cancelled = false;
    const int status = RunApplication(w, Leave::CancelBefore, &cancelled);
    qunsetenv("XDG_STATE_HOME");
    EXPECT_EQ(status, 0);
    ASSERT_FALSE(w.messages.empty());
    EXPECT_TRUE(w.messages[0].starts_with("No wire trace: ")) << w.messages[0];
}

namespace {

Bytes DialPayload(const sim::Simulator& simulator) {
    for (const sim::Request& r : simulator.Requests())
        if (r.command == command::kDialRequest) return r.payload;
    return {};
}

}  // namespace

// With Setting/Trace = 1 a whole remote session, the PIN dialog used, goes to a private trace
// in the state folder: every frame whole and in order, what each exchange answered, the image
// the unit took and the texts it sent byte for byte, but no password, code or PIN: their bytes
// and the checksums of their frames masked.
TEST(Application, WireTraceOfAWholeSession) {
    const std::string pin = "8642", dialPassword = "Pw7!x";
    WizardOptions options;
    options.simulator.remotePassword = dialPassword;
    Wizard w(options);
    Wizard::SetProfile("Setting", "Trace", "1");
    qputenv("XDG_STATE_HOME", QByteArray::fromStdString(w.dir.path().string()));
    const sim::Unit local = w.simulator.Local(), remote = w.simulator.Remote();
    w.simulator.AddFault({sim::FaultKind::PinRequired, sim::Phase::Settings, 1});
    w.OnDialog([&](ui::Window& dialog) {
        Wizard::Type(dialog, IDC_PIN, pin);
        Wizard::Click(dialog, ui::IDOK);
    });
    bool cancelled = false;
    const int status = RunApplication(w, Leave::AfterUpload, &cancelled, dialPassword);
    qunsetenv("XDG_STATE_HOME");
    ASSERT_EQ(status, 1);
    ASSERT_EQ(w.dialogsShown.size(), 1u);
    ASSERT_EQ(w.simulator.AcceptedUploads().size(), 1u);
    EXPECT_EQ(w.simulator.Remote().simPin, pin);

    const std::string path = w.dir.File("Miltra/ui_tests-trace.log");
    EXPECT_EQ(std::filesystem::status(path).permissions(),
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    EXPECT_EQ(std::filesystem::status(w.dir.File("Miltra")).permissions(),
              std::filesystem::perms::owner_all);
    QFile raw(QString::fromStdString(path));
    ASSERT_TRUE(raw.open(QIODevice::ReadOnly));
    const QByteArray file = raw.readAll();
    const std::vector<std::string> secrets = {pin, dialPassword, "s3cret", "2468", "1357"};
    for (const std::string& secret : secrets) {
        QByteArray hex;
        for (const char c : secret) hex += ' ' + QByteArray(1, c).toHex().toUpper();
        EXPECT_FALSE(file.contains(hex)) << secret;
        EXPECT_FALSE(file.contains(QByteArray::fromStdString(secret))) << secret;
    }
    const auto masked = [](Bytes payload, int replyTo) {
        replyTo < 0 ? fields::MaskRequestSecrets(payload)
                    : fields::MaskReplySecrets(replyTo, payload);
        return payload;
    };
    const std::vector<Bytes> tables = {masked(sim::StringTableReply(local), 10),
                                       masked(sim::StringTableReply(remote), 10)};

    const auto trace = ReadTrace(QString::fromStdString(w.dir.File("Miltra/ui_tests-trace.log")));
    std::vector<int> sent;
    QStringList results;
    double last = 0;
    for (std::size_t i = 0; i < trace.size(); ++i) {
        const TraceLine& t = trace[i];
        SCOPED_TRACE(t.rest.toStdString());
        EXPECT_GE(t.ms, last);
        last = t.ms;
        if (t.kind == "==") results << t.rest;
        if (t.length < 0) continue;
        // Each frame whole: start byte, length, payload, checksum.
        ASSERT_EQ(t.bytes.size(), static_cast<std::size_t>(t.length) + frame::kOverhead);
        EXPECT_EQ(t.bytes[0], frame::kStart);
        EXPECT_EQ(t.bytes[1] | (t.bytes[2] << 8), t.length);
        const Bytes payload(t.bytes.begin() + 3, t.bytes.end() - 1);
        bool secret = t.kind == "TX" && (t.command == command::kWriteConfiguration ||
                                         t.command == command::kDialRequest);
        if (t.kind == "RX" && t.command == command::kReadStringTable) {
            const auto table = std::find(tables.begin(), tables.end(), payload);
            ASSERT_NE(table, tables.end());
            secret = *table != (table == tables.begin() ? sim::StringTableReply(local)
                                                        : sim::StringTableReply(remote));
        }
        EXPECT_EQ(t.bytes.back(),
                  secret ? fields::kMaskByte : frame::Checksum(payload.data(), payload.size()));
        if (t.kind == "TX") {
            sent.push_back(t.command);
            EXPECT_EQ(t.command, t.bytes[3]);
        }
        if (t.kind == "TX" && t.command == command::kDialRequest) {
            EXPECT_EQ(payload, masked(DialPayload(w.simulator), -1));
        }
        if (t.kind == "TX" && t.command == command::kWriteConfiguration) {
            EXPECT_EQ(payload, masked(w.simulator.AcceptedUploads()[0], -1));
            ASSERT_LT(i + 1, trace.size());
            EXPECT_EQ(trace[i + 1].kind, "RX");
            EXPECT_EQ(trace[i + 1].command, command::kWriteConfiguration);
            EXPECT_EQ(trace[i + 1].bytes, FrameBytes({command::kAckUpload}));
        }
    }
    // Identification, event names, upload, disconnect: in that order.
    const std::vector<int> road = {command::kReadModemInfo,      command::kReadSettings,
                                   command::kReadStringTable,    command::kReadEvents,
                                   command::kWriteConfiguration, command::kDisconnect};
    auto at = sent.begin();
    for (int c : road) {
        at = std::find(at, sent.end(), c);
        EXPECT_NE(at, sent.end()) << "no command " << c << " in its place";
    }
    EXPECT_TRUE(results.contains("identify result 0"));
    EXPECT_TRUE(results.contains("link command 0 answer 0 result 3"));  // found on COM3
    EXPECT_TRUE(results.contains("link command 3 answer 7 result " +
                                 QString::number(sim::DefaultUnit().catalogueLength)));
    EXPECT_TRUE(results.contains("link command 4 answer 2 result 0"));  // upload taken
}
