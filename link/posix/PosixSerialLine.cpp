// The serial line on POSIX systems: termios raw 8N1 at 115200, and poll() deadlines that give
// every read the waits the Win32 time-outs give it. A pipe lets another thread wake a blocked
// read or write (Abort).
#include <fcntl.h>
#include <grp.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cerrno>

#include "link/SerialLine.h"
#include "link/posix/PortHolder.h"
#include "link/posix/PortMap.h"

namespace {

PortFault FaultOf(int error) {
    switch (error) {
        case ENOENT:
            return PortFault::None;  // nothing there, as a number without a device
        case EACCES:
        case EPERM:
            return PortFault::Denied;
        case EBUSY:
        case EWOULDBLOCK:
            return PortFault::InUse;  // TIOCEXCL or the lock held elsewhere
        case ENODEV:
        case ENXIO:
        case EIO:
            return PortFault::Gone;
        default:
            return PortFault::Other;
    }
}

// The group that may read and write the device, when its mode grants the group both.
std::string DeviceGroup(const std::string& path) {
    struct stat st {};
    if (stat(path.c_str(), &st) != 0 || (st.st_mode & (S_IRGRP | S_IWGRP)) != (S_IRGRP | S_IWGRP))
        return {};
    group entry{};
    group* found = nullptr;
    std::array<char, 4096> names{};
    if (getgrgid_r(st.st_gid, &entry, names.data(), names.size(), &found) != 0 || !found) return {};
    return found->gr_name;
}

class PosixSerialLine final : public SerialLine {
  public:
    explicit PosixSerialLine(const PortSettings& ports) : m_ports(ports) {
        if (pipe(m_wake) == 0) {
            for (int fd : m_wake) {
                fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
                fcntl(fd, F_SETFD, FD_CLOEXEC);
            }
        }
    }
    ~PosixSerialLine() override {
        Close();
        for (int fd : m_wake)
            if (fd >= 0) close(fd);
    }

    void Rescan() override { m_ports.Rescan(); }
    std::vector<int> FurtherPorts() const override { return m_ports.FurtherPorts(); }

    bool Open(int comNumber) override {
        Close();
        m_failure = {};
        const std::string path = m_ports.PathFor(comNumber);
        if (path.empty()) return false;
        const int fd = open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) return Refused(comNumber, path, errno);
        // No sharing: another program holding the port keeps it.
        if (flock(fd, LOCK_EX | LOCK_NB) != 0 || !isatty(fd)) {
            const int error = errno;
            close(fd);
            return Refused(comNumber, path, error);
        }
        ioctl(fd, TIOCEXCL);
        // What arrived while nobody had the port open is stale.
        tcflush(fd, TCIOFLUSH);
        m_fd = fd;
        m_timeouts = kOpenTimeouts;
        return true;
    }

    OpenFailure LastOpenFailure() const override { return m_failure; }

    void Close() override {
        if (m_fd < 0) return;
        ioctl(m_fd, TIOCNXCL);
        close(m_fd);
        m_fd = -1;
    }

    bool IsOpen() const override { return m_fd >= 0; }

    void Configure() override {
        termios tio{};
        if (tcgetattr(m_fd, &tio) != 0) return;
        cfmakeraw(&tio);
        cfsetispeed(&tio, B115200);
        cfsetospeed(&tio, B115200);
        tio.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | CSTOPB | CRTSCTS);
        tio.c_cflag |= CS8 | CLOCAL | CREAD;
        tio.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY | INPCK);
        tio.c_cc[VMIN] = 0;
        tio.c_cc[VTIME] = 0;
        tcsetattr(m_fd, TCSANOW, &tio);
        int dtr = TIOCM_DTR, rts = TIOCM_RTS;
        ioctl(m_fd, TIOCMBIS, &dtr);
        ioctl(m_fd, TIOCMBIC, &rts);
    }

    void SetTimeouts(const CommTimeouts& timeouts) override { m_timeouts = timeouts; }

    int Read(std::uint8_t* buffer, std::size_t count) override {
        if (m_fd < 0) return -1;
        ReadDeadline deadline(m_timeouts, count, SerialClock::now());
        std::size_t got = 0;
        while (got < count) {
            if (m_aborted) return -1;
            const auto left = deadline.Remaining(SerialClock::now());
            if (left && left->count() == 0) break;
            const int wait = left ? static_cast<int>(left->count()) : -1;
            const int ready = WaitFor(POLLIN, wait);
            if (ready < 0) return -1;
            if (ready == 0) continue;
            const ssize_t n = read(m_fd, buffer + got, count - got);
            if (n > 0) {
                got += static_cast<std::size_t>(n);
                deadline.BytesArrived(SerialClock::now());
            } else if (n == 0 || (errno != EAGAIN && errno != EINTR)) {
                return -1;  // the other end hung up
            }
        }
        return static_cast<int>(got);
    }

    bool Write(const std::uint8_t* buffer, std::size_t count) override {
        if (m_fd < 0) return false;
        const auto due = WriteDeadline(m_timeouts, count, SerialClock::now());
        std::size_t done = 0;
        while (done < count) {
            if (m_aborted) return false;
            const auto now = SerialClock::now();
            if (now >= due) return false;
            const auto left = std::chrono::ceil<std::chrono::milliseconds>(due - now);
            const int ready = WaitFor(POLLOUT, static_cast<int>(left.count()));
            if (ready < 0) return false;
            if (ready == 0) continue;
            const ssize_t n = write(m_fd, buffer + done, count - done);
            if (n > 0)
                done += static_cast<std::size_t>(n);
            else if (n < 0 && errno != EAGAIN && errno != EINTR)
                return false;
        }
        return true;
    }

    void Abort() override {
        m_aborted = true;
        const char byte = 1;
        [[maybe_unused]] const ssize_t n = write(m_wake[1], &byte, 1);
    }

    void ClearAbort() override {
        m_aborted = false;
        char drain[64];
        while (read(m_wake[0], drain, sizeof drain) > 0) {
        }
    }

  private:
    bool Refused(int comNumber, const std::string& path, int error) {
        m_failure = {comNumber, FaultOf(error), error, path, {}};
        if (m_failure.fault == PortFault::Denied) m_failure.group = DeviceGroup(path);
        if (m_failure.fault == PortFault::InUse) {
            const PortHolder holder = FindPortHolder(path);
            m_failure.holder = holder.name;
            m_failure.holderPid = holder.pid;
            m_failure.holderProbes = holder.probes;
        }
        return false;
    }

    // 1 when the port is ready for `events`, 0 when the wait ran out or was interrupted,
    // -1 on a failure, a hang-up or an abort.
    int WaitFor(short events, int timeoutMs) {
        pollfd fds[2] = {{m_fd, events, 0}, {m_wake[0], POLLIN, 0}};
        const int r = poll(fds, 2, timeoutMs);
        if (r < 0) return errno == EINTR ? 0 : -1;
        if (m_aborted || (fds[1].revents & POLLIN)) return -1;
        if (fds[0].revents & events) return 1;
        if (fds[0].revents & (POLLERR | POLLHUP | POLLNVAL)) return -1;
        return 0;
    }

    PortMap m_ports;
    int m_fd = -1;
    int m_wake[2] = {-1, -1};
    std::atomic<bool> m_aborted{false};
    CommTimeouts m_timeouts = kOpenTimeouts;
    OpenFailure m_failure;
};

}  // namespace

std::unique_ptr<SerialLine> MakePlatformSerialLine(const PortSettings& ports) {
    return std::make_unique<PosixSerialLine>(ports);
}
