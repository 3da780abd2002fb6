// Each exchange against the simulator paced at 115200 baud 8N1: its wall time, the time its
// bytes need on the wire, and the difference, the latency the tool and the operating system
// add over the paced simulator. Medians of several rounds per exchange, with the wire trace
// off and on.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

#include "link/DeviceCommands.h"
#include "link/FrameCodec.h"
#include "link/PortSearch.h"
#include "link/SerialPort.h"
#include "link/WireTrace.h"
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

double Median(std::vector<double> times) {
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

double MsSince(Clock::time_point t0) {
    return std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
}

// Rounds with the trace off and on alternate, so both see the same machine.
void Report(const char* name, const std::function<int()>& exchange, double wireMs, SerialPort& port,
            WireTrace& trace) {
    std::vector<double> off, on;
    for (int i = 0; i < kRounds; ++i) {
        for (const bool traced : {false, true}) {
            port.SetTrace(traced ? &trace : nullptr);
            const auto t0 = Clock::now();
            const int result = exchange();
            (traced ? on : off).push_back(MsSince(t0));
            if (result < 0) std::printf("  (%s returned %d)\n", name, result);
        }
    }
    port.SetTrace(nullptr);
    const double plain = Median(off), traced = Median(on);
    std::printf("%-22s %9.2f ms  %9.2f ms  %7.2f ms  %9.2f ms (%+4.1f %%)\n", name, plain, wireMs,
                plain - wireMs, traced, 100.0 * (traced - plain) / plain);
}

// What the trace costs the link thread for a catalogue-sized reply; the disk, and dropping
// the older half once 8 MiB have been written, are its writer thread's business.
void ReportTraceCost(const std::string& path) {
    std::vector<std::uint8_t> reply(2580 + frame::kOverhead);
    std::vector<double> frames;
    const auto start = Clock::now();
    {
        WireTrace trace;
        if (!trace.Open(path, nullptr)) return;
        for (int i = 0; i < kRounds; ++i) {
            const auto t0 = Clock::now();
            trace.Received(3, 12, reply.data(), frame::kHeaderSize,
                           reply.data() + frame::kHeaderSize, reply.size() - frame::kHeaderSize,
                           2580);
            frames.push_back(MsSince(t0));
        }
        // Past the bound, as fast as the writer takes it.
        const std::vector<std::uint8_t> big(60000);
        for (std::size_t n = 0; n < WireTrace::kMaxBytes + (2u << 20); n += 3 * big.size())
            trace.Sent(3, big.data(), big.size(), true);
    }
    std::printf(
        "trace of a 2580-byte reply: %.3f ms of the link thread (median); 10 MiB "
        "written and cut back to half: %.0f ms\n",
        Median(frames), MsSince(start));
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
    if (FindDevice(port, data) != 1) {
        std::fprintf(stderr, "link_bench: the simulator did not answer\n");
        return 1;
    }
    const sim::Unit unit = simulator.Local();
    const std::size_t strings = sim::StringTableReply(unit).size();
    ImageBuffer work;
    BuildConfigurationImage(data, work, data.slotText(layout::kSlotEndPageText1), "", 0x0409);

    WireTrace trace;
    if (!trace.Open(dir.File("trace.log"), nullptr)) return 1;
    std::printf("against the simulator paced at 115200 baud, median of %d\n", kRounds);
    std::printf("exchange                    wall time  wire time  added latency  traced\n");
    Report(
        "modem information", [&] { return ReadModemInfo(port, data); },
        WireMs(1, layout::kInfoBlockSize), port, trace);
    Report(
        "identify (13, 11, 10)", [&] { return Identify(port, data); },
        WireMs(1, layout::kInfoBlockSize) + WireMs(1, layout::kIdentReplySize) + WireMs(1, strings),
        port, trace);
    Report(
        "event catalogue", [&] { return ReadEvents(port, data) > 0 ? 0 : -1; },
        WireMs(3, unit.catalogueLength), port, trace);
    Report(
        "configuration upload", [&] { return SendConfiguration(port, data); },
        WireMs(data.uploadLength, 1), port, trace);
    // What verifying an upload adds: the unit's settings and texts read into a record of their
    // own.
    const auto readBack = std::make_unique<DeviceData>();
    Report(
        "read-back (11, 10)", [&] { return ReadBack(port, *readBack); },
        WireMs(1, layout::kIdentReplySize) + WireMs(1, strings), port, trace);
    Report(
        "disconnect", [&] { return SendDisconnect(port) == 6 ? 0 : -1; }, WireMs(1, 1), port,
        trace);
    // A dial request: 20, number, 0, password, 0, ',', protocol; one acknowledgement byte.
    const std::string dial = std::string(
                                 "\x14"
                                 "491709998887",
                                 13) +
                             '\0' + "1234" + '\0' + ",\x02";
    std::copy(dial.begin(), dial.end(), data.uploadImage.begin());
    data.uploadLength = static_cast<std::uint16_t>(dial.size());
    Report(
        "dial request",
        [&] {
            const int r = SendDialRequest(port, data) == 8 ? 0 : -1;
            SendDisconnect(port);  // ends the call the request started
            return r;
        },
        WireMs(dial.size(), 1) + WireMs(1, 1), port, trace);
    simulator.Stop();
    ReportTraceCost(dir.File("cost.log"));
    return 0;
}
