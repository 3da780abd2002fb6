#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "sim/UnitEnd.h"

namespace sim {
namespace {

void SetNonBlocking(int fd) {
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
    fcntl(fd, F_SETFD, FD_CLOEXEC);
}

class PtyEnd : public UnitEnd {
  public:
    explicit PtyEnd(std::string linkPath) : m_linkPath(std::move(linkPath)) {}

    ~PtyEnd() override {
        Close();
        for (int fd : m_wake)
            if (fd >= 0) close(fd);
    }

    bool MakeWakePipe(std::string* error) {
        if (pipe(m_wake) != 0) {
            if (error) *error = std::string("pipe: ") + std::strerror(errno);
            return false;
        }
        for (int fd : m_wake) SetNonBlocking(fd);
        return true;
    }

    bool Open(std::string* error) override {
        auto fail = [&](const char* step) {
            if (error) *error = std::string(step) + ": " + std::strerror(errno);
            Close();
            return false;
        };
        m_master = posix_openpt(O_RDWR | O_NOCTTY);
        if (m_master < 0) return fail("posix_openpt");
        if (grantpt(m_master) != 0 || unlockpt(m_master) != 0) return fail("grantpt");
        const char* name = ptsname(m_master);
        if (!name) return fail("ptsname");
        const std::string slave = name;
        // Keeps the line up while the tool has it closed.
        m_slaveKeep = open(slave.c_str(), O_RDWR | O_NOCTTY);
        if (m_slaveKeep < 0) return fail("open slave");
        termios tio{};
        tcgetattr(m_slaveKeep, &tio);
        cfmakeraw(&tio);
        tcsetattr(m_slaveKeep, TCSANOW, &tio);
        SetNonBlocking(m_master);
        // Replace the link in one step, so the tool never finds the path missing while we move.
        const std::string temp = m_linkPath + ".new";
        unlink(temp.c_str());
        if (symlink(slave.c_str(), temp.c_str()) != 0) return fail("symlink");
        if (rename(temp.c_str(), m_linkPath.c_str()) != 0) return fail("rename link");
        return true;
    }

    void Close() override {
        if (m_master >= 0) unlink(m_linkPath.c_str());
        for (int* fd : {&m_master, &m_slaveKeep}) {
            if (*fd >= 0) close(*fd);
            *fd = -1;
        }
    }

    bool IsOpen() const override { return m_master >= 0; }

    Ready Wait(std::optional<Clock::duration> wait, bool wantWrite) override {
        const short lineEvents = static_cast<short>(POLLIN | (wantWrite ? POLLOUT : 0));
        pollfd fds[2] = {{m_wake[0], POLLIN, 0}, {m_master, lineEvents, 0}};
        // Paced bytes are timed to the microsecond, so the wait is too.
        timespec timeout{};
        if (wait) {
            const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(*wait).count();
            timeout = {static_cast<time_t>(ns / 1000000000), static_cast<long>(ns % 1000000000)};
        }
        ppoll(fds, m_master >= 0 ? 2 : 1, wait ? &timeout : nullptr, nullptr);
        Ready ready;
        if (fds[0].revents & POLLIN) {
            char drain[16];
            while (read(m_wake[0], drain, sizeof drain) > 0) {
            }
            ready.woken = true;
        }
        if (m_master >= 0) {
            ready.readable = fds[1].revents & POLLIN;
            ready.writable = fds[1].revents & POLLOUT;
        }
        return ready;
    }

    void Wake() override {
        const char byte = 1;
        [[maybe_unused]] const ssize_t n = write(m_wake[1], &byte, 1);
    }

    std::size_t Read(std::uint8_t* buffer, std::size_t count) override {
        const ssize_t n = read(m_master, buffer, count);
        return n > 0 ? static_cast<std::size_t>(n) : 0;
    }

    std::size_t Write(const std::uint8_t* buffer, std::size_t count) override {
        const ssize_t n = write(m_master, buffer, count);
        return n > 0 ? static_cast<std::size_t>(n) : 0;
    }

    void Drain() override { tcdrain(m_master); }

  private:
    std::string m_linkPath;
    int m_master = -1;
    int m_slaveKeep = -1;
    int m_wake[2] = {-1, -1};
};

}  // namespace

std::unique_ptr<UnitEnd> MakePtyEnd(const std::string& linkPath, std::string* error) {
    auto end = std::make_unique<PtyEnd>(linkPath);
    if (!end->MakeWakePipe(error)) return nullptr;
    return end;
}

}  // namespace sim
