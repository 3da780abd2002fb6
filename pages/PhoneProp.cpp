#include "pages/PhoneProp.h"

#include <algorithm>
#include <string_view>

#include "app/MainSheet.h"
#include "pages/CustomEventDlg.h"
#include "resources/Resource.h"
#include "resources/Templates.h"
#include "ui/EditRules.h"
#include "ui/Services.h"

CPhoneProp::CPhoneProp(std::string& number, std::string& code, std::uint8_t* eventMask,
                       int eventFilter, ui::Hwnd parent)
    : ui::Dialog(GetTemplate(IDD_PHONE_NUMBER), parent),
      m_pstrNumber(number),
      m_pstrCode(code),
      m_pEventMask(eventMask),
      m_nEventFilter(eventFilter) {
    // The number as it stood when this dialog opened titles the event list.
    OnClicked(IDC_EVENT_FILTER, [this] {
        CCustomEventDlg(m_pEventMask, m_nEventFilter, m_pstrNumber, GetSafeHwnd()).DoModal();
    });
}

void CPhoneProp::InitPasswordEntry() {
    for (int id : {IDC_NEW_PASSWORD_LABEL, IDC_NEW_PASSWORD, IDC_CONFIRM_LABEL, IDC_CONFIRM}) {
        ShowItem(id, true);
        EnableItem(id, true);
    }
    SetDlgItemText(IDC_NEW_PASSWORD_LABEL, AfxLangText("813"));
    SetDlgItemText(IDC_CONFIRM_LABEL, AfxLangText("815"));
    SetMasked(IDC_CONFIRM, true);
    for (int id : {IDC_NEW_PASSWORD, IDC_OLD_PASSWORD, IDC_CONFIRM}) LimitText(id, kPasswordMax);
    if (!m_pstrCode.empty()) {
        for (int id : {IDC_OLD_PASSWORD_LABEL, IDC_OLD_PASSWORD}) {
            ShowItem(id, true);
            EnableItem(id, true);
        }
        SetDlgItemText(IDC_OLD_PASSWORD_LABEL, AfxLangText("814"));
    }
}

bool CPhoneProp::OnInitDialog() {
    if (!ui::Dialog::OnInitDialog()) return false;
    if (m_entry.password) {
        InitPasswordEntry();
        if (m_entry.passwordOnly) {
            ShowItem(IDC_NUMBER, false);
            ShowItem(IDC_NUMBER_LABEL, false);
            SetWindowText(AfxLangText("816"));
            return true;
        }
    } else {
        ShowItem(IDC_EVENT_FILTER, true);
        SetDlgItemText(IDC_EVENT_FILTER, AfxLangText("817"));
        // Until the unit's event names are in, the list would be empty (and its OK would
        // clear the mask) while the link is still writing the names.
        EnableItem(IDC_EVENT_FILTER, AfxGetMainSheet()->m_bEventsLoaded != 0);
        if (m_entry.account) {
            ShowItem(IDC_CONFIRM, true);
            EnableItem(IDC_CONFIRM, true);
            SetMasked(IDC_CONFIRM, false);
            SetDlgItemText(IDC_CONFIRM, m_pstrCode);
            ShowItem(IDC_CONFIRM_LABEL, true);
            EnableItem(IDC_CONFIRM_LABEL, true);
            SetDlgItemText(IDC_CONFIRM_LABEL, AfxLangText("810"));
        }
    }
    if (m_entry.digitsOnly) ui::Dialog::SetDigitsOnly(IDC_NUMBER);
    if (m_entry.numberLimit > 0) LimitText(IDC_NUMBER, m_entry.numberLimit);
    if (!m_pstrNumber.empty()) SetDlgItemText(IDC_NUMBER, m_pstrNumber);
    const std::string label = AfxLangText(m_entry.digitsOnly ? "811" : "812");
    if (AfxGetMainSheet()->primaryMode && !m_entry.password) {
        for (int id : {IDC_EVENT_FILTER, IDC_CONFIRM, IDC_CONFIRM_LABEL}) ShowItem(id, false);
    }
    SetDlgItemText(IDC_NUMBER_LABEL, label);
    SetWindowText(label);
    return true;
}

void CPhoneProp::Warn(const char* section) {
    ui::MessageBox(GetSafeHwnd(), AfxLangText(section), kUserAccountCaption,
                   ui::MessageIcon::Exclamation);
}

namespace {

// The placeholder, all question marks, with anything typed before, after or among them.
bool HoldsPlaceholder(const std::string& number) {
    const std::string_view placeholder = kNumberPlaceholder;
    return std::count(number.begin(), number.end(), '?') >=
           std::count(placeholder.begin(), placeholder.end(), '?');
}

}  // namespace

// False keeps the dialog open.
bool CPhoneProp::CheckNumber() {
    const std::string number = GetDlgItemText(IDC_NUMBER);
    if (number.empty()) {
        SetDlgItemText(IDC_NUMBER, kNumberPlaceholder);
        return false;
    }
    // A digits-only number keeps no non-digit it did not have, so no remnant of the
    // placeholder either.
    if (HoldsPlaceholder(number) || (m_entry.digitsOnly && ui::GainsNonDigit(m_pstrNumber, number)))
        return false;
    m_pstrNumber = number;
    return true;
}

bool CPhoneProp::CheckPasswords() {
    const std::string old =
        IsItemVisible(IDC_OLD_PASSWORD) ? GetDlgItemText(IDC_OLD_PASSWORD) : std::string();
    if (old != m_pstrCode) {
        Warn("705");
        return false;
    }
    if (GetDlgItemText(IDC_NEW_PASSWORD) != GetDlgItemText(IDC_CONFIRM)) {
        Warn("704");
        return false;
    }
    m_pstrCode = GetDlgItemText(IDC_NEW_PASSWORD);
    return true;
}

void CPhoneProp::OnOK() {
    if (!m_entry.passwordOnly && !CheckNumber()) return;
    if (m_entry.password) {
        if (CheckPasswords()) EndDialog(ui::IDOK);
        return;
    }
    if (m_entry.account && !AfxGetMainSheet()->primaryMode) {
        const std::string account = GetDlgItemText(IDC_CONFIRM);
        if (account.size() != kAccountLength) {
            SetDlgItemText(IDC_CONFIRM, kAccountReminder);
            return;
        }
        m_pstrCode = account;
    }
    EndDialog(ui::IDOK);
}
