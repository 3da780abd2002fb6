// A raw pseudo-terminal pair: the test plays the device on the master side, byte by byte.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class PtyPair {
  public:
    PtyPair();
    ~PtyPair();
    bool ok() const { return m_master >= 0; }
    const std::string& slavePath() const { return m_slavePath; }
    // The line side, held open by the pair; its settings are the line's settings.
    int slaveFd() const { return m_slaveKeep; }
    void Write(const std::vector<std::uint8_t>& bytes);
    // Everything the tool wrote so far.
    std::vector<std::uint8_t> ReadAvailable();
    // The device hangs up: the tool's reads fail from now on.
    void Hangup();
    // Holds the port as another program would: its exclusive lock and TIOCEXCL.
    bool HoldExclusively();

  private:
    int m_master = -1;
    int m_slaveKeep = -1;
    std::string m_slavePath;
};
