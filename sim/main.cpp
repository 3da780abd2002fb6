// qubrin-sim: a simulated Qubrin communicator on a pseudo-terminal.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include <pthread.h>
#include <signal.h>

#include "sim/Simulator.h"

namespace {

void PrintHelp() {
    std::printf(
        "usage: qubrin-sim --link PATH [options]\n"
        "\n"
        "Serves a simulated Qubrin GSM/GPRS communicator on a pseudo-terminal and puts a\n"
        "symlink to it at PATH. Point a COM port of Qubset at PATH (settings section\n"
        "\"Ports\", e.g. COM3=PATH). Runs until interrupted.\n"
        "\n"
        "options:\n"
        "  --link PATH             where to put the symlink to the line (required)\n"
        "  --state FILE            load the unit from FILE if present; save every accepted\n"
        "                          upload there\n"
        "  --uploads FILE          append every accepted configuration image to FILE, one\n"
        "                          line of hex each\n"
        "  --pace                  take and send bytes no faster than 115200 baud 8N1\n"
        "  --fault NAME[@PHASE][*COUNT]\n"
        "                          show a fault on the exchanges of PHASE (default: any),\n"
        "                          COUNT times (default: always); repeatable\n"
        "%s"
        "  --bench N               after each upload and disconnect, another unit (of N)\n"
        "  --unkept PART           a part of an upload the unit does not keep: a field name\n"
        "                          (e.g. sms.number.1) or slot:N for text slot N; repeatable\n"
        "  --remote-password TEXT  password of the remote unit reached by a dial (default 1234)\n"
        "  --dial-delay MS         silence while the remote unit is rung (default 2000)\n"
        "  --help                  this text\n",
        sim::FaultHelp().c_str());
}

}  // namespace

int main(int argc, char** argv) {
    sim::Options options;
    std::string link;
    std::vector<sim::Fault> faults;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--help" || arg == "-h") {
            PrintHelp();
            return 0;
        } else if (arg == "--pace") {
            options.pace = true;
        } else if (arg == "--link" && hasValue) {
            link = argv[++i];
        } else if (arg == "--state" && hasValue) {
            options.statePath = argv[++i];
        } else if (arg == "--uploads" && hasValue) {
            options.uploadsPath = argv[++i];
        } else if (arg == "--remote-password" && hasValue) {
            options.remotePassword = argv[++i];
        } else if (arg == "--dial-delay" && hasValue) {
            options.dialDelay = std::chrono::milliseconds(std::atol(argv[++i]));
        } else if (arg == "--fault" && hasValue) {
            const auto fault = sim::ParseFault(argv[++i]);
            if (!fault) {
                std::fprintf(stderr, "qubrin-sim: unknown fault '%s'\n%s", argv[i],
                             sim::FaultHelp().c_str());
                return 2;
            }
            faults.push_back(*fault);
        } else if (arg == "--bench" && hasValue) {
            for (int n = 1, count = std::atoi(argv[++i]); n <= count; ++n)
                options.bench.push_back(sim::BenchUnit(n));
        } else if (arg == "--unkept" && hasValue) {
            const auto part = sim::ParseUnkept(argv[++i]);
            if (!part) {
                std::fprintf(stderr, "qubrin-sim: '%s' names no field or text slot\n", argv[i]);
                return 2;
            }
            options.unkept.push_back(*part);
        } else {
            std::fprintf(stderr, "qubrin-sim: unknown or incomplete option '%s' (see --help)\n",
                         arg.c_str());
            return 2;
        }
    }
    if (link.empty()) {
        std::fprintf(stderr, "qubrin-sim: --link PATH is required (see --help)\n");
        return 2;
    }

    // Signals are taken by sigwait below, not by the serving thread.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    sim::Simulator simulator(options);
    for (const auto& f : faults) simulator.AddFault(f);
    std::string error;
    if (!simulator.Start(link, &error)) {
        std::fprintf(stderr, "qubrin-sim: cannot make the line at %s: %s\n", link.c_str(),
                     error.c_str());
        return 1;
    }
    std::printf("qubrin-sim: serving at %s\n", link.c_str());
    std::fflush(stdout);
    int signal = 0;
    sigwait(&stopSignals, &signal);
    simulator.Stop();
    return 0;
}
