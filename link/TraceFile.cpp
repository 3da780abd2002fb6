#include "link/TraceFile.h"

bool TraceFile::Open(const std::filesystem::path& path, std::string_view signature,
                     std::string* error) {
    m_path = path;
    if (!OpenAtName(error)) return false;
    if (StartsAsTrace(path, signature)) {
        MakePrivate();
        return true;
    }
    if (error) *error = "it is not a wire trace, and it is left as it was";
    Close();
    return false;
}
