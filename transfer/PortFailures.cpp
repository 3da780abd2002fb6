#include "transfer/PortFailures.h"

#include "app/LangFile.h"
#include "link/SystemError.h"
#include "ui/Services.h"

namespace {

// Probers of serial adapters are stopped as services, other holders are closed.
std::string InUse(const OpenFailure& failure, const std::filesystem::path& langFile) {
    if (failure.holder.empty()) return LangTextOr(langFile, "005", "in use by another program.");
    const std::string text =
        failure.holderProbes
            ? LangTextOr(langFile, "009",
                         "in use by %1 (process %2), which probes serial adapters. Stop it: "
                         "sudo systemctl stop %1")
            : LangTextOr(langFile, "008",
                         "in use by %1 (process %2). Close that program and try again.");
    return WithArgument(WithArgument(text, ui::TextFromSystem(failure.holder)),
                        std::to_string(failure.holderPid), "%2");
}

std::string Cause(const OpenFailure& failure, const std::filesystem::path& langFile) {
    switch (failure.fault) {
        case PortFault::Denied:
            if (failure.group.empty())
                return LangTextOr(langFile, "004",
                                  "permission denied. Ask the administrator for read and write "
                                  "access to the device.");
            return WithArgument(LangTextOr(langFile, "003",
                                           "permission denied. Add your user to the group '%1' "
                                           "and log in again."),
                                ui::TextFromSystem(failure.group));
        case PortFault::InUse:
            return InUse(failure, langFile);
        case PortFault::Gone:
            return LangTextOr(langFile, "006",
                              "the device is gone. Plug the cable or the adapter in again.");
        case PortFault::None:
        case PortFault::Other:
            break;
    }
    return WithArgument(LangTextOr(langFile, "007", "cannot be opened (%1)."),
                        ui::TextFromSystem(SystemErrorText(failure.osError)));
}

std::string PortFailureLine(const OpenFailure& failure, const std::filesystem::path& langFile) {
    std::string port = "COM" + std::to_string(failure.comNumber);
    if (!failure.device.empty()) port += " (" + ui::TextFromSystem(failure.device) + ")";
    return port + ": " + Cause(failure, langFile);
}

}  // namespace

std::string PortFailureLines(const std::vector<OpenFailure>& failures,
                             const std::filesystem::path& langFile) {
    std::string lines;
    for (const OpenFailure& failure : failures) {
        if (!lines.empty()) lines += '\n';
        lines += PortFailureLine(failure, langFile);
    }
    return lines;
}
