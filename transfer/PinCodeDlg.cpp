#include "transfer/PinCodeDlg.h"

#include "app/MainSheet.h"
#include "device/DeviceData.h"
#include "resources/Resource.h"
#include "resources/Templates.h"

namespace {
constexpr int kPinDigits = layout::kSimPinSize - 1;
}

CPinCodeDlg::CPinCodeDlg(ui::Hwnd parent) : ui::Dialog(GetTemplate(IDD_PIN_CODE), parent) {}

bool CPinCodeDlg::OnInitDialog() {
    if (!ui::Dialog::OnInitDialog()) return false;
    SetWindowText(AfxLangText("1004"));
    LimitText(IDC_PIN, kPinDigits);
    return true;
}

void CPinCodeDlg::OnOK() {
    AfxGetMainSheet()->data().setNewSimPin(GetDlgItemText(IDC_PIN).substr(0, kPinDigits));
    ui::Dialog::OnOK();
}
