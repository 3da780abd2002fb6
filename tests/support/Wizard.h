// The whole wizard, offscreen, against the simulator: on a pseudo-terminal that the private
// settings store's "Ports" section gives COM3 (on Windows, on an in-memory cable at COM3), a
// current directory holding the language files, and helpers to wait and act as an installer
// would.
#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "app/MainSheet.h"
#include "device/DeviceData.h"
#include "link/SerialLine.h"
#include "sim/Simulator.h"
#include "site/SiteFile.h"
#include "tests/support/Backend.h"
#include "tests/support/TempDir.h"

namespace ui {
class Window;
}

using Rows = std::vector<std::string>;

struct WizardOptions {
    int comNumber = 3;
    bool startSimulator = true;
    sim::Options simulator;
};

class Wizard {
  public:
    explicit Wizard(WizardOptions options = {});
    ~Wizard();

    // Builds the sheet and shows it at the welcome page.
    void Start();
    // Builds the sheet and runs it as the program does, in its own modal loop, where `act`
    // runs once the loop is up. A sheet that `act` leaves open is ended, as a failure.
    void RunModal(const std::function<void()>& act);
    // Waits (running the event loop) until `done` holds; false when `ms` passed first.
    static bool WaitFor(const std::function<bool()>& done, int ms = 10000);
    // Lets queued events run for a moment (posted button states, link answers).
    static void Settle(int ms = 30);

    int ActiveIndex() const { return sheet->GetActiveIndex(); }
    ui::PropertyPage* Active() const { return sheet->GetActivePage(); }
    bool IsActive(PageId id) const { return sheet->GetActivePage() == sheet->page(id); }
    bool WaitForPage(PageId id, int ms = 10000);
    bool NextEnabled() const;
    void Next();
    // Waits for Next to be offered, presses it and lets the next page settle.
    void NextWhenEnabled();
    // From the welcome page, Local, to the communication page with its lists filled.
    void ToCommunicationPage();
    // Next until the end page.
    void ToEndPage();
    // Finish once it is offered; then waits for the program to end with status 1.
    void FinishAndWaitForExit();
    void Back();
    void Finish();
    // Grabs the sheet's window, or a dialog's, to PNG under QUBSET_SCREENSHOT_DIR, when
    // that is set.
    void Screenshot(const std::string& name) const;
    static void ScreenshotWindow(const ui::Window& window, const std::string& name);
    // Whether a dialog is up on the screen.
    static bool IsShown(const ui::Window& window);

    // Acting on a page or dialog by control id, as an installer would.
    static void Click(ui::Window& window, int id);
    // Typing as keys would, so that the edit's rules apply; the text is UTF-8, as typed. Type
    // empties the edit first; TypeMore types at the caret; Paste pastes there (Ctrl+V).
    static void Type(ui::Window& window, int id, const std::string& utf8);
    static void TypeMore(ui::Window& window, int id, const std::string& utf8);
    static void Paste(ui::Window& window, int id, const std::string& utf8);
    static void Press(ui::Window& window, int id, backend::Key key);
    static void SelectRow(ui::Window& window, int listId, const std::string& text);
    static ::Rows Rows(ui::Window& window, int listId);
    // Chooses an item of a combo box by its text, as a click on it would.
    static void Choose(ui::Window& window, int comboId, const std::string& text);
    // The pages of the sheet, in sequence order.
    std::vector<PageId> Sequence() const;
    // Runs `act` on each modal dialog as it opens (the dialog must be ended by `act`).
    void OnDialog(std::function<void(ui::Window&)> act);
    std::vector<std::string> dialogsShown;  // class names of the dialogs that opened
    std::vector<PageId> visited;            // every page activation, in order
    bool Visited(PageId id) const;

    // Writes a value of the settings store before the sheet is built.
    static void SetProfile(std::string_view section, std::string_view entry,
                           std::string_view value);
    static std::string Profile(std::string_view section, std::string_view entry);

    // The automatic backups there are, and the one "after" backup made since `before`
    // (an empty file when there is not exactly one).
    static std::set<std::filesystem::path> Backups();
    static site::SiteFile AfterBackup(const std::set<std::filesystem::path>& before);

    // A new line to the simulator at the wizard's COM number, as the tool would open it.
    std::unique_ptr<SerialLine> Cable();

    TempDir dir;
    sim::Simulator simulator;
    int comNumber;
    std::string linkPath;
    DeviceData data;
    std::unique_ptr<SerialLine> line;
    // The line the sheet gets instead of the test cable's (set before Start).
    std::unique_ptr<SerialLine> lineOverride;
    // Ports that refuse to open with these failures (set before Start).
    std::vector<OpenFailure> refusedPorts;
    std::unique_ptr<CMainSheet> sheet;
    int beeps = 0;
    std::vector<std::string> messages;  // message boxes shown, text first

  private:
    void MakeSheet();
};
