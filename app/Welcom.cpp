#include "app/Welcom.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDir>

#include "app/Profile.h"
#include "app/VersionInfo.h"
#include "resources/Resource.h"
#include "resources/Templates.h"

namespace {

#ifdef _WIN32
constexpr const char* kExecutableName = "Qubset.exe";
#else
constexpr const char* kExecutableName = "Qubset";
#endif
const QString kTitleSeparator = QStringLiteral("   ");

}  // namespace

QString ToolVersionText() {
    // Read once a run: finding the record means reading the whole executable, which would
    // stall the window at every language change.
    static const QString text = [] {
#ifdef _WIN32
        const std::string path = kExecutableName;  // the system's search, own folder first
#else
        const std::string path =
            QDir(QCoreApplication::applicationDirPath()).filePath(kExecutableName).toStdString();
#endif
        return QString::fromStdString(VersionText(path, kExecutableName));
    }();
    return text;
}

CWelcom::CWelcom() : CWizardPage(GetTemplate(IDD_WELCOME)) {
    OnSelChange(IDC_LANGUAGE, [this] { ApplyLanguage(); });
}

bool CWelcom::OnInitDialog() {
    if (!CWizardPage::OnInitDialog()) return false;
    PostButtons(ui::PSWIZB_DISABLEDFINISH);
    FillLanguageList();
    return true;
}

void CWelcom::FillLanguageList() {
    QComboBox* list = GetComboBox(IDC_LANGUAGE);
    list->addItems(ListLanguages(QDir::currentPath()));
    const QString stored = GetProfileString(kSettingSection, kLanguageValue, "English");
    int index = 0;
    for (int i = 0; i < list->count(); ++i) {
        if (list->itemText(i).startsWith(stored, Qt::CaseInsensitive)) {
            index = i;
            break;
        }
    }
    list->setCurrentIndex(list->count() ? index : -1);
}

bool CWelcom::OnSetActive() {
    if (!CWizardPage::OnSetActive()) return false;
    if (m_pSheet->m_nComPort != 0) PostButtons(ui::PSWIZB_NEXT);
    m_pSheet->m_link.RequestScan(handle());
    ApplyLanguage();
    return true;
}

void CWelcom::ApplyLanguage() {
    const QString directory = QDir::currentPath();
    m_strLanguage = GetComboBox(IDC_LANGUAGE)->currentText();
    WriteProfileString(kSettingSection, kLanguageValue, m_strLanguage);
    m_pSheet->m_strLangFile = QDir(directory).filePath(m_strLanguage + ".ini");
    m_pSheet->SetTitle(Text("001") + kTitleSeparator + ToolVersionText());
    unsigned code = 0;
    if (ParseLangCode(ReadSectionLine(m_pSheet->m_strLangFile, "LANG_CODE", kTextBuffer), &code))
        m_pSheet->m_nLangCode = code;
    m_pSheet->ForgetEvents();
}

std::intptr_t CWelcom::OnLinkResult(int code, std::intptr_t value) {
    if (code == linkresult::kScanned && value != 0) {
        m_pSheet->m_nComPort = static_cast<int>(value);
        // A search that ends after the installer has moved on leaves that page's buttons be.
        if (m_pSheet->GetActivePage() == this) PostButtons(ui::PSWIZB_NEXT);
    } else {
        m_pSheet->m_nComPort = 0;
        m_pSheet->SetActivePage(kErrorPageIndex);
    }
    return 0;
}
