// The whole wizard, offscreen, against the simulator on a pseudo-terminal: a private settings
// store whose "Ports" section points COM3 at the simulator, a current directory holding the
// language files, and helpers to wait and act as an installer would.
#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>
#include <memory>

#include "app/MainSheet.h"
#include "device/DeviceData.h"
#include "link/SerialLine.h"
#include "sim/Simulator.h"
#include "tests/support/TempDir.h"

class QWidget;

namespace ui {
class Window;
}

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
    // Grabs the sheet's window to PNG under QUBSET_SCREENSHOT_DIR, when that is set.
    void Screenshot(const QString& name) const;
    static void ScreenshotWidget(QWidget* widget, const QString& name);

    // Acting on a page or dialog by control id, as an installer would.
    static void Click(ui::Window& window, int id);
    // Type empties the edit first; TypeMore types at the caret; Paste pastes there (Ctrl+V).
    static void Type(ui::Window& window, int id, const QString& text);
    static void TypeMore(QWidget* edit, const QString& text);
    static void Paste(ui::Window& window, int id, const QString& text);
    static void SelectRow(ui::Window& window, int listId, const QString& text);
    static QStringList Rows(ui::Window& window, int listId);
    // The pages of the sheet, in sequence order.
    std::vector<PageId> Sequence() const;
    // Runs `act` on each modal dialog as it opens (the dialog must be ended by `act`).
    void OnDialog(std::function<void(ui::Window&)> act);
    std::vector<std::string> dialogsShown;  // class names of the dialogs that opened
    std::vector<PageId> visited;            // every page activation, in order
    bool Visited(PageId id) const;

    // Writes a value of the settings store before the sheet is built.
    static void SetProfile(const QString& key, const QVariant& value);
    static QVariant Profile(const QString& key);

    TempDir dir;
    sim::Simulator simulator;
    std::string linkPath;
    DeviceData data;
    std::unique_ptr<SerialLine> line;
    // Ports that refuse to open with these failures (set before Start).
    std::vector<OpenFailure> refusedPorts;
    std::unique_ptr<CMainSheet> sheet;
    int beeps = 0;
    std::vector<QString> messages;  // message boxes shown, text first
};
