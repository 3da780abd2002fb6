// Aborting a blocking read or write that another thread is in, or is just about to start,
// where the platform's cancel only reaches a call already in progress (CancelSynchronousIo):
// a cancel that lands between the caller's abort check and the start of its call is lost,
// so Abort repeats it until the caller has left the call.
#pragma once

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>

class IoAbort {
  public:
    // Around each blocking call, on the calling thread. Begin is false once aborted: the call
    // is not to be made (and End not called).
    bool Begin();
    void End();

    // Any thread. Marks the line aborted, then runs `cancel` every kRetryMs until no call is
    // in progress, kGiveUpMs at most (a call that no cancel reaches ends at its own time-out).
    void Abort(const std::function<void()>& cancel);
    void Clear();
    bool IsAborted() const { return m_aborted; }

    static constexpr int kRetryMs = 1;
    static constexpr int kGiveUpMs = 500;

  private:
    std::mutex m_mutex;
    std::condition_variable m_left;
    bool m_inCall = false;
    std::atomic<bool> m_aborted{false};
};
