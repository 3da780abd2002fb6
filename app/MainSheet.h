// The wizard sheet: owns every page object, the link worker and the values all pages share.
#pragma once

#include <array>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <span>

#include "app/LangFile.h"
#include "app/LineChoice.h"
#include "app/SiteFiles.h"
#include "app/UnitInProgram.h"
#include "device/Fields.h"
#include "link/LinkWorker.h"
#include "link/ResultChannel.h"
#include "link/SerialPort.h"
#include "ui/PropertySheet.h"
#include "ui/Services.h"

struct DeviceData;
class SerialLine;
class WireTrace;
class CMainSheet;

// The page objects, End the last.
enum class PageId {
    Start,
    Dialing,
    Welcome,
    Error,
    General,
    Sms,
    CidSms,
    Dtmf,
    Supervisor,
    Ip,
    End
};
inline constexpr int kPageCount = static_cast<int>(PageId::End) + 1;

// One page of the wizard: the field table's page it edits, if any, and how it is made. The
// table of them (qubset/WizardPages.cpp, the one place that knows every page class) has one row
// per id, in the ids' order.
struct PageRow {
    PageId id;
    std::optional<fields::Page> fields;
    std::unique_ptr<ui::PropertyPage> (*make)(CMainSheet& sheet);
};
using PageTable = std::span<const PageRow, kPageCount>;

// The sequence the sheet starts with; the communication page rebuilds what follows it: the
// chosen protocols' pages, then kLastPages.
inline constexpr PageId kFirstPages[] = {PageId::Error,   PageId::Welcome, PageId::Start,
                                         PageId::Dialing, PageId::General, PageId::Supervisor};
inline constexpr PageId kLastPages[] = {PageId::Supervisor, PageId::End};
// Whom the wizard talks to: the unit on the cable, a site file's unit or the demo unit, the
// last two living in the program.
enum class WorkMode { Cable, SiteFile, Demo };

// The texts of work without a unit: language section and the English words built in.
struct WorkText {
    const char* section;
    const char* english;
};
namespace worktext {
inline constexpr WorkText kWithoutUnit{"1300", "Work without a unit..."};
inline constexpr WorkText kDemoButton{"1301", "Practice with a demo unit"};
inline constexpr WorkText kDemoNote{"1302", "demo unit"};
inline constexpr WorkText kFileNote{"1303", "site file %1"};
inline constexpr WorkText kFileFinish{"1304", "Finish and save the site file (no unit is written)"};
inline constexpr WorkText kNoUnitInProgram{"1305", "The unit in the program cannot be started."};
}  // namespace worktext

class CMainSheet : public ui::PropertySheet {
    // What the worker works with; constructed before it.
    DeviceData& m_data;
    LineChoice m_line;
    UnitInProgram m_unitInProgram;  // outlives the port that may talk to it
    SerialPort m_port;
    ResultChannel m_results;
    // Brings a waiting link answer onto the UI thread.
    ui::UiWakeup m_answerPump;

  public:
    // Makes and owns one page of each row of `pages`. Every frame on the line goes to `trace`
    // when there is one.
    CMainSheet(std::string_view caption, ui::Hwnd parent, PageId startPage, DeviceData& data,
               SerialLine& line, PageTable pages, WireTrace* trace = nullptr);
    ~CMainSheet() override;

    int DoModal();
    // Shows the wizard without waiting; the caller runs the event loop.
    void Create();
    // Ends the wizard; the program then leaves with `status`.
    void EndProgram(int status);
    // The status the program leaves with from now on, however the wizard ends.
    void SetExitStatus(int status) { m_exitStatus = status; }
    int exitStatus() const { return m_exitStatus; }

    DeviceData& data() { return m_data; }
    // The record as the unit sent it at the last identification, before any page edited it:
    // what an upload's changes are measured against.
    const DeviceData& unitRecord() const { return *m_unitRecord; }
    // The ports the last search could not open; read it in a scan's answer.
    const std::vector<OpenFailure>& openFailures() const { return m_port.openFailures(); }

    // Reads the unit's event names for `page` unless they are in or a request is still out:
    // one at a time, so the names never change under an open event list. The answer goes to
    // that page in whatever window it has by then (a rebuild of the sequence makes it anew).
    void RequestEvents(ui::Window& page);
    // The names in hand belong to another unit or language from now on. A request still out
    // is answered with those old names: its answer is dropped, and the next page asks anew.
    void ForgetEvents();
    // From then on talks to the unit the site file at `file` describes (empty: asks for a
    // file), in the program: no port is opened any more. False when no file was taken. Also
    // before the sheet is shown: the welcome page then finds that unit.
    bool WorkWithoutUnit(ui::Hwnd parent, const std::filesystem::path& file = {});
    // From then on talks to the demo unit in the program. False when it cannot be started.
    bool PracticeWithDemoUnit();
    WorkMode workMode() const { return m_workMode; }
    // What the title adds to say whom the wizard talks to: "" for the unit on the cable.
    std::string WorkNote() const;

    // A page object by its id; as its own class where the caller can see that class.
    template <class P = ui::PropertyPage>
    P* page(PageId id) const {
        return static_cast<P*>(m_pages[static_cast<std::size_t>(id)].get());
    }
    // The pages after the communication page: those of the field table's `chosen` pages, in
    // that order, then kLastPages.
    void SetPagesAfterCommunication(std::span<const fields::Page> chosen);
    // The unit stopped answering: its port is forgotten and the error page searches anew.
    void LinkLost();

    std::filesystem::path m_strLangFile;
    LinkWorker m_link;
    int m_nComPort = 0;
    int m_bEventsLoaded = 0;
    unsigned m_nLangCode = 0;

    // Shared by the pages: set by the connection page, read by the communication page...
    int identifyPending = 0;
    int remoteMode = 0;
    // ...and set by the communication page, read by the phone number dialog.
    int primaryMode = 0;
    // The site file opened and the record as identified, for the pages that use them.
    CSiteFiles m_siteFiles;

  private:
    void Deliver(WindowHandle window, int code, std::intptr_t value);

    bool TalkToUnitInProgram(const sim::Unit& unit, WorkMode mode);

    PageTable m_table;
    std::array<std::unique_ptr<ui::PropertyPage>, kPageCount> m_pages;
    WorkMode m_workMode = WorkMode::Cable;
    std::unique_ptr<DeviceData> m_unitRecord;
    ui::Window* m_pEventsAsker = nullptr;  // the page whose event names request is out
    int m_nStaleEventAnswers = 0;          // answers still to come for forgotten requests
    PageId m_startPage;
    int m_exitStatus = 0;
};

// The application's main window, from which pages and dialogs take the sheet.
CMainSheet* AfxGetMainSheet();
void AfxSetMainSheet(CMainSheet* sheet);
// A section of the active language file (the main sheet's), for dialogs.
std::string AfxLangText(std::string_view section, std::size_t bufferSize = kTextBuffer);
// A text of work without a unit in the active language, English where it has none.
std::string AfxWorkText(const WorkText& text);
