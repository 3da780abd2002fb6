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

std::array<ui::PropertyPage*, kPageCount> MakeWizardPages(CMainSheet& sheet) {
    sheet.m_pStartPage =
        new CStartPage([](ui::Hwnd parent) { CPinCodeDlg(parent).DoModal(); },
                       [&sheet](ui::Hwnd parent) { CInfoDlg(sheet.data(), parent).DoModal(); });
    sheet.m_pDialingDlg = new CDialingDlg;
    sheet.m_pWelcom = new CWelcom;
    sheet.m_pErrorPage = new CErrorPage;
    sheet.m_pGeneral = new CGeneral;
    sheet.m_pSMSconf = new CSMSconf;
    sheet.m_pRC_SMSConf = new CRC_SMSConf;
    sheet.m_pDTMFconf = new CDTMFconf;
    sheet.m_pSupervisor = new CSupervisor;
    sheet.m_pIPconf = new CIPconf;
    sheet.m_pEndPage = new CEndPage;
    return {sheet.m_pStartPage,  sheet.m_pDialingDlg, sheet.m_pWelcom,     sheet.m_pErrorPage,
            sheet.m_pGeneral,    sheet.m_pSMSconf,    sheet.m_pRC_SMSConf, sheet.m_pDTMFconf,
            sheet.m_pSupervisor, sheet.m_pIPconf,     sheet.m_pEndPage};
}
