// The wire trace's file: private to the user, opened without following a symbolic link and
// only ever appended to. When it is full it is renamed to "<name>.1" (replacing an older one)
// and a new file takes its name; a program that finds its file renamed by another follows the
// name. A file that does not start as a trace does is never touched, nor is anything that is not
// a regular file (a pipe would hold the program up).
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

class TraceFile {
  public:
    TraceFile() = default;
    ~TraceFile();
    TraceFile(const TraceFile&) = delete;
    TraceFile& operator=(const TraceFile&) = delete;

    // Opens `path` for appending, creating it readable by the user alone; an existing trace is
    // made so. An existing file whose first bytes are not `signature` is refused and left as it
    // was.
    bool Open(const std::filesystem::path& path, std::string_view signature, std::string* error);
    bool IsOpen() const;
    // Appends every byte, or fails with the system's reason.
    bool Append(std::string_view bytes, std::string* error);
    // Past `maxBytes` the file goes to "<name>.1" and a new one is started; a file renamed by
    // another program is left for the one at the name. True when the file now written is new
    // and empty, so that it needs its first line.
    bool Follow(std::uint64_t maxBytes);
    void Close();

    static constexpr const char* kNotRegular = "it is not a regular file";

  private:
    bool OpenAtName(std::string* error);
    // Whether the file starts with `signature` (an empty file does).
    static bool StartsAsTrace(const std::filesystem::path& path, std::string_view signature);
    void MakePrivate();
    std::filesystem::path m_path;
#ifdef _WIN32
    void* m_handle = nullptr;
#else
    int m_fd = -1;
#endif
};
