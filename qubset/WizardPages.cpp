#include "qubset/WizardPages.h"

#include "app/StartPage.h"
#include "app/Welcom.h"
#include "pages/DTMFconf.h"
#include "pages/General.h"
#include "pages/IPconf.h"
#include "pages/RC_SMSConf.h"
#include "pages/SMSconf.h"
#include "pages/Supervisor.h"
#include "transfer/DialingDlg.h"
#include "transfer/EndPage.h"
#include "transfer/ErrorPage.h"
#include "transfer/InfoDlg.h"
#include "transfer/PinCodeDlg.h"

namespace {

using fields::Page;

template <class P>
std::unique_ptr<ui::PropertyPage> Make(CMainSheet&) {
    return std::make_unique<P>();
}

std::unique_ptr<ui::PropertyPage> MakeStartPage(CMainSheet& sheet) {
    return std::make_unique<CStartPage>(
        [](ui::Hwnd parent) { CPinCodeDlg(parent).DoModal(); },
        [&sheet](ui::Hwnd parent) { CInfoDlg(sheet.data(), parent).DoModal(); });
}

constexpr PageRow kPages[] = {
    {PageId::Start, Page::Connection, MakeStartPage},
    {PageId::Dialing, std::nullopt, Make<CDialingDlg>},
    {PageId::Welcome, std::nullopt, Make<CWelcom>},
    {PageId::Error, std::nullopt, Make<CErrorPage>},
    {PageId::General, Page::Communication, Make<CGeneral>},
    {PageId::Sms, Page::Sms, Make<CSMSconf>},
    {PageId::CidSms, Page::CidSms, Make<CRC_SMSConf>},
    {PageId::Dtmf, Page::Dtmf, Make<CDTMFconf>},
    {PageId::Supervisor, Page::Supervisor, Make<CSupervisor>},
    {PageId::Ip, Page::Ip, Make<CIPconf>},
    {PageId::End, Page::End, Make<CEndPage>},
};

constexpr bool InIdOrder() {
    for (int i = 0; i < kPageCount; ++i)
        if (kPages[i].id != static_cast<PageId>(i)) return false;
    return true;
}
static_assert(std::size(kPages) == kPageCount && InIdOrder(), "one row per page, in id order");

}  // namespace

PageTable WizardPages() {
    return PageTable(kPages);
}
