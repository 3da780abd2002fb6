// link_check: the serial layer on its own, as an installer's PC runs it. Finds the
// communicator on COM1..COM19, identifies it, reads its event catalogue, uploads a
// configuration built from what it reported and says goodbye, printing each result code and
// how long each exchange took. Built for Windows (and, for comparison, for POSIX).
//
//   link_check [--port N] [--image FILE] [--map N=PATH]
//     --port N      skip the search and open COM<N> directly (shows every time-out code)
//     --image FILE  write the uploaded image to FILE, as one line of hex
//     --map N=PATH  where ports are paths: COM<N> is PATH, and no other port exists
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "device/DeviceData.h"
#include "link/DeviceCommands.h"
#include "link/PortSearch.h"
#include "link/SerialPort.h"

#ifdef _WIN32
#include <windows.h>

#include "ui/VersionInfo.h"
#endif

namespace {

using Clock = std::chrono::steady_clock;

double MsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Runs one exchange and prints its result and wall time; the result.
template <class Exchange>
int Step(const char* name, Exchange exchange) {
    const auto start = Clock::now();
    const int result = exchange();
    std::printf("%-18s %6d   %8.1f ms\n", name, result, MsSince(start));
    std::fflush(stdout);
    return result;
}

bool WriteHex(const char* path, const std::uint8_t* bytes, std::size_t length) {
    FILE* file = std::fopen(path, "wb");
    if (!file) return false;
    for (std::size_t i = 0; i < length; ++i) std::fprintf(file, "%02x", bytes[i]);
    std::fputc('\n', file);
    return std::fclose(file) == 0;
}

#ifdef _WIN32
void PrintVersion() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::printf("version record      %s\n", VersionText(path, "link_check.exe").c_str());
}
#endif

}  // namespace

int main(int argc, char** argv) {
    int port = 0;
    const char* imagePath = nullptr;
    PortSettings ports;
    for (int i = 1; i < argc; ++i) {
        const char* map = i + 1 < argc && !std::strcmp(argv[i], "--map") ? argv[i + 1] : nullptr;
        if (!std::strcmp(argv[i], "--port") && i + 1 < argc) {
            port = std::atoi(argv[++i]);
        } else if (!std::strcmp(argv[i], "--image") && i + 1 < argc) {
            imagePath = argv[++i];
        } else if (map && std::strchr(map, '=')) {
            ports.paths[std::atoi(map)] = std::strchr(map, '=') + 1;
            ports.discover = false;
            ++i;
        } else {
            std::fprintf(stderr, "usage: link_check [--port N] [--image FILE] [--map N=PATH]\n");
            return 2;
        }
    }
#ifdef _WIN32
    PrintVersion();
#endif
    static DeviceData data;
    const auto line = MakePlatformSerialLine(ports);
    SerialPort serial(*line);
    bool failed = false;
    if (port == 0) {
        port = Step("FindDevice", [&] { return FindDevice(serial, data); });
        if (port == 0) return 1;
    } else if (!line->Open(port)) {
        std::fprintf(stderr, "link_check: COM%d cannot be opened\n", port);
        return 1;
    } else {
        line->Configure();
        line->SetTimeouts(kOpenTimeouts);
    }
    failed |= Step("Identify", [&] { return Identify(serial, data); }) != 0;
    failed |= Step("ReadEvents", [&] { return ReadEvents(serial, data); }) < 0;
    static ImageBuffer work;
    BuildConfigurationImage(data, work, data.slotText(layout::kSlotEndPageText1),
                            data.slotText(layout::kSlotEndPageText2), data.languageCode());
    failed |= Step("SendConfiguration", [&] { return SendConfiguration(serial, data); }) != 0;
    failed |= Step("SendDisconnect", [&] { return SendDisconnect(serial); }) == 0;
    if (imagePath && !WriteHex(imagePath, data.uploadImage.data(), data.uploadLength)) {
        std::fprintf(stderr, "link_check: cannot write %s\n", imagePath);
        failed = true;
    }
    return failed ? 1 : 0;
}
