// Every exit status the program gives, in one place: --help, the README and the manual page
// list them from here.
#pragma once

#include <span>
#include <string_view>

// A saved read, a verified write, a dry run, a sound file, files that do not differ.
inline constexpr int kDoneStatus = 0;
// --diff: the files differ.
inline constexpr int kDiffersStatus = 1;
// A bad file or option (--check: a file that is not sound; a value that does not fit).
inline constexpr int kUsageStatus = 2;
inline constexpr int kUnsoundStatus = kUsageStatus;
// The wizard has no display to show itself on.
inline constexpr int kNoDisplayStatus = 3;
inline constexpr int kNoUnitStatus = 4;
inline constexpr int kUploadRefusedStatus = 5;
inline constexpr int kOtherUnitStatus = 6;
inline constexpr int kWrittenDiffersStatus = 7;
inline constexpr int kNotVerifiedStatus = 8;
inline constexpr int kLinkLostStatus = 9;

struct ExitStatusLine {
    int status;
    std::string_view meaning;
};
inline constexpr ExitStatusLine kExitStatuses[] = {
    {kDoneStatus, "done: saved, verified, a dry run, a sound file"},
    {kDiffersStatus, "--diff: the files differ (the wizard: it wrote the unit)"},
    {kUsageStatus, "a bad file or option, a value that does not fit"},
    {kNoDisplayStatus, "the wizard has no display"},
    {kNoUnitStatus, "no unit found"},
    {kUploadRefusedStatus, "the unit refused the upload"},
    {kOtherUnitStatus, "the file is another unit's (without --clone)"},
    {kWrittenDiffersStatus, "written, but the unit holds other values"},
    {kNotVerifiedStatus, "written, but not verified"},
    {kLinkLostStatus, "the link was lost during the write"},
};
