#include "transfer/EndPage.h"

#include <cstdlib>
#include <memory>

#include "app/Profile.h"
#include "app/Welcom.h"
#include "device/SafeFile.h"
#include "resources/Resource.h"
#include "resources/Templates.h"
#include "site/Backup.h"
#include "transfer/ChangesDlg.h"
#include "transfer/Review.h"
#include "transfer/Upload.h"
#include "ui/Services.h"

using namespace layout;

namespace {

// kVerdictTimer: the box after the disconnect has been asked for.
enum Timer : int { kExitTimer = 1, kVerdictTimer };
constexpr int kVerdictBoxDelayMs = 1;
constexpr int kExitDelayMs = 1000;
constexpr int kExitStatus = 1;
constexpr int kCusdDigits = 4;
constexpr int kCusdReadMax = 7;

// The end page's texts go back only to a unit of version 41, cut to their slot.
std::string_view CutToSlot(const std::string& text) {
    return std::string_view(text).substr(0, kEndTextMax);
}

}  // namespace

CEndPage::CEndPage() : CWizardPage(GetTemplate(IDD_END)) {
    for (int id : {IDC_END_TEXT1, IDC_END_TEXT2, IDC_CUSD})
        OnChange(id, [this] { UpdateChangeCount(); });
    for (int id : {IDC_TAMPER_GSM, IDC_TAMPER_TCP, IDC_TAMPER_SYSTEM})
        OnClicked(id, [this] { UpdateChangeCount(); });
    OnClicked(IDC_END_CHANGES, [this] { ShowChanges(); });
    OnClicked(IDC_END_REPORT, [this] { SaveReport(); });
    OnClicked(IDC_SAVE_SITE_FILE, [this] { SaveSiteFile(); });
}

void CEndPage::DoDataExchange(ui::DataExchange& dx) {
    dx.Text(IDC_END_TITLE, m_strTitle);
}

bool CEndPage::OnInitDialog() {
    if (!CWizardPage::OnInitDialog()) return false;
    LimitText(IDC_END_TEXT1, kEndTextMax);
    LimitText(IDC_END_TEXT2, kEndTextMax);
    LimitText(IDC_CUSD, kCusdDigits);
    return true;
}

bool CEndPage::OnSetActive() {
    PostButtons(ui::PSWIZB_BACK | ui::PSWIZB_FINISH);
    m_nRetries = kUploadRetries;
    m_bDone = 0;
    m_strTitle = m_pSheet->workMode() == WorkMode::SiteFile ? AfxWorkText(worktext::kFileFinish)
                                                            : Text("1001");
    if (m_pSheet->workMode() == WorkMode::Demo) m_strTitle += " (" + m_pSheet->WorkNote() + ")";
    UpdateData(false);
    SetText(IDC_END_TEXT1_LABEL, "1002");
    SetText(IDC_END_TEXT2_LABEL, "1003");
    SetText(IDC_TAMPER_GROUP, "1005");
    SetText(IDC_TAMPER_GSM, "1006");
    SetText(IDC_TAMPER_TCP, "1007");
    SetText(IDC_TAMPER_SYSTEM, "1008");
    SetText(IDC_CUSD_LABEL, "1009");
    SetText(IDC_SAVE_SITE_FILE, "1101");
    SetText(IDC_INCLUDE_PASSWORDS, "1102");
    const DeviceData& d = Data();
    SetDlgItemText(IDC_END_TEXT1, d.slotText(kSlotEndPageText1));
    SetDlgItemText(IDC_END_TEXT2, d.slotText(kSlotEndPageText2));
    SetDlgItemText(IDC_CUSD, std::to_string(d.cusdValue()));
    // A clear bit leaves its box as the installer left it.
    const std::uint8_t tamper = d.tamperEventFlags();
    if (tamper & kTamperGsmError) CheckDlgButton(IDC_TAMPER_GSM, true);
    if (tamper & kTamperTcpError) CheckDlgButton(IDC_TAMPER_TCP, true);
    if (tamper & kTamperSystemError) CheckDlgButton(IDC_TAMPER_SYSTEM, true);
    const std::filesystem::path& langFile = m_pSheet->m_strLangFile;
    SetDlgItemText(IDC_END_CHANGES, ReviewLangText(langFile, review::kChangesButton));
    SetDlgItemText(IDC_END_REPORT, ReviewLangText(langFile, review::kReportButton));
    UpdateChangeCount();
    return CWizardPage::OnSetActive();
}

void CEndPage::StoreControls(DeviceData& d) const {
    std::uint8_t tamper = d.tamperEventFlags();
    auto set = [&](std::uint8_t bit, bool on) {
        tamper =
            on ? static_cast<std::uint8_t>(tamper | bit) : static_cast<std::uint8_t>(tamper & ~bit);
    };
    set(kTamperGsmError, IsDlgButtonChecked(IDC_TAMPER_GSM));
    set(kTamperTcpError, IsDlgButtonChecked(IDC_TAMPER_TCP));
    set(kTamperSystemError, IsDlgButtonChecked(IDC_TAMPER_SYSTEM));
    d.setTamperEventFlags(tamper);
    // As atoi reads it: a leading signed number, anything else 0; the low 16 bits are kept.
    const std::string cusd = GetDlgItemText(IDC_CUSD).substr(0, kCusdReadMax);
    d.setCusdValue(static_cast<std::uint16_t>(std::atoi(cusd.c_str())));
    if (d.versionByte() != kVersionWithEndTexts) return;
    d.setSlotText(kSlotEndPageText1, CutToSlot(GetDlgItemText(IDC_END_TEXT1)));
    d.setSlotText(kSlotEndPageText2, CutToSlot(GetDlgItemText(IDC_END_TEXT2)));
}

std::unique_ptr<DeviceData> CEndPage::FinishRecord() const {
    auto record = std::make_unique<DeviceData>(Data());
    StoreControls(*record);
    return record;
}

void CEndPage::UpdateChangeCount() {
    if (m_verdict) return;  // the line says what the unit holds now
    const auto changes = fields::ChangedFields(m_pSheet->unitRecord(), *FinishRecord());
    SetDlgItemText(IDC_END_CHANGE_COUNT,
                   ChangeCountText(changes.size(), m_pSheet->m_strLangFile, AgainstFile()));
}

void CEndPage::ShowChanges() {
    const auto record = FinishRecord();
    const auto changes = fields::ChangedFields(m_pSheet->unitRecord(), *record);
    CChangesDlg(ChangesText(changes, EventNamesInHand(), m_pSheet->m_strLangFile), AgainstFile(),
                handle())
        .DoModal();
}

bool CEndPage::AgainstFile() const {
    return m_pSheet->workMode() == WorkMode::SiteFile;
}

EventNames CEndPage::EventNamesInHand() const {
    if (!m_pSheet->m_bEventsLoaded) return {};
    return CatalogueNames(Data().eventCatalogue.data(), kEventCatalogueSize);
}

void CEndPage::SaveReport() {
    const std::filesystem::path& langFile = m_pSheet->m_strLangFile;
    const std::filesystem::path path = ui::GetSaveFileName(
        handle(),
        {"html", "handover", ReviewLangText(langFile, review::kReportFilter), "*.html", {}});
    if (path.empty()) return;
    const auto record = FinishRecord();
    const HandoverInput input{*record,
                              fields::ChangedFields(m_pSheet->unitRecord(), *record),
                              EventNamesInHand(),
                              langFile,
                              ToolVersionText(),
                              HandoverDate(),
                              m_verdict.get()};
    if (WriteWholeFile(path, HandoverReport(input)) == FileResult::Done) return;
    ui::MessageBox(
        handle(),
        WithArgument(ReviewLangText(langFile, review::kReportFailed), ui::TextFromPath(path)),
        m_strTitle, ui::MessageIcon::Error);
}

// What Finish would write, saved without writing it. A site file's unit names its events as
// the file did: the numbers shown for a file without names are no names to keep.
bool CEndPage::SaveSiteFile() {
    const bool namesOfUnit =
        m_pSheet->m_bEventsLoaded && m_pSheet->workMode() != WorkMode::SiteFile;
    const EventNames names = EventNamesInHand();
    return m_pSheet->m_siteFiles.Save(GetSafeHwnd(), *FinishRecord(),
                                      IsDlgButtonChecked(IDC_INCLUDE_PASSWORDS),
                                      namesOfUnit ? &names : nullptr);
}

bool CEndPage::OnWizardFinish() {
    // Without a unit, Finish writes the file; the unit in the program is let go with the
    // sheet.
    if (m_pSheet->workMode() == WorkMode::SiteFile) {
        if (SaveSiteFile()) m_pSheet->EndProgram(0);
        return false;
    }
    PostButtons(0);
    m_pSheet->m_siteFiles.BackupBeforeUpload(GetSafeHwnd(), m_pSheet->unitRecord());
    StoreControls(Data());
    BuildUploadImage(Data(), m_image, GetDlgItemText(IDC_END_TEXT1), GetDlgItemText(IDC_END_TEXT2),
                     m_pSheet->m_nLangCode);
    m_bVerify = GetProfileInt(kSettingSection, kVerifyValue, 1) != 0;
    m_pSheet->m_link.RequestUpload(handle());
    return false;  // the page stays while the upload runs
}

std::intptr_t CEndPage::OnLinkResult(const LinkAnswer& answer) {
    if (answer.code == LinkResult::ReadBack) {
        if (m_readBack && !m_verdict) ReadBackAnswered(answer.ok);
        return 0;
    }
    if (m_bDone) return 0;  // the disconnect's answer, while the program ends
    if (answer.code == LinkResult::Uploaded && answer.ok) {
        Accepted();
        return 0;
    }
    RetryUpload();
    return 0;
}

void CEndPage::Accepted() {
    m_bDone = 1;
    // The unit has the configuration: Cancel from here on says so too.
    m_pSheet->SetExitStatus(kExitStatus);
    if (!m_bVerify) {
        m_pSheet->m_siteFiles.BackupAfterUpload(GetSafeHwnd(), Data(), {});
        EndSession();
        return;
    }
    // A record of its own, so that what was written stays beside what the unit holds.
    m_readBack = std::make_unique<DeviceData>();
    m_readBack->infoBlock = Data().infoBlock;
    m_pSheet->m_link.RequestReadBack(handle(), *m_readBack);
}

void CEndPage::ReadBackAnswered(bool read) {
    m_verdict = std::make_unique<fields::Verdict>(
        read ? fields::CompareReadBack(Data(), *m_readBack) : fields::Verdict{});
    const bool readBack = m_verdict->outcome != fields::Outcome::NotVerified;
    m_pSheet->m_siteFiles.BackupAfterUpload(
        GetSafeHwnd(), readBack ? *m_readBack : Data(),
        readBack ? site::kReadBackSource : site::kWrittenSource);
    const std::filesystem::path& langFile = m_pSheet->m_strLangFile;
    SetDlgItemText(IDC_END_CHANGE_COUNT, VerdictLine(*m_verdict, langFile));
    if (m_verdict->outcome == fields::Outcome::Verified) {
        EndSession();
        return;
    }
    // The unit is let go first; the page stays with the verdict, for the handover record,
    // until the installer leaves with Cancel.
    m_pSheet->m_link.RequestDisconnect(handle());
    SetTimer(kVerdictTimer, kVerdictBoxDelayMs);
}

void CEndPage::EndSession() {
    m_pSheet->m_link.RequestDisconnect(handle());
    SetTimer(kExitTimer, kExitDelayMs);
}

// An upload the unit refused or did not answer is sent again, five times at most; then the
// link counts as lost.
void CEndPage::RetryUpload() {
    ui::MessageBeep();
    if (m_nRetries > 0) {
        --m_nRetries;
        m_pSheet->m_link.RequestUpload(handle());
        return;
    }
    m_pSheet->LinkLost();
}

void CEndPage::OnTimer(int id) {
    KillTimer(id);
    if (id == kExitTimer) m_pSheet->EndProgram(kExitStatus);
    if (id == kVerdictTimer && m_verdict)
        ui::MessageBox(handle(),
                       VerdictText(*m_verdict, EventNamesInHand(), m_pSheet->m_strLangFile),
                       m_strTitle, ui::MessageIcon::Exclamation);
}
