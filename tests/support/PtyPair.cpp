#include "tests/support/PtyPair.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cstdlib>

PtyPair::PtyPair() {
    m_master = posix_openpt(O_RDWR | O_NOCTTY);
    if (m_master < 0 || grantpt(m_master) != 0 || unlockpt(m_master) != 0) return;
    m_slavePath = ptsname(m_master);
    m_slaveKeep = open(m_slavePath.c_str(), O_RDWR | O_NOCTTY);
    termios tio{};
    tcgetattr(m_slaveKeep, &tio);
    cfmakeraw(&tio);
    tcsetattr(m_slaveKeep, TCSANOW, &tio);
    fcntl(m_master, F_SETFL, fcntl(m_master, F_GETFL) | O_NONBLOCK);
}

PtyPair::~PtyPair() {
    Hangup();
}

void PtyPair::Write(const std::vector<std::uint8_t>& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = write(m_master, bytes.data() + done, bytes.size() - done);
        if (n > 0)
            done += static_cast<std::size_t>(n);
        else
            usleep(1000);
    }
}

std::vector<std::uint8_t> PtyPair::ReadAvailable() {
    std::vector<std::uint8_t> out;
    std::uint8_t buffer[1024];
    ssize_t n;
    while ((n = read(m_master, buffer, sizeof buffer)) > 0)
        out.insert(out.end(), buffer, buffer + n);
    return out;
}

void PtyPair::Hangup() {
    if (m_slaveKeep >= 0) close(m_slaveKeep);
    if (m_master >= 0) close(m_master);
    m_slaveKeep = m_master = -1;
}

bool PtyPair::HoldExclusively() {
    return flock(m_slaveKeep, LOCK_EX | LOCK_NB) == 0 && ioctl(m_slaveKeep, TIOCEXCL) == 0;
}
