// The serial line on Windows: "\\.\COM%d", the DCB and COMMTIMEOUTS values the communicator
// needs, blocking ReadFile / WriteFile paced by the driver's time-outs. Abort cancels the
// worker's blocked call with CancelSynchronousIo, again until the call has ended (IoAbort).
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cwchar>
#include <iterator>
#include <vector>

#include "link/IoAbort.h"
#include "link/SerialLine.h"

namespace {

PortFault FaultOf(DWORD error) {
    switch (error) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
            return PortFault::None;  // no such port
        case ERROR_ACCESS_DENIED:
        case ERROR_SHARING_VIOLATION:
            return PortFault::InUse;  // opened without sharing elsewhere
        case ERROR_GEN_FAILURE:
        case ERROR_NOT_READY:
        case ERROR_DEV_NOT_EXIST:
        case ERROR_DEVICE_NOT_CONNECTED:
            return PortFault::Gone;
        default:
            return PortFault::Other;
    }
}

// "COM23" -> 23; 0 for any other name.
int ComNumberOf(const wchar_t* name) {
    if (std::wcsncmp(name, L"COM", 3) != 0) return 0;
    wchar_t* end = nullptr;
    const long n = std::wcstol(name + 3, &end, 10);
    return end != name + 3 && *end == L'\0' && n >= kFirstComPort && n <= kMaxComPort
               ? static_cast<int>(n)
               : 0;
}

// The ports the system lists (every serial driver enters its ports there), so that ports
// which do not exist are never tried.
std::vector<int> ListedPorts() {
    std::vector<int> numbers;
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_QUERY_VALUE,
                      &key) != ERROR_SUCCESS)
        return numbers;
    constexpr DWORD kMaxValues = 4096;  // a bound, whatever the key holds
    for (DWORD i = 0; i < kMaxValues; ++i) {
        wchar_t name[256];
        DWORD nameLength = 256;
        wchar_t port[16] = {};
        DWORD portBytes = sizeof port - sizeof port[0];  // room for a terminator
        DWORD type = 0;
        const LONG got = RegEnumValueW(key, i, name, &nameLength, nullptr, &type,
                                       reinterpret_cast<BYTE*>(port), &portBytes);
        if (got == ERROR_NO_MORE_ITEMS) break;
        if (got == ERROR_SUCCESS && type == REG_SZ)
            if (const int n = ComNumberOf(port)) numbers.push_back(n);
    }
    RegCloseKey(key);
    std::sort(numbers.begin(), numbers.end());
    numbers.erase(std::unique(numbers.begin(), numbers.end()), numbers.end());
    return numbers;
}

class Win32SerialLine final : public SerialLine {
  public:
    ~Win32SerialLine() override {
        Close();
        if (m_ioThread) CloseHandle(m_ioThread);
    }

    void Rescan() override { m_listed = ListedPorts(); }

    std::vector<int> FurtherPorts() const override {
        std::vector<int> further;
        std::copy_if(m_listed.begin(), m_listed.end(), std::back_inserter(further),
                     [](int n) { return n > kLastComPort; });
        return further;
    }

    bool Open(int comNumber) override {
        Close();
        char name[32];
        std::snprintf(name, sizeof name, "\\\\.\\COM%d", comNumber);
        m_handle =
            CreateFileA(name, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        m_failure = {};
        if (m_handle == INVALID_HANDLE_VALUE) {
            const DWORD error = GetLastError();
            m_failure = {comNumber, FaultOf(error), static_cast<int>(error), {}, {}};
            return false;
        }
        return true;
    }

    OpenFailure LastOpenFailure() const override { return m_failure; }

    void Close() override {
        if (m_handle == INVALID_HANDLE_VALUE) return;
        CloseHandle(m_handle);
        m_handle = INVALID_HANDLE_VALUE;
    }

    bool IsOpen() const override { return m_handle != INVALID_HANDLE_VALUE; }

    void Configure() override {
        DCB dcb{};
        dcb.DCBlength = sizeof dcb;
        GetCommState(m_handle, &dcb);
        dcb.BaudRate = CBR_115200;
        dcb.ByteSize = 8;
        dcb.Parity = NOPARITY;
        dcb.StopBits = ONESTOPBIT;
        dcb.fBinary = TRUE;
        dcb.fParity = FALSE;
        dcb.fOutxCtsFlow = FALSE;
        dcb.fOutxDsrFlow = FALSE;
        dcb.fDtrControl = DTR_CONTROL_ENABLE;
        dcb.fDsrSensitivity = FALSE;
        dcb.fTXContinueOnXoff = TRUE;
        dcb.fOutX = FALSE;
        dcb.fInX = FALSE;
        dcb.fErrorChar = FALSE;
        dcb.fNull = FALSE;
        dcb.fRtsControl = RTS_CONTROL_DISABLE;
        dcb.fAbortOnError = FALSE;
        dcb.XonLim = 4096;
        dcb.XoffLim = 512;
        SetCommState(m_handle, &dcb);
    }

    void SetTimeouts(const CommTimeouts& t) override {
        COMMTIMEOUTS ct{};
        GetCommTimeouts(m_handle, &ct);
        ct.ReadIntervalTimeout = t.readInterval;
        ct.ReadTotalTimeoutMultiplier = t.readTotalMultiplier;
        ct.ReadTotalTimeoutConstant = t.readTotalConstant;
        ct.WriteTotalTimeoutMultiplier = t.writeTotalMultiplier;
        ct.WriteTotalTimeoutConstant = t.writeTotalConstant;
        SetCommTimeouts(m_handle, &ct);
    }

    int Read(std::uint8_t* buffer, std::size_t count) override {
        if (!BeginIo()) return -1;
        DWORD got = 0;
        const BOOL ok = ReadFile(m_handle, buffer, static_cast<DWORD>(count), &got, nullptr);
        m_abort.End();
        if (!ok || m_abort.IsAborted()) return -1;
        return static_cast<int>(got);
    }

    bool Write(const std::uint8_t* buffer, std::size_t count) override {
        if (!BeginIo()) return false;
        DWORD written = 0;
        const BOOL ok = WriteFile(m_handle, buffer, static_cast<DWORD>(count), &written, nullptr);
        m_abort.End();
        if (!ok) GetLastError();
        return ok && !m_abort.IsAborted() && written == count;
    }

    void Abort() override {
        m_abort.Abort([this] {
            if (HANDLE thread = m_ioThread.load()) CancelSynchronousIo(thread);
        });
    }

    void ClearAbort() override { m_abort.Clear(); }

  private:
    // Remembers the calling thread, so that Abort can cancel its blocked call. False when
    // the call is not to be made.
    bool BeginIo() {
        if (m_handle == INVALID_HANDLE_VALUE) return false;
        if (!m_ioThread.load()) {
            HANDLE self = nullptr;
            DuplicateHandle(GetCurrentProcess(), GetCurrentThread(), GetCurrentProcess(), &self, 0,
                            FALSE, DUPLICATE_SAME_ACCESS);
            m_ioThread = self;
        }
        return m_abort.Begin();
    }

    HANDLE m_handle = INVALID_HANDLE_VALUE;
    std::atomic<HANDLE> m_ioThread{nullptr};
    IoAbort m_abort;
    OpenFailure m_failure;
    std::vector<int> m_listed;
};

}  // namespace

std::unique_ptr<SerialLine> MakePlatformSerialLine(const PortSettings&) {
    return std::make_unique<Win32SerialLine>();
}
