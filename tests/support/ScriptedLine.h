// An in-memory serial line for tests of command logic: it hands out scripted device bytes at
// once (an empty queue reads as a time-out without the wait) and records what was written.
#pragma once

#include <atomic>
#include <cstdint>
#include <deque>
#include <functional>
#include <vector>

#include "link/SerialLine.h"

// The bytes of one frame around `payload`.
std::vector<std::uint8_t> FrameBytes(const std::vector<std::uint8_t>& payload);

class ScriptedLine : public SerialLine {
  public:
    // Called with every frame the tool writes; may queue the device's answer.
    std::function<void(const std::vector<std::uint8_t>& written)> onWrite;

    void Queue(const std::vector<std::uint8_t>& bytes) {
        incoming.insert(incoming.end(), bytes.begin(), bytes.end());
    }
    void QueueFrame(const std::vector<std::uint8_t>& payload);

    std::vector<int> FurtherPorts() const override { return furtherPorts; }
    bool Open(int comNumber) override;
    void Close() override { open = false; }
    bool IsOpen() const override { return open; }
    void Configure() override {}
    void SetTimeouts(const CommTimeouts& t) override { timeouts.push_back(t); }
    int Read(std::uint8_t* buffer, std::size_t count) override;
    bool Write(const std::uint8_t* buffer, std::size_t count) override;
    void Abort() override { aborted = true; }
    void ClearAbort() override { aborted = false; }

    std::deque<std::uint8_t> incoming;
    std::vector<std::vector<std::uint8_t>> writes;
    std::vector<CommTimeouts> timeouts;
    std::vector<int> openAttempts;
    int presentPort = 0;            // the one COM number that opens; 0 = none
    std::vector<int> furtherPorts;  // what the system lists above COM19
    bool failWrites = false;
    bool hangUpWhenEmpty = false;  // reads fail once the scripted bytes are used up
    std::size_t readCalls = 0;
    bool open = false;
    std::atomic<bool> aborted{false};
};
