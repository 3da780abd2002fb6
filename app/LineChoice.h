// The line the link worker talks on: the serial cable, or a unit that lives in the program.
// The pages never see which; the sheet chooses.
#pragma once

#include <mutex>

#include "link/SerialLine.h"

class LineChoice : public SerialLine {
  public:
    explicit LineChoice(SerialLine& cable) : m_current(&cable) {}

    // From the next search on, the worker talks on `line`. A search on the old line still
    // under way is cut short and opens no further port. Any thread.
    void Choose(SerialLine& line);

    void Rescan() override;
    std::vector<int> FurtherPorts() const override { return m_current->FurtherPorts(); }
    bool Open(int comNumber) override;
    OpenFailure LastOpenFailure() const override { return m_current->LastOpenFailure(); }
    void Close() override { m_current->Close(); }
    bool IsOpen() const override { return m_current->IsOpen(); }
    void Configure() override { m_current->Configure(); }
    void SetTimeouts(const CommTimeouts& timeouts) override { m_current->SetTimeouts(timeouts); }
    int Read(std::uint8_t* buffer, std::size_t count) override {
        return m_current->Read(buffer, count);
    }
    bool Write(const std::uint8_t* buffer, std::size_t count) override {
        return m_current->Write(buffer, count);
    }
    void Abort() override;
    void ClearAbort() override;

  private:
    // Only the worker's thread changes m_current, under the lock; it reads it without.
    mutable std::mutex m_mutex;
    SerialLine* m_current;
    SerialLine* m_chosen = nullptr;
};
