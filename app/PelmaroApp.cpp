#include "app/PelmaroApp.h"

#include <cstdio>

#include "app/Profile.h"
#include "device/DeviceData.h"
#include "link/SerialLine.h"
#include "link/WireTrace.h"
#include "ui/Services.h"

namespace {

// The trace the settings ask for, opened in `trace`; nullptr when none is asked for or the
// file cannot be written (the wizard runs all the same).
WireTrace* TraceFromSettings(WireTrace& trace) {
    if (GetProfileInt(kSettingSection, kTraceValue, 0) != 1) return nullptr;
    const std::filesystem::path path = DefaultTracePath();
    std::string why;
    if (trace.Open(path, &why)) return &trace;
    const std::string message =
        "No wire trace: " + ui::TextFromPath(path) + " cannot be written: " + why;
    std::fprintf(stderr, "Qubset: %s\n", message.c_str());
    ui::MessageBox(0, message, ui::ApplicationName(), ui::MessageIcon::Exclamation);
    return nullptr;
}

}  // namespace

int CPelmaroApp::InitInstance() {
    // One record for the whole run, shared by the worker and the pages.
    static DeviceData data;
    WireTrace settingsTrace;
    WireTrace* trace = m_trace ? m_trace : TraceFromSettings(settingsTrace);
    const std::unique_ptr<SerialLine> line = MakePlatformSerialLine(ReadPortSettings());
    int status = 0;
    {
        CMainSheet sheet("", 0, PageId::Welcome, data, *line, m_pages, trace);
        AfxSetMainSheet(&sheet);
        if (!m_siteFile.empty()) sheet.m_siteFiles.Open(0, m_siteFile);
        sheet.DoModal();
        status = sheet.exitStatus();
    }  // the pages go, then the worker is told to quit and awaited
    return status;
}
