// The application: selects the settings store, runs the wizard sheet modally, and ends.
#pragma once

#include "app/MainSheet.h"

class CPelmaroApp {
public:
    explicit CPelmaroApp(CMainSheet::PageMaker makePages) : m_makePages(std::move(makePages)) {}

    // The whole run; the process's exit status (1 once the unit has accepted an upload,
    // however the wizard is left then; 0 otherwise).
    int InitInstance();

private:
    CMainSheet::PageMaker m_makePages;
};
