// The version shown in the wizard's title, read from the executable's version record:
// Windows' VERSIONINFO resource, or on other systems a marked record embedded in the file.
#pragma once

#include <cstdint>
#include <string>

// The embedded record: a marker, the fixed part's signature, the file version.
struct EmbeddedVersion {
    char marker[24];  // "QUBSET-VERSION-RECORD"
    std::uint32_t signature;
    std::uint32_t fileVersionMS;  // major << 16 | minor
    std::uint32_t fileVersionLS;  // build << 16 | revision
};

inline constexpr std::uint32_t kVersionSignature = 0xFEEF04BD;

// "2.31" for file version 2.31.x.x; " 0 <name>" when the file has no record or is missing;
// " error 2" when the record cannot be read; "error 1" when its fixed part is not there.
std::string VersionText(const std::string& path, const std::string& name);

// The version of a record's fixed part, formatted "%d.%02d".
std::string FormatVersion(std::uint32_t fileVersionMS);
// What the title shows for a file without a record.
std::string MissingVersionText(const std::string& name);
