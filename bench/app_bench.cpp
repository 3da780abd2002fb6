// The wizard's own figures, each measured in a fresh process against the simulator:
//   startup  start to first page, offscreen, and to the unit found (median of 10)
//   session  peak resident memory over a whole local session, welcome page to upload
//   polling  CPU the wizard uses while the transfer page polls a silent remote for 30 s
//   mapped   the real Qubset program on an X server: process start until its window is
//            mapped (median of 10; needs DISPLAY, e.g. under xvfb-run)
// `app_bench --mapped PROGRAM [ARG...]` measures only the last, for any command line (such as
// wine Qubset.exe).
// The simulator runs in this parent process, so a child's CPU and memory are the wizard's.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <QApplication>
#include <QSettings>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "app/MainSheet.h"
#include "app/Profile.h"
#include "app/StartPage.h"
#include "device/DeviceData.h"
#include "qubset/WizardPages.h"
#include "resources/Resource.h"
#include "sim/Simulator.h"
#include "tests/support/TempDir.h"
#include "ui/qt/Testing.h"

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kStartupRuns = 10;
constexpr int kPollSeconds = 30;
constexpr auto kMapGiveUp = std::chrono::seconds(20);

// --- the child: the wizard, reporting its moments on stdout ---

void Report(const char* what) {
    std::printf("%s\n", what);
    std::fflush(stdout);
}

double CpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// Plays the installer: Local (or Remote for polling), Next through every page, Finish.
void Drive(CMainSheet& sheet, const std::string& mode) {
    ui::PropertyPage* page = sheet.GetActivePage();
    if (page == sheet.page(PageId::Start) && !(sheet.wizardButtons() & ui::PSWIZB_NEXT)) {
        auto* start = static_cast<CStartPage*>(page);
        if (mode == "polling") {
            start->ClickDlgButton(IDC_REMOTE);
            start->SetDlgItemText(IDC_PHONE, "491709998887");
        } else {
            start->ClickDlgButton(IDC_LOCAL);
        }
    } else if (sheet.CanFinish()) {
        sheet.PressFinish();
    } else if (sheet.CanGoNext()) {
        sheet.PressNext();
    }
}

int Child(const std::string& mode) {
    int argc = 1;
    char name[] = "Qubset";
    char* argv[] = {name, nullptr};
    QApplication app(argc, argv);
    static DeviceData data;
    const auto line = MakePlatformSerialLine(ReadPortSettings());
    CMainSheet sheet("", 0, PageId::Welcome, data, *line, WizardPages());
    AfxSetMainSheet(&sheet);

    bool painted = false;
    QTimer watch;
    double pollCpu = -1;
    Clock::time_point pollWall;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        QWidget* shown = sheet.GetActivePage() ? ui::WidgetOf(*sheet.GetActivePage()) : nullptr;
        if (!painted && shown && shown->isVisible()) {
            painted = true;
            Report("shown");
        }
        if (mode == "startup") {
            if (sheet.m_nComPort) {
                Report("found");
                QCoreApplication::exit(0);  // quit() would ask the wizard, which refuses to close
            }
            return;
        }
        if (mode == "polling" && sheet.GetActivePage() == sheet.page(PageId::Dialing)) {
            // From here on only the wizard's own polling runs.
            watch.stop();
            pollCpu = CpuSeconds();
            pollWall = Clock::now();
            QTimer::singleShot(kPollSeconds * 1000, [&] {
                const double wall = std::chrono::duration<double>(Clock::now() - pollWall).count();
                std::printf("cpu %.5f\n", (CpuSeconds() - pollCpu) / wall);
                QCoreApplication::exit(0);  // quit() would ask the wizard, which refuses to close
            });
            return;
        }
        Drive(sheet, mode);
        if (sheet.IsEnded())
            QCoreApplication::exit(0);  // quit() would ask the wizard, which refuses to close
    });
    watch.start(mode == "startup" ? 1 : 50);
    sheet.Create();
    app.exec();
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("maxrss %ld\n", usage.ru_maxrss);
    return 0;
}

// --- the parent ---

struct Line {
    double atMs;
    std::string text;
};

std::vector<Line> RunChild(const char* self, const std::string& mode) {
    int out[2];
    if (pipe(out) != 0) return {};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    std::string modeArg = "--child=" + mode;
    char* argv[] = {const_cast<char*>(self), modeArg.data(), nullptr};
    const auto start = Clock::now();
    pid_t pid = 0;
    if (posix_spawn(&pid, self, &actions, nullptr, argv, environ) != 0) return {};
    close(out[1]);
    std::vector<Line> lines;
    std::string pending;
    char buffer[256];
    ssize_t n;
    while ((n = read(out[0], buffer, sizeof buffer)) > 0) {
        const double at = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
        pending.append(buffer, static_cast<std::size_t>(n));
        for (std::size_t nl; (nl = pending.find('\n')) != std::string::npos;
             pending.erase(0, nl + 1))
            lines.push_back({at, pending.substr(0, nl)});
    }
    close(out[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    posix_spawn_file_actions_destroy(&actions);
    return lines;
}

double Find(const std::vector<Line>& lines, const std::string& text, bool time) {
    for (const auto& l : lines) {
        if (l.text.rfind(text, 0) != 0) continue;
        return time ? l.atMs : std::atof(l.text.c_str() + text.size());
    }
    return -1;
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? -1 : v[v.size() / 2];
}

// Every event the server has sent so far, read and dropped.
void DrainEvents(xcb_connection_t* x) {
    free(xcb_get_input_focus_reply(x, xcb_get_input_focus(x), nullptr));  // a round trip
    while (xcb_generic_event_t* e = xcb_poll_for_event(x)) free(e);
}

// Starts the command line `argv` and waits for the server to map a top-level window: the
// milliseconds from just before the process was started, or -1. The program is then ended.
double StartToMapped(char* const* argv, xcb_connection_t* x) {
    DrainEvents(x);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    const auto start = Clock::now();
    pid_t pid = 0;
    const bool spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv, environ) == 0;
    posix_spawn_file_actions_destroy(&actions);
    if (!spawned) return -1;
    double mappedMs = -1;
    pollfd fd{xcb_get_file_descriptor(x), POLLIN, 0};
    while (mappedMs < 0 && Clock::now() - start < kMapGiveUp && !xcb_connection_has_error(x)) {
        while (xcb_generic_event_t* e = xcb_poll_for_event(x)) {
            const auto* map = reinterpret_cast<xcb_map_notify_event_t*>(e);
            if ((e->response_type & 0x7F) == XCB_MAP_NOTIFY && !map->override_redirect &&
                mappedMs < 0)
                mappedMs = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
            free(e);
        }
        if (mappedMs < 0) poll(&fd, 1, 10);
    }
    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
    return mappedMs;
}

// The real program on the X server named by DISPLAY, as an installer starts it.
void ReportStartToMapped(char* const* argv) {
    xcb_connection_t* x = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(x)) {
        std::printf("process start to window mapped       no X server (run under xvfb-run -a)\n");
        xcb_disconnect(x);
        return;
    }
    // Top-level windows are children of the root: their maps are reported to its listeners.
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(x)).data->root;
    const std::uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(x, root, XCB_CW_EVENT_MASK, &mask);
    setenv("QT_QPA_PLATFORM", "xcb", 1);
    std::vector<double> mapped;
    for (int i = 0; i < kStartupRuns; ++i) mapped.push_back(StartToMapped(argv, x));
    xcb_disconnect(x);
    std::erase(mapped, -1.0);  // a run whose window never came
    std::printf("process start to window mapped, X   %7.1f ms (median of %zu of %d runs)\n",
                Median(mapped), mapped.size(), kStartupRuns);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::strncmp(argv[1], "--child=", 8) == 0) return Child(argv[1] + 8);
    if (argc > 2 && std::strcmp(argv[1], "--mapped") == 0) {
        ReportStartToMapped(argv + 2);
        return 0;
    }

    // The children are this program again, found before the working folder changes.
    char self[4096] = {};
    if (!realpath(argv[0], self)) return 1;
    TempDir dir;
    sim::Options options;
    options.pace = true;
    options.dialDelay = std::chrono::hours(1);  // the remote never answers
    sim::Simulator simulator(options);
    const std::string link = dir.File("qubrin");
    if (!simulator.Start(link)) return 1;
    // A private settings store: COM3 is the simulator, and no other port exists.
    setenv("XDG_CONFIG_HOME", dir.File("config").c_str(), 1);
    setenv("XDG_STATE_HOME", dir.File("state").c_str(), 1);  // the backups of every upload
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    {
        QSettings settings(QString::fromStdString(dir.File("config") + "/Miltra/Qubset.conf"),
                           QSettings::IniFormat);
        settings.setValue("Ports/COM3", QString::fromStdString(link));
        settings.setValue("Ports/Discover", false);
    }
    // Language files in the current directory, as the tool expects.
    if (chdir(QUBSET_LANG_DIR) != 0) return 1;

    std::vector<double> shown, found;
    for (int i = 0; i < kStartupRuns; ++i) {
        const auto lines = RunChild(self, "startup");
        shown.push_back(Find(lines, "shown", true));
        found.push_back(Find(lines, "found", true));
    }
    std::printf("start to first page, offscreen      %7.1f ms (median of %d)  target < 300 ms\n",
                Median(shown), kStartupRuns);
    std::printf("start to unit found, offscreen      %7.1f ms (median of %d)\n", Median(found),
                kStartupRuns);

    const auto session = RunChild(self, "session");
    const double rssMb = Find(session, "maxrss ", false) / 1024.0;
    std::printf("peak resident memory, local session %6.1f MB  target < 60 MB (%zu uploads)\n",
                rssMb, simulator.AcceptedUploads().size());

    const auto polling = RunChild(self, "polling");
    const double cpu = Find(polling, "cpu ", false);
    std::printf(
        "CPU while polling a silent remote   %6.3f %% of one core over %d s  target < 1 %%\n",
        100.0 * cpu, kPollSeconds);
    char* qubset[] = {const_cast<char*>(QUBSET_EXE), nullptr};
    ReportStartToMapped(qubset);
    simulator.Stop();
    return 0;
}
