#include "device/Verify.h"

#include "device/DeviceData.h"

namespace fields {

Verdict CompareReadBack(const DeviceData& written, const DeviceData& readBack) {
    Verdict verdict{Outcome::Verified, {}};
    for (const Field& f : NamedFields()) {
        if (!SentBack(f, written.versionByte())) continue;
        std::string was = FieldValue(written, f);
        std::string is = FieldValue(readBack, f);
        if (was != is) verdict.differences.push_back({&f, std::move(was), std::move(is)});
    }
    if (!verdict.differences.empty()) verdict.outcome = Outcome::Differs;
    return verdict;
}

}  // namespace fields
