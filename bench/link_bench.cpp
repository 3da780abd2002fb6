// Each exchange against the simulator paced at 115200 baud 8N1: its wall time, the time its
// bytes need on the wire, and the difference, the latency the tool and the operating system
// add over the paced simulator. Medians of several rounds per exchange.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

#include "link/DeviceCommands.h"
#include "link/FrameCodec.h"
#include "link/SerialPort.h"
#include "sim/Simulator.h"
#include "tests/support/TempDir.h"

using Clock = std::chrono::steady_clock;

namespace {

constexpr double kByteSeconds = 10.0 / 115200.0;
constexpr int kRounds = 7;

double WireMs(std::size_t requestPayload, std::size_t replyPayload) {
    return 1000.0 * kByteSeconds *
           static_cast<double>(requestPayload + replyPayload + 2 * frame::kOverhead);
}

void Report(const char* name, const std::function<int()>& exchange, double wireMs) {
    std::vector<double> times;
    for (int i = 0; i < kRounds; ++i) {
        const auto t0 = Clock::now();
        const int result = exchange();
        times.push_back(std::chrono::duration<double, std::milli>(Clock::now() - t0).count());
        if (result < 0) std::printf("  (%s returned %d)\n", name, result);
    }
    std::sort(times.begin(), times.end());
    const double median = times[times.size() / 2];
    std::printf("%-22s %9.2f ms  %9.2f ms  %7.2f ms\n", name, median, wireMs, median - wireMs);
}

}  // namespace

int main() {
    TempDir dir;
    sim::Options options;
    options.pace = true;
    sim::Simulator simulator(options);
    const std::string link = dir.File("qubrin");
    if (!simulator.Start(link)) return 1;
    auto line = MakePlatformSerialLine({{{1, link}}, false});
    SerialPort port(*line);
    DeviceData data;
    if (port.FindDevice(data) != 1) {
        std::fprintf(stderr, "link_bench: the simulator did not answer\n");
        return 1;
    }
    const sim::Unit unit = simulator.Local();
    const std::size_t strings = sim::StringTableReply(unit).size();
    ImageBuffer work;
    BuildConfigurationImage(data, work, data.slotText(layout::kSlotEndPageText1), "", 0x0409);

    std::printf("against the simulator paced at 115200 baud, median of %d\n", kRounds);
    std::printf("exchange                    wall time  wire time  added latency\n");
    Report("modem information", [&] { return ReadModemInfo(port, data); },
           WireMs(1, layout::kInfoBlockSize));
    Report("identify (13, 11, 10)", [&] { return Identify(port, data); },
           WireMs(1, layout::kInfoBlockSize) + WireMs(1, layout::kIdentReplySize) +
               WireMs(1, strings));
    Report("event catalogue", [&] { return ReadEvents(port, data) > 0 ? 0 : -1; },
           WireMs(3, unit.catalogueLength));
    Report("configuration upload", [&] { return SendConfiguration(port, data); },
           WireMs(data.uploadLength, 1));
    Report("disconnect", [&] { return SendDisconnect(port) == 6 ? 0 : -1; }, WireMs(1, 1));
    // A dial request: 20, number, 0, password, 0, ',', protocol; one acknowledgement byte.
    const std::string dial = std::string("\x14" "491709998887", 13) + '\0' + "1234" + '\0' + ",\x02";
    std::copy(dial.begin(), dial.end(), data.uploadImage.begin());
    data.uploadLength = static_cast<std::uint16_t>(dial.size());
    Report("dial request", [&] {
        const int r = SendDialRequest(port, data) == 8 ? 0 : -1;
        SendDisconnect(port);  // ends the call the request started
        return r;
    }, WireMs(dial.size(), 1) + WireMs(1, 1));
    simulator.Stop();
    return 0;
}
