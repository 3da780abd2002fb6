// An abort that lands just before a blocking call starts, where the platform's cancel only
// reaches a call in progress (the Windows line's case), still ends that call.
#include <gtest/gtest.h>

#include <condition_variable>
#include <future>
#include <mutex>

#include "link/IoAbort.h"
#include "tests/support/ScriptedLine.h"

using namespace std::chrono_literals;

namespace {

// A silent line aborted as the Windows line is: a cancel ends only a read in progress. Its
// read stalls between the abort check and the call until the first cancel has come and gone.
class CancelOnlyInCallLine : public ScriptedLine {
  public:
    int Read(std::uint8_t*, std::size_t) override {
        if (!m_abort.Begin()) return -1;
        std::unique_lock lock(m_mutex);
        ++m_calls;
        m_cv.notify_all();
        m_cv.wait_for(lock, kCallMs, [&] { return m_cancels > 0; });
        m_inCall = true;
        const bool cancelled = m_cv.wait_for(lock, kCallMs, [&] { return m_cancelled; });
        m_inCall = m_cancelled = false;
        lock.unlock();
        m_abort.End();
        return cancelled || m_abort.IsAborted() ? -1 : 0;
    }
    void Abort() override {
        m_abort.Abort([this] {
            std::lock_guard lock(m_mutex);
            ++m_cancels;
            if (m_inCall) m_cancelled = true;
            m_cv.notify_all();
        });
    }
    void ClearAbort() override { m_abort.Clear(); }

    // Waits until a read has passed its abort check.
    bool WaitForCall() {
        std::unique_lock lock(m_mutex);
        return m_cv.wait_for(lock, 5s, [&] { return m_calls > 0; });
    }
    int calls() {
        std::lock_guard lock(m_mutex);
        return m_calls;
    }
    int cancels() {
        std::lock_guard lock(m_mutex);
        return m_cancels;
    }

    // Far beyond the test's own bound: a read that only its time-out ends fails the test.
    static constexpr auto kCallMs = 10s;

  private:
    IoAbort m_abort;
    std::mutex m_mutex;
    std::condition_variable m_cv;
    int m_calls = 0;
    int m_cancels = 0;
    bool m_inCall = false;
    bool m_cancelled = false;
};

}  // namespace

TEST(IoAbort, ACancelThatMissesTheCallIsRepeatedUntilTheCallHasEnded) {
    CancelOnlyInCallLine line;
    std::uint8_t byte = 0;
    auto read = std::async(std::launch::async, [&] { return line.Read(&byte, 1); });
    ASSERT_TRUE(line.WaitForCall());
    line.Abort();
    ASSERT_EQ(read.wait_for(5s), std::future_status::ready);
    EXPECT_EQ(read.get(), -1);
    const int cancels = line.cancels();
    EXPECT_GE(cancels, 2);  // the first was lost
    // Until cleared, no further call is made at all.
    EXPECT_EQ(line.Read(&byte, 1), -1);
    EXPECT_EQ(line.calls(), 1);
    line.Abort();  // with no call in progress there is nothing to cancel
    EXPECT_EQ(line.cancels(), cancels);
}
