#include "transfer/PinCodeDlg.h"

#include "app/MainSheet.h"
#include "device/DeviceData.h"
#include "resources/Resource.h"
#include "resources/Templates.h"

namespace {
constexpr int kPinDigits = layout::kSimPinSize - 1;
}

CPinCodeDlg::CPinCodeDlg(QWidget* parent) : ui::Dialog(GetTemplate(IDD_PIN_CODE), parent) {}

bool CPinCodeDlg::OnInitDialog() {
    if (!ui::Dialog::OnInitDialog()) return false;
    SetWindowText(AfxLangText("1004"));
    LimitText(IDC_PIN, kPinDigits);
    return true;
}

void CPinCodeDlg::OnOK() {
    AfxGetMainSheet()->data().setNewSimPin(EncodeAnsi(GetDlgItemText(IDC_PIN).left(kPinDigits)));
    ui::Dialog::OnOK();
}
