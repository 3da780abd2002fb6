#include "tests/support/Wizard.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <typeinfo>

#include "app/Profile.h"
#include "qubset/WizardPages.h"
#include "resources/Resource.h"
#include "tests/support/Backend.h"
#include "tests/support/RefusingLine.h"
#include "tests/support/TestCable.h"
#include "ui/Dialog.h"
#include "ui/ListView.h"
#include "ui/Services.h"
#include "ui/Settings.h"

namespace {

// Where the language files are: the source tree's, or on Windows those the build put beside
// the tests.
std::filesystem::path LangDir() {
#ifdef _WIN32
    return ui::ApplicationDirectory();
#else
    return QUBSET_LANG_DIR;
#endif
}

}  // namespace

Wizard::Wizard(WizardOptions options)
    : simulator(options.simulator), comNumber(options.comNumber), linkPath(dir.File("qubrin")) {
    backend::ClearSettings();
    // The tool reads its language files from its current directory.
    for (const auto& file : std::filesystem::directory_iterator(LangDir()))
        if (file.path().extension() == ".ini")
            std::filesystem::copy_file(file.path(), dir.path() / file.path().filename());
    std::filesystem::current_path(dir.path());
    SetProfile(kPortsSection, "COM" + std::to_string(options.comNumber), linkPath);
    SetProfile(kPortsSection, kDiscoverValue, "false");
    if (options.startSimulator) StartOnTestCable(simulator, linkPath);
    ui::automation().onBeep = [this] { ++beeps; };
    ui::automation().onPageActivated = [this](ui::Window& page) {
        for (int id = 0; id < kPageCount && sheet; ++id)
            if (sheet->page(static_cast<PageId>(id)) == &page)
                visited.push_back(static_cast<PageId>(id));
    };
    ui::automation().onMessageBox = [this](const std::string& text, const std::string& caption) {
        messages.push_back(text);
        messages.push_back(caption);
    };
}

Wizard::~Wizard() {
    sheet.reset();
    ui::automation() = {};
    simulator.Stop();
    std::filesystem::current_path(std::filesystem::temp_directory_path());
}

std::unique_ptr<SerialLine> Wizard::Cable() {
    return TestCableLine(simulator, comNumber, linkPath);
}

void Wizard::MakeSheet() {
    // Over a pseudo-terminal the ports are the settings' map, as in the program.
    line = lineOverride       ? std::move(lineOverride)
           : UseMemoryCable() ? Cable()
                              : MakePlatformSerialLine(ReadPortSettings());
    if (!refusedPorts.empty()) line = std::make_unique<RefusingLine>(std::move(line), refusedPorts);
    sheet = std::make_unique<CMainSheet>("", 0, PageId::Welcome, data, *line, WizardPages());
    AfxSetMainSheet(sheet.get());
}

void Wizard::Start() {
    MakeSheet();
    sheet->Create();
}

void Wizard::RunModal(const std::function<void()>& act) {
    MakeSheet();
    ui::UiWakeup driver([&] {
        act();
        if (sheet->IsEnded()) return;
        ADD_FAILURE() << "the wizard was left open";
        sheet->PressCancel();
    });
    driver.Post();
    sheet->DoModal();
}

bool Wizard::Visited(PageId id) const {
    return std::find(visited.begin(), visited.end(), id) != visited.end();
}

bool Wizard::WaitFor(const std::function<bool()>& done, int ms) {
    return backend::WaitFor(done, ms);
}

void Wizard::Settle(int ms) {
    backend::Settle(ms);
}

bool Wizard::WaitForPage(PageId id, int ms) {
    return WaitFor([&] { return IsActive(id); }, ms);
}

bool Wizard::NextEnabled() const {
    return sheet->CanGoNext();
}

// Each press lets the button states its page posts take effect, as they do before a person
// could press again.
void Wizard::Next() {
    sheet->PressNext();
    backend::ProcessEvents();
}

void Wizard::NextWhenEnabled() {
    ASSERT_TRUE(WaitFor([&] { return NextEnabled(); }));
    Next();
    Settle();
}

void Wizard::ToCommunicationPage() {
    NextWhenEnabled();
    ASSERT_TRUE(WaitForPage(PageId::Start));
    Click(*sheet->page(PageId::Start), IDC_LOCAL);
    NextWhenEnabled();
    ASSERT_TRUE(WaitForPage(PageId::General));
    ASSERT_TRUE(
        WaitFor([&] { return !Rows(*sheet->page(PageId::General), IDC_INSTALLED).empty(); }));
}

void Wizard::ToEndPage() {
    for (int i = 0; i < kPageCount && !IsActive(PageId::End); ++i) NextWhenEnabled();
    ASSERT_TRUE(IsActive(PageId::End));
}

void Wizard::FinishAndWaitForExit() {
    ASSERT_TRUE(WaitFor([&] { return sheet->CanFinish(); }));
    Finish();
    ASSERT_TRUE(WaitFor([&] { return sheet->IsEnded(); }, 20000));
    EXPECT_EQ(sheet->exitStatus(), 1);
}
void Wizard::Back() {
    sheet->PressBack();
    backend::ProcessEvents();
}

void Wizard::Finish() {
    sheet->PressFinish();
    backend::ProcessEvents();
}

namespace {

// Where screenshots go: QUBSET_SCREENSHOT_DIR, or nowhere when it is not set.
std::string ScreenshotFolder() {
    const char* folder = std::getenv("QUBSET_SCREENSHOT_DIR");
    return folder ? folder : "";
}

}  // namespace

void Wizard::Screenshot(const std::string& name) const {
    Settle(50);  // posted button states first
    if (const ui::PropertyPage* page = sheet->GetActivePage()) ScreenshotWindow(*page, name);
}

void Wizard::ScreenshotWindow(const ui::Window& window, const std::string& name) {
    if (!ScreenshotFolder().empty()) backend::Screenshot(window, ScreenshotFolder(), name);
}

bool Wizard::IsShown(const ui::Window& window) {
    return backend::IsShown(window);
}

void Wizard::Click(ui::Window& window, int id) {
    ASSERT_TRUE(window.HasItem(id)) << "no button " << id;
    window.ClickDlgButton(id);
}

void Wizard::Type(ui::Window& window, int id, const std::string& utf8) {
    ASSERT_TRUE(window.HasItem(id)) << "no edit " << id;
    backend::Clear(window, id);
    backend::Type(window, id, utf8);
}

void Wizard::TypeMore(ui::Window& window, int id, const std::string& utf8) {
    ASSERT_TRUE(window.HasItem(id)) << "no edit " << id;
    backend::Type(window, id, utf8);
}

void Wizard::Paste(ui::Window& window, int id, const std::string& utf8) {
    ASSERT_TRUE(window.HasItem(id)) << "no edit " << id;
    backend::Paste(window, id, utf8);
}

void Wizard::Press(ui::Window& window, int id, backend::Key key) {
    ASSERT_TRUE(window.HasItem(id)) << "no control " << id;
    backend::Press(window, id, key);
}

void Wizard::Choose(ui::Window& window, int comboId, const std::string& text) {
    ASSERT_TRUE(window.HasItem(comboId)) << "no combo box " << comboId;
    int index = -1;
    for (int i = 0; i < window.GetComboCount(comboId) && index < 0; ++i)
        if (window.GetComboItemText(comboId, i) == text) index = i;
    backend::Choose(window, comboId, index);
}

void Wizard::SelectRow(ui::Window& window, int listId, const std::string& text) {
    ui::ListView* list = window.GetListView(listId);
    ASSERT_TRUE(list) << "no list " << listId;
    for (int i = 0; i < list->GetItemCount(); ++i) {
        if (list->GetItemText(i) != text) continue;
        backend::SelectRow(*list, i);
        return;
    }
    FAIL() << "no row " << text;
}

Rows Wizard::Rows(ui::Window& window, int listId) {
    ::Rows rows;
    ui::ListView* list = window.GetListView(listId);
    for (int i = 0; list && i < list->GetItemCount(); ++i) rows.push_back(list->GetItemText(i));
    return rows;
}

std::vector<PageId> Wizard::Sequence() const {
    std::vector<PageId> ids;
    for (int i = 0; i < sheet->GetPageCount(); ++i)
        for (int id = 0; id < kPageCount; ++id)
            if (sheet->GetPage(i) == sheet->page(static_cast<PageId>(id)))
                ids.push_back(static_cast<PageId>(id));
    return ids;
}

void Wizard::OnDialog(std::function<void(ui::Window&)> act) {
    ui::automation().onModal = [this, act](ui::Window& dialog) {
        dialogsShown.push_back(typeid(dialog).name());
        act(dialog);
        // A failed assertion in `act` must not leave the test waiting on an open dialog.
        if (IsShown(dialog)) {
            ADD_FAILURE() << "the dialog was left open";
            static_cast<ui::Dialog&>(dialog).EndDialog(ui::IDCANCEL);
        }
    };
}

std::set<std::filesystem::path> Wizard::Backups() {
    std::set<std::filesystem::path> found;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(BackupFolder(), ec))
        found.insert(entry.path());
    return found;
}

site::SiteFile Wizard::AfterBackup(const std::set<std::filesystem::path>& before) {
    std::vector<std::filesystem::path> made;
    for (const auto& path : Backups())
        if (!before.count(path) && path.filename().string().find("-after") != std::string::npos)
            made.push_back(path);
    site::Opened opened;
    std::string error;
    if (made.size() != 1 || !site::ReadSiteFile(made[0], &opened, &error)) return {};
    return opened.file;
}

void Wizard::SetProfile(std::string_view section, std::string_view entry, std::string_view value) {
    ui::WriteProfileString(section, entry, value);
}

std::string Wizard::Profile(std::string_view section, std::string_view entry) {
    return ui::GetProfileString(section, entry, "");
}
