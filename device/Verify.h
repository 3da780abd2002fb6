// Whether a unit holds what was written to it: the record read back after an upload, compared
// field by field with the record as written. One verdict that every place that speaks of an
// upload's outcome shows.
#pragma once

#include <string>
#include <vector>

#include "device/Fields.h"

struct DeviceData;

namespace fields {

enum class Outcome {
    Verified,     // the unit holds every field written
    Differs,      // it holds some fields otherwise
    NotVerified,  // the read-back failed: nothing is known either way
};

struct Difference {
    const Field* field;
    std::string written;  // values as FieldValue gives them
    std::string read;
};

struct Verdict {
    Outcome outcome = Outcome::NotVerified;
    std::vector<Difference> differences;  // in table order; only with Differs
};

// What the unit holds (`readBack`, as a read of its settings and texts filled it) against what
// an upload of `written` carried. Only fields the upload sends back are compared: what the
// unit keeps itself (identity, record version, modem state, the SIM PIN, the length words) is
// no such field.
Verdict CompareReadBack(const DeviceData& written, const DeviceData& readBack);

}  // namespace fields
