#include "app/Welcom.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

#include "app/Profile.h"
#include "resources/Resource.h"
#include "resources/Templates.h"
#include "ui/Services.h"
#include "ui/VersionInfo.h"

namespace {

#ifdef _WIN32
constexpr const char* kExecutableName = "Qubset.exe";
#else
constexpr const char* kExecutableName = "Qubset";
#endif
constexpr const char* kTitleSeparator = "   ";

// Case folded as the code page folds it: ASCII and the Latin-1 letters.
unsigned char Fold(char c) {
    const auto b = static_cast<unsigned char>(c);
    if (b >= 0xC0 && b <= 0xDE && b != 0xD7) return static_cast<unsigned char>(b + 0x20);
    return static_cast<unsigned char>(std::tolower(b));
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() &&
           std::equal(prefix.begin(), prefix.end(), text.begin(),
                      [](char a, char b) { return Fold(a) == Fold(b); });
}

std::filesystem::path LanguageDirectory() {
    std::error_code error;
    return LanguageFolder(std::filesystem::current_path(error),
                          ui::ApplicationDirectory() / QUBSET_LANGUAGE_FOLDER);
}

}  // namespace

std::string ToolVersionText() {
    // Read once a run: finding the record means reading the whole executable, which would
    // stall the window at every language change.
    static const std::string text = [] {
#ifdef _WIN32
        const std::string path = kExecutableName;  // the system's search, own folder first
#else
        const std::string path = (ui::ApplicationDirectory() / kExecutableName).string();
#endif
        return VersionText(path, kExecutableName);
    }();
    return text;
}

CWelcom::CWelcom() : CWizardPage(GetTemplate(IDD_WELCOME)) {
    OnSelChange(IDC_LANGUAGE, [this] { ApplyLanguage(); });
    OnClicked(IDC_WORK_WITHOUT_UNIT, [this] { WorkWithoutUnit(); });
}

bool CWelcom::OnInitDialog() {
    if (!CWizardPage::OnInitDialog()) return false;
    PostButtons(ui::PSWIZB_DISABLEDFINISH);
    FillLanguageList();
    return true;
}

void CWelcom::FillLanguageList() {
    for (const std::string& language : ListLanguages(LanguageDirectory()))
        AddComboItem(IDC_LANGUAGE, language);
    const std::string stored = GetProfileString(kSettingSection, kLanguageValue, "English");
    const int count = GetComboCount(IDC_LANGUAGE);
    int index = 0;
    for (int i = 0; i < count; ++i) {
        if (StartsWithNoCase(GetComboItemText(IDC_LANGUAGE, i), stored)) {
            index = i;
            break;
        }
    }
    SetComboSelection(IDC_LANGUAGE, count ? index : -1);
}

bool CWelcom::OnSetActive() {
    if (!CWizardPage::OnSetActive()) return false;
    if (m_pSheet->m_nComPort != 0) PostButtons(ui::PSWIZB_NEXT);
    Scan();
    ApplyLanguage();
    return true;
}

void CWelcom::Scan() {
    ++m_nScansOut;
    m_pSheet->m_link.RequestScan(handle());
}

void CWelcom::WorkWithoutUnit() {
    if (!m_pSheet->WorkWithoutUnit(GetSafeHwnd())) return;
    m_nStaleScans = m_nScansOut;
    PostButtons(ui::PSWIZB_DISABLEDFINISH);
    Scan();
    ApplyLanguage();
}

int CWelcom::OnWizardNext() {
    if (m_pSheet->workMode() != WorkMode::SiteFile) return ui::kWizardDefault;
    m_pSheet->remoteMode = 0;
    m_pSheet->identifyPending = 1;
    m_pSheet->ForgetEvents();
    m_pSheet->SetActivePage(m_pSheet->page(PageId::General));
    return ui::kWizardStay;
}

void CWelcom::ApplyLanguage() {
    const std::filesystem::path directory = LanguageDirectory();
    m_strLanguage = GetDlgItemText(IDC_LANGUAGE);
    WriteProfileString(kSettingSection, kLanguageValue, m_strLanguage);
    m_pSheet->m_strLangFile = directory / ui::PathFromText(m_strLanguage + ".ini");
    const std::string note = m_pSheet->WorkNote();
    m_pSheet->SetTitle(Text("001") + kTitleSeparator + ToolVersionText() +
                       (note.empty() ? "" : kTitleSeparator + note));
    SetDlgItemText(IDC_WORK_WITHOUT_UNIT, AfxWorkText(worktext::kWithoutUnit));
    ShowItem(IDC_WORK_WITHOUT_UNIT, m_pSheet->workMode() == WorkMode::Cable);
    unsigned code = 0;
    if (ParseLangCode(ReadSectionLine(m_pSheet->m_strLangFile, "LANG_CODE", kTextBuffer), &code))
        m_pSheet->m_nLangCode = code;
    m_pSheet->ForgetEvents();
}

std::intptr_t CWelcom::OnLinkResult(const LinkAnswer& answer) {
    if (answer.code == LinkResult::Scanned) {
        --m_nScansOut;
        if (m_nStaleScans > 0) {
            --m_nStaleScans;
            return 0;
        }
    }
    if (answer.code == LinkResult::Scanned && answer.ok) {
        m_pSheet->m_nComPort = answer.port();
        // A search that ends after the installer has moved on leaves that page's buttons be.
        if (m_pSheet->GetActivePage() == this) PostButtons(ui::PSWIZB_NEXT);
    } else {
        m_pSheet->LinkLost();
    }
    return 0;
}
