#include "app/PelmaroApp.h"

#include "app/Profile.h"
#include "device/DeviceData.h"
#include "link/SerialLine.h"

int CPelmaroApp::InitInstance() {
    // One record for the whole run, shared by the worker and the pages.
    static DeviceData data;
    const std::unique_ptr<SerialLine> line = MakePlatformSerialLine(ReadPortSettings());
    int status = 0;
    {
        CMainSheet sheet("", 0, kWelcomePageIndex, data, *line, m_makePages);
        AfxSetMainSheet(&sheet);
        sheet.DoModal();
        status = sheet.exitStatus();
    }  // the pages go, then the worker is told to quit and awaited
    return status;
}
