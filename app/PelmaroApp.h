// The application: selects the settings store, runs the wizard sheet modally, and ends.
#pragma once

#include <filesystem>

#include "app/MainSheet.h"

class WireTrace;

class CPelmaroApp {
  public:
    explicit CPelmaroApp(PageTable pages) : m_pages(pages) {}

    // Frames go to this open trace (the command line's). Without one, the settings value
    // Setting/Trace = 1 opens the trace at DefaultTracePath().
    void SetTrace(WireTrace* trace) { m_trace = trace; }
    // A site file opened before the first page, as "Open site file..." opens one.
    void SetSiteFile(std::filesystem::path file) { m_siteFile = std::move(file); }
    // The whole run; the process's exit status (1 once the unit has accepted an upload,
    // however the wizard is left then; 0 otherwise).
    int InitInstance();

  private:
    PageTable m_pages;
    WireTrace* m_trace = nullptr;
    std::filesystem::path m_siteFile;
};
