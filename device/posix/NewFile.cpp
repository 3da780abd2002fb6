#include "device/NewFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

namespace newfile {

namespace {

constexpr mode_t kAnyone = S_IRUSR | S_IWUSR | S_IRGRP | S_IWGRP | S_IROTH | S_IWOTH;
constexpr mode_t kOwnerAlone = S_IRUSR | S_IWUSR;
constexpr mode_t kPermissionBits = S_IRWXU | S_IRWXG | S_IRWXO;

int Fd(Handle file) {
    return static_cast<int>(file.value);
}

// The mode the new file must have, or none to leave the umask's.
bool WantedMode(const std::filesystem::path& target, FileAccess access, mode_t* mode) {
    if (access == FileAccess::Private) {
        *mode = kOwnerAlone;
        return true;
    }
    struct stat st {};
    if (lstat(target.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
    *mode = st.st_mode & kPermissionBits;
    return true;
}

bool SyncFolderOf(const std::filesystem::path& target) {
    const std::filesystem::path folder =
        target.has_parent_path() ? target.parent_path() : std::filesystem::path(".");
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return false;
    const bool synced = fsync(fd) == 0 || errno == EINVAL;  // some file systems cannot
    close(fd);
    return synced;
}

}  // namespace

Created Create(const std::filesystem::path& temp, const std::filesystem::path& target,
               FileAccess access, Handle* file) {
    const mode_t createdAs = access == FileAccess::Private ? kOwnerAlone : kAnyone;
    const int fd =
        open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, createdAs);
    if (fd < 0) return errno == EEXIST ? Created::NameTaken : Created::Failed;
    mode_t mode = 0;
    if (WantedMode(target, access, &mode) && fchmod(fd, mode) != 0) {
        close(fd);
        unlink(temp.c_str());
        return Created::Failed;
    }
    file->value = fd;
    return Created::Done;
}

bool WriteAndSync(Handle file, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = write(Fd(file), bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return fsync(Fd(file)) == 0;
}

bool Close(Handle file) {
    return close(Fd(file)) == 0;
}

bool Replace(const std::filesystem::path& temp, const std::filesystem::path& target) {
    if (std::rename(temp.c_str(), target.c_str()) != 0) return false;
    SyncFolderOf(target);  // the file is whole at its name; only its lasting is in doubt
    return true;
}

}  // namespace newfile
