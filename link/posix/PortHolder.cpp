#include "link/posix/PortHolder.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdio>
#include <functional>

namespace {

// Probers that open every new serial adapter; the first is the usual one.
constexpr std::array<const char*, 3> kProbers = {"ModemManager", "brltty", "gpsd"};
// Bounds on the walk: a machine may run many processes, each with many files.
constexpr int kMaxProcesses = 65536;
constexpr int kMaxFilesPerProcess = 65536;
constexpr std::size_t kCommandNameMax = 64;

bool IsProber(const std::string& name) {
    for (const char* prober : kProbers)
        if (name == prober) return true;
    return false;
}

int PidOf(const char* name) {
    int pid = 0;
    for (const char* c = name; *c; ++c) {
        if (*c < '0' || *c > '9' || pid > 99999999) return 0;
        pid = pid * 10 + (*c - '0');
    }
    return pid;
}

// Calls `visit` with each other process's id until it returns true.
void ForEachOtherProcess(const std::string& procDir, const std::function<bool(int)>& visit) {
    DIR* dir = opendir(procDir.c_str());
    if (!dir) return;
    const int self = getpid();
    int seen = 0;
    while (dirent* entry = readdir(dir)) {
        const int pid = PidOf(entry->d_name);
        if (pid <= 0 || pid == self) continue;
        if (++seen > kMaxProcesses || visit(pid)) break;
    }
    closedir(dir);
}

// False, and `hidden` set, when the process's files cannot be looked into.
bool HoldsDevice(const std::string& procDir, int pid, dev_t device, bool* hidden) {
    const std::string fdDir = procDir + "/" + std::to_string(pid) + "/fd";
    DIR* dir = opendir(fdDir.c_str());
    if (!dir) {
        if (errno == EACCES || errno == EPERM) *hidden = true;  // gone is not hidden
        return false;
    }
    bool holds = false;
    int seen = 0;
    while (dirent* entry = readdir(dir)) {
        if (entry->d_name[0] == '.') continue;
        if (++seen > kMaxFilesPerProcess) break;
        struct stat st {};
        if (stat((fdDir + "/" + entry->d_name).c_str(), &st) == 0 && S_ISCHR(st.st_mode) &&
            st.st_rdev == device) {
            holds = true;
            break;
        }
    }
    closedir(dir);
    return holds;
}

std::string CommandName(const std::string& procDir, int pid) {
    std::FILE* file = std::fopen((procDir + "/" + std::to_string(pid) + "/comm").c_str(), "rb");
    if (!file) return {};
    std::array<char, kCommandNameMax> text{};
    const std::size_t length = std::fread(text.data(), 1, text.size() - 1, file);
    std::fclose(file);
    std::string name(text.data(), length);
    while (!name.empty() && (name.back() == '\n' || name.back() == '\0')) name.pop_back();
    return name;
}

}  // namespace

PortHolder FindPortHolder(const std::string& devicePath, const std::string& procDir) {
    struct stat target {};
    if (stat(devicePath.c_str(), &target) != 0 || !S_ISCHR(target.st_mode)) return {};
    PortHolder holder;
    bool hidden = false;
    ForEachOtherProcess(procDir, [&](int pid) {
        if (!HoldsDevice(procDir, pid, target.st_rdev, &hidden)) return false;
        const std::string name = CommandName(procDir, pid);
        holder = {name, pid, IsProber(name)};
        return true;
    });
    if (holder.pid != 0 || !hidden) return holder;
    ForEachOtherProcess(procDir, [&](int pid) {
        const std::string name = CommandName(procDir, pid);
        if (IsProber(name)) holder = {name, pid, true};
        return holder.pid != 0;
    });
    return holder;
}
