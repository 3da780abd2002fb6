// A real serial line, except that chosen ports refuse to open with the failure given, as the
// system refuses a user without the rights (tests run as root, where it never does).
#pragma once

#include <memory>
#include <utility>
#include <vector>

#include "link/SerialLine.h"

class RefusingLine : public SerialLine {
  public:
    RefusingLine(std::unique_ptr<SerialLine> real, std::vector<OpenFailure> refusals)
        : m_real(std::move(real)), m_refusals(std::move(refusals)) {}

    void Rescan() override { m_real->Rescan(); }
    std::vector<int> FurtherPorts() const override { return m_real->FurtherPorts(); }
    bool Open(int comNumber) override {
        m_refused = nullptr;
        for (const OpenFailure& refusal : m_refusals)
            if (refusal.comNumber == comNumber) m_refused = &refusal;
        if (!m_refused) return m_real->Open(comNumber);
        m_real->Close();
        return false;
    }
    OpenFailure LastOpenFailure() const override {
        return m_refused ? *m_refused : m_real->LastOpenFailure();
    }
    void Close() override { m_real->Close(); }
    bool IsOpen() const override { return m_real->IsOpen(); }
    void Configure() override { m_real->Configure(); }
    void SetTimeouts(const CommTimeouts& timeouts) override { m_real->SetTimeouts(timeouts); }
    int Read(std::uint8_t* buffer, std::size_t count) override {
        return m_real->Read(buffer, count);
    }
    bool Write(const std::uint8_t* buffer, std::size_t count) override {
        return m_real->Write(buffer, count);
    }
    void Abort() override { m_real->Abort(); }
    void ClearAbort() override { m_real->ClearAbort(); }

  private:
    std::unique_ptr<SerialLine> m_real;
    std::vector<OpenFailure> m_refusals;
    const OpenFailure* m_refused = nullptr;
};
