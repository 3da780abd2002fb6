#include "qubset/SiteCommands.h"

#include <algorithm>
#include <memory>

#include "device/DeviceData.h"
#include "device/SafeFile.h"
#include "site/SiteFile.h"
#include "transfer/Review.h"

namespace {

bool Open(const std::string& path, site::Opened* opened, CommandOutput* output) {
    std::string error;
    if (site::ReadSiteFile(std::filesystem::path(path), opened, &error)) return true;
    output->status = kUnsoundStatus;
    output->err += path + ": " + error + "\n";
    return false;
}

// Empty for a sound file, else what is wrong with it.
std::string Unsoundness(const site::Opened& opened) {
    switch (opened.soundness) {
        case site::Soundness::Edited:
            return "changed after it was saved, first at " + opened.problem;
        case site::Soundness::Damaged:
            return "damaged: " + opened.problem;
        case site::Soundness::Sound:
            break;
    }
    return {};
}

std::string Quoted(const std::string* value) {
    return value ? "\"" + *value + "\"" : "(absent)";
}

}  // namespace

CommandOutput ShowSiteFile(const std::string& path) {
    CommandOutput output;
    site::Opened opened;
    if (!Open(path, &opened, &output)) return output;
    const site::SiteFile& f = opened.file;
    if (const std::string problem = Unsoundness(opened); !problem.empty())
        output.err += path + ": warning: " + problem + "\n";
    output.out += "Unit: " + f.unit.model + ", id " + f.unit.id + ", firmware " + f.unit.firmware +
                  ", record version " + std::to_string(f.unit.recordVersion) +
                  "\nSaved: " + f.savedAt + " by Qubset " + f.programVersion + "\n\n";
    std::size_t width = 5;
    for (const auto& [name, value] : f.values) width = std::max(width, name.size());
    output.out += "field" + std::string(width - 5 + 2, ' ') + "value\n";
    for (const auto& [name, value] : f.values)
        output.out += name + std::string(width - name.size() + 2, ' ') + value + "\n";
    return output;
}

CommandOutput DiffSiteFiles(const std::string& first, const std::string& second) {
    CommandOutput output;
    site::Opened a, b;
    if (!Open(first, &a, &output) || !Open(second, &b, &output)) return output;
    const std::vector<std::string> names = site::DifferingFields(a.file, b.file);
    for (const std::string& name : names)
        output.out += name + ": " + Quoted(site::ValueOf(a.file, name)) + " -> " +
                      Quoted(site::ValueOf(b.file, name)) + "\n";
    output.status = names.empty() ? 0 : kDiffersStatus;
    return output;
}

CommandOutput CheckSiteFile(const std::string& path) {
    CommandOutput output;
    site::Opened opened;
    if (!Open(path, &opened, &output)) return output;
    const std::string problem = Unsoundness(opened);
    if (problem.empty()) {
        output.out = path + ": sound\n";
        return output;
    }
    output.status = kUnsoundStatus;
    output.err = path + ": " + problem + "\n";
    return output;
}

CommandOutput ReportSiteFile(const std::string& path, const std::string& out,
                             const std::string& langFile, const std::string& version,
                             const std::string& date) {
    CommandOutput output;
    site::Opened opened;
    if (!Open(path, &opened, &output)) return output;
    if (opened.soundness == site::Soundness::Damaged) {
        output.status = kUnsoundStatus;
        output.err = path + ": " + Unsoundness(opened) + "\n";
        return output;
    }
    if (opened.soundness == site::Soundness::Edited)
        output.err = path + ": warning: " + Unsoundness(opened) + "\n";
    auto record = std::make_unique<DeviceData>();
    std::string why;
    if (!site::RecordOfFile(opened.file, *record, &why)) {
        output.status = kUnsoundStatus;
        output.err += path + ": " + why + "\n";
        return output;
    }
    const HandoverInput input{*record, {}, {}, langFile, version, date};
    if (WriteWholeFile(std::filesystem::path(out), HandoverReport(input)) != FileResult::Done) {
        output.status = kUnsoundStatus;
        output.err += out + ": cannot be written\n";
        return output;
    }
    output.out = out + ": handover record of " + path + "\n";
    return output;
}
