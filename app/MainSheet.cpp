#include "app/MainSheet.h"

#include "app/Profile.h"
#include "device/DeviceData.h"
#include "link/LinkAnswer.h"
#include "resources/Resource.h"
#include "ui/Window.h"

namespace {

CMainSheet* g_mainSheet = nullptr;

}  // namespace

CMainSheet* AfxGetMainSheet() {
    return g_mainSheet;
}
void AfxSetMainSheet(CMainSheet* sheet) {
    g_mainSheet = sheet;
}

std::string AfxLangText(std::string_view section, std::size_t bufferSize) {
    return g_mainSheet ? LangText(g_mainSheet->m_strLangFile, section, bufferSize) : std::string();
}

std::string AfxWorkText(const WorkText& text) {
    return g_mainSheet ? LangTextOr(g_mainSheet->m_strLangFile, text.section, text.english)
                       : std::string(text.english);
}

CMainSheet::CMainSheet(std::string_view caption, ui::Hwnd parent, PageId startPage,
                       DeviceData& data, SerialLine& line, PageTable pages, WireTrace* trace)
    : ui::PropertySheet(parent),
      m_data(data),
      m_line(line),
      m_port(m_line, trace),
      m_results([this] { m_answerPump.Post(); }),
      // The worker only posts a bare wake-up: the answer itself travels through the
      // ResultChannel, under its lock, so nothing but that lock orders the two threads.
      m_answerPump([this] {
          m_results.Pump([this](WindowHandle window, int code, std::intptr_t value) {
              Deliver(window, code, value);
          });
      }),
      m_link(m_port, data, m_results),
      m_table(pages),
      m_unitRecord(std::make_unique<DeviceData>()),
      m_startPage(startPage) {
    UseCodePageOfSettings();  // before any text is read or shown
    SetTitle(caption);
    SetIcon(IDI_SHEET);
    m_link.Start();
    for (const PageRow& row : m_table) m_pages[static_cast<std::size_t>(row.id)] = row.make(*this);
    for (PageId id : kFirstPages) AddPage(page(id));
}

CMainSheet::~CMainSheet() {
    // The worker first: an exchange may still be filling a page's record (the end page's
    // read-back), so no page may go before the thread has.
    m_link.Stop();
    for (auto& p : m_pages) p.reset();
    if (g_mainSheet == this) g_mainSheet = nullptr;
}

int CMainSheet::DoModal() {
    return ui::PropertySheet::DoModal(GetPageIndex(page(m_startPage)));
}

void CMainSheet::Create() {
    ui::PropertySheet::Create(GetPageIndex(page(m_startPage)));
}

void CMainSheet::SetPagesAfterCommunication(std::span<const fields::Page> chosen) {
    const int communication = GetPageIndex(page(PageId::General));
    while (GetPageCount() > communication + 1) RemovePage(GetPageCount() - 1);
    auto append = [this](PageId id) {
        if (GetPageIndex(page(id)) >= 0) RemovePage(page(id));
        AddPage(page(id));
    };
    for (fields::Page chosenPage : chosen)
        for (const PageRow& row : m_table)
            if (row.fields == chosenPage) append(row.id);
    for (PageId id : kLastPages) append(id);
}

void CMainSheet::LinkLost() {
    m_nComPort = 0;
    SetActivePage(page(PageId::Error));
}

void CMainSheet::RequestEvents(ui::Window& page) {
    if (m_bEventsLoaded || m_pEventsAsker) return;
    m_data.setLanguageCode(static_cast<std::uint16_t>(m_nLangCode & 0xFFFF));
    m_pEventsAsker = &page;
    m_link.RequestEvents(page.handle());
}

void CMainSheet::ForgetEvents() {
    m_bEventsLoaded = 0;
    if (!m_pEventsAsker) return;
    ++m_nStaleEventAnswers;
    m_pEventsAsker = nullptr;
}

void CMainSheet::Deliver(WindowHandle window, int code, std::intptr_t value) {
    // Requests are served in order, so a forgotten request answers before any later one.
    const LinkAnswer answer = LinkAnswer::Of(code, value);
    if (answer.code == LinkResult::EventsRead && m_nStaleEventAnswers > 0) {
        --m_nStaleEventAnswers;
        return;
    }
    if (answer.code == LinkResult::EventsRead && m_pEventsAsker) {
        window = m_pEventsAsker->handle();
        m_pEventsAsker = nullptr;
    }
    if (answer.FoundUnit()) *m_unitRecord = m_data;
    ui::SendMessage(window, WM_LINK_RESULT, code, value);
}

bool CMainSheet::WorkWithoutUnit(ui::Hwnd parent, const std::filesystem::path& file) {
    if (m_workMode != WorkMode::Cable) return false;
    sim::Unit unit;
    // A file already chosen (the command line's, or the connection page's) is the one to edit.
    const std::filesystem::path chosen = file.empty() ? m_siteFiles.ChosenPath() : file;
    if (!m_siteFiles.OpenToEdit(parent, chosen, &unit)) return false;
    return TalkToUnitInProgram(unit, WorkMode::SiteFile);
}

bool CMainSheet::PracticeWithDemoUnit() {
    return TalkToUnitInProgram(sim::DefaultUnit(), WorkMode::Demo);
}

bool CMainSheet::TalkToUnitInProgram(const sim::Unit& unit, WorkMode mode) {
    // One unit in the program a run: the line chosen once stays chosen.
    if (m_workMode != WorkMode::Cable || !m_unitInProgram.Start(unit)) return false;
    m_workMode = mode;
    m_line.Choose(m_unitInProgram.line());
    m_siteFiles.SetBackups(mode == WorkMode::Cable);
    m_nComPort = 0;
    ForgetEvents();
    return true;
}

std::string CMainSheet::WorkNote() const {
    switch (m_workMode) {
        case WorkMode::SiteFile:
            return WithArgument(
                LangTextOr(m_strLangFile, worktext::kFileNote.section, worktext::kFileNote.english),
                m_siteFiles.EditedFileName());
        case WorkMode::Demo:
            return LangTextOr(m_strLangFile, worktext::kDemoNote.section,
                              worktext::kDemoNote.english);
        case WorkMode::Cable:
            break;
    }
    return {};
}

void CMainSheet::EndProgram(int status) {
    m_exitStatus = status;
    EndDialog(status);
}
