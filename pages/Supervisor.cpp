#include "pages/Supervisor.h"

#include "resources/Resource.h"

using namespace layout;

// A supervisor's password is kept at the row's index.
const CPhoneBook::RowLayout CSupervisor::kRows{kSlotSupervisorNumber0, kSupervisorCount,
                                               kPhoneNumberSize - 1,   Codes::SupervisorCodes,
                                               AccountTable::Dtmf,     true};

namespace {

constexpr CPhoneBook::Caption kCaptions[] = {
    {IDC_BOOK_TITLE, "700"}, {IDC_SCENARIO_0, "701"},  {IDC_SCENARIO_1, "702"},
    {IDC_SCENARIO_2, "703"}, {IDC_BOOK_OPTION, "707"},
};

}  // namespace

CSupervisor::CSupervisor() : CPhoneBook(kCaptions) {
    m_nCapacity = kSupervisorCount;
    m_entry.password = true;
    m_entry.digitsOnly = true;
    m_bPasswordOnly = 1;
}

bool CSupervisor::OnInitDialog() {
    if (!CPhoneBook::OnInitDialog()) return false;
    SetPageIcon(IDI_SUPERVISOR);
    ShowItem(IDC_BOOK_PSTN, false);
    ShowItem(IDC_EVENT_TABLE, false);
    for (int id : {IDC_SCENARIO_0, IDC_SCENARIO_1, IDC_SCENARIO_2, IDC_BOOK_OPTION})
        ShowItem(id, true);
    if (Data().phoneBookFlags() & kSupervisorOption) CheckDlgButton(IDC_BOOK_OPTION, true);
    EnableScenarios(1);
    ShowStartScenario();
    UpdateData(false);
    LoadRows(kRows);
    UpdateData(false);
    return true;
}

// The scenario the unit is in, from the low seven bits of phoneBookFlags.
void CSupervisor::ShowStartScenario() {
    const int scenario = Data().phoneBookFlags() & kScenarioBits7;
    if (scenario == 1) {
        for (int id : {IDC_BOOK_LIST, IDC_BOOK_UP, IDC_BOOK_DOWN, IDC_BOOK_ADD, IDC_BOOK_REMOVE,
                       IDC_BOOK_PROPERTIES})
            EnableItem(id, false);
        CheckDlgButton(IDC_SCENARIO_1, true);
        return;
    }
    const int button = scenario == 2 ? IDC_SCENARIO_2 : IDC_SCENARIO_0;
    // Do what the button does, then show it chosen.
    ClickDlgButton(button);
    CheckDlgButton(button, true);
}

void CSupervisor::Store() {
    if (StoreRows(kRows)) {
        DeviceData& d = Data();
        const std::uint8_t flags = d.phoneBookFlags();
        d.setPhoneBookFlags(IsDlgButtonChecked(IDC_BOOK_OPTION)
                                ? static_cast<std::uint8_t>(flags | kSupervisorOption)
                                : static_cast<std::uint8_t>(flags & ~kSupervisorOption));
    }
}
