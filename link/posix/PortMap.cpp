#include "link/posix/PortMap.h"

#include <dirent.h>

#include <algorithm>
#include <cctype>
#include <fstream>

namespace {

std::vector<std::string> NamesWithPrefix(const std::string& dir, const std::string& prefix) {
    std::vector<std::string> names;
    DIR* d = opendir(dir.c_str());
    if (!d) return names;
    while (const dirent* e = readdir(d)) {
        const std::string name = e->d_name;
        if (name.size() > prefix.size() && name.compare(0, prefix.size(), prefix) == 0 &&
            std::isdigit(static_cast<unsigned char>(name[prefix.size()])))
            names.push_back(name);
    }
    closedir(d);
    std::sort(names.begin(), names.end(), NaturalLess);
    return names;
}

// The kernel lists every possible 8250 port; only those with a UART type other than 0 exist.
bool HasUart(const std::string& sysTtyDir, const std::string& name) {
    std::ifstream type(sysTtyDir + "/" + name + "/type");
    int value = 0;
    return type >> value && value != 0;
}

}  // namespace

bool NaturalLess(const std::string& a, const std::string& b) {
    std::size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        const bool da = std::isdigit(static_cast<unsigned char>(a[i]));
        const bool db = std::isdigit(static_cast<unsigned char>(b[j]));
        if (da && db) {
            std::size_t ie = i, je = j;
            while (ie < a.size() && std::isdigit(static_cast<unsigned char>(a[ie]))) ++ie;
            while (je < b.size() && std::isdigit(static_cast<unsigned char>(b[je]))) ++je;
            const std::string na = a.substr(i, ie - i), nb = b.substr(j, je - j);
            const auto sa = na.find_first_not_of('0'), sb = nb.find_first_not_of('0');
            const std::string ta = sa == std::string::npos ? "" : na.substr(sa);
            const std::string tb = sb == std::string::npos ? "" : nb.substr(sb);
            if (ta.size() != tb.size()) return ta.size() < tb.size();
            if (ta != tb) return ta < tb;
            i = ie;
            j = je;
        } else {
            if (a[i] != b[j]) return a[i] < b[j];
            ++i;
            ++j;
        }
    }
    return a.size() - i < b.size() - j;
}

PortMap::PortMap(PortSettings settings, std::string sysTtyDir, std::string devDir)
    : m_settings(std::move(settings)),
      m_sysTtyDir(std::move(sysTtyDir)),
      m_devDir(std::move(devDir)) {
    Rescan();
}

std::vector<std::string> PortMap::DiscoverDevices() const {
    std::vector<std::string> paths;
    for (const auto& name : NamesWithPrefix(m_sysTtyDir, "ttyS"))
        if (HasUart(m_sysTtyDir, name)) paths.push_back(m_devDir + "/" + name);
    for (const char* prefix : {"ttyUSB", "ttyACM"})
        for (const auto& name : NamesWithPrefix(m_devDir, prefix))
            paths.push_back(m_devDir + "/" + name);
    return paths;
}

void PortMap::Rescan() {
    m_paths.assign(kMaxComPort + 1, std::string());
    std::vector<std::string> devices;
    if (m_settings.discover) devices = DiscoverDevices();
    // A device already named by an override does not get a second number.
    const auto& named = m_settings.paths;
    std::erase_if(devices, [&](const std::string& path) {
        return std::any_of(named.begin(), named.end(),
                           [&](const auto& o) { return o.second == path; });
    });
    auto next = devices.begin();
    for (int n = kFirstComPort; n <= kMaxComPort; ++n) {
        const auto o = named.find(n);
        if (o != named.end())
            m_paths[static_cast<std::size_t>(n)] = o->second;
        else if (next != devices.end())
            m_paths[static_cast<std::size_t>(n)] = *next++;
    }
}

std::string PortMap::PathFor(int comNumber) const {
    if (comNumber < kFirstComPort || comNumber > kMaxComPort) return {};
    return m_paths[static_cast<std::size_t>(comNumber)];
}

std::vector<int> PortMap::FurtherPorts() const {
    std::vector<int> numbers;
    for (int n = kLastComPort + 1; n <= kMaxComPort; ++n)
        if (!m_paths[static_cast<std::size_t>(n)].empty()) numbers.push_back(n);
    return numbers;
}
