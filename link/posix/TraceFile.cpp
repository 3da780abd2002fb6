#include "link/TraceFile.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <string>

#include "link/SystemError.h"

namespace {

constexpr mode_t kPrivate = S_IRUSR | S_IWUSR;

std::string Reason(int error) {
    return SystemErrorText(error);
}

}  // namespace

bool TraceFile::StartsAsTrace(const std::filesystem::path& path, std::string_view signature) {
    // Reading needs a descriptor of its own: the trace's is write-only.
    const int fd = open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return false;
    std::string head(signature.size(), '\0');
    const ssize_t n = pread(fd, head.data(), head.size(), 0);
    close(fd);
    return n == 0 || (n == static_cast<ssize_t>(head.size()) && head == signature);
}

TraceFile::~TraceFile() {
    Close();
}

bool TraceFile::IsOpen() const {
    return m_fd >= 0;
}

void TraceFile::Close() {
    if (m_fd >= 0) close(m_fd);
    m_fd = -1;
}

void TraceFile::MakePrivate() {
    struct stat st {};
    if (fstat(m_fd, &st) == 0 && (st.st_mode & (S_IRWXG | S_IRWXO)) != 0) fchmod(m_fd, kPrivate);
}

bool TraceFile::OpenAtName(std::string* error) {
    // Without blocking: a pipe with no reader would wait for one for ever.
    const int fd =
        open(m_path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC,
             kPrivate);
    if (fd < 0) {
        if (error) *error = errno == ENXIO ? kNotRegular : Reason(errno == ELOOP ? EPERM : errno);
        return false;
    }
    struct stat st {};
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        if (error) *error = kNotRegular;
        close(fd);
        return false;
    }
    fcntl(fd, F_SETFL, O_APPEND);  // a regular file: writes may wait for the disk again
    Close();
    m_fd = fd;
    return true;
}

bool TraceFile::Append(std::string_view bytes, std::string* error) {
    while (!bytes.empty()) {
        const ssize_t n = write(m_fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            if (error) *error = Reason(n < 0 ? errno : ENOSPC);
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

bool TraceFile::Follow(std::uint64_t maxBytes) {
    struct stat mine {
    }, named{};
    if (fstat(m_fd, &mine) != 0) return false;
    const bool ours = lstat(m_path.c_str(), &named) == 0 && named.st_dev == mine.st_dev &&
                      named.st_ino == mine.st_ino;
    if (ours && static_cast<std::uint64_t>(mine.st_size) <= maxBytes) return false;
    // One program at a time decides: the others wait here, then find the name moved on.
    flock(m_fd, LOCK_EX);
    const bool stillOurs = lstat(m_path.c_str(), &named) == 0 && named.st_dev == mine.st_dev &&
                           named.st_ino == mine.st_ino;
    if (stillOurs) {
        std::filesystem::path rotated = m_path;
        rotated += ".1";
        std::rename(m_path.c_str(), rotated.c_str());
    }
    const int old = m_fd;
    m_fd = -1;
    const bool reopened = OpenAtName(nullptr);
    flock(old, LOCK_UN);
    if (!reopened) {
        m_fd = old;  // keep the file we had rather than lose the trace
        return false;
    }
    close(old);
    struct stat now {};
    return fstat(m_fd, &now) == 0 && now.st_size == 0;
}
