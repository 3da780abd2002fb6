// Carries WM_LINK_RESULT from the worker to the UI thread with the semantics of a synchronous
// window message: the worker waits until the UI thread has handled the answer. Release lets a
// waiting worker go (the UI is shutting down) and drops every later answer.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>

#include "link/LinkMessages.h"

class ResultChannel {
  public:
    using Handler = std::function<void(WindowHandle window, int code, std::intptr_t value)>;
    // Asks the UI thread to call Pump soon. Called on the worker thread.
    using Wakeup = std::function<void()>;

    explicit ResultChannel(Wakeup wakeup) : m_wakeup(std::move(wakeup)) {}

    // Worker thread: delivers one answer and returns once it has been handled or released.
    // An answer for window 0 goes nowhere.
    void Send(WindowHandle window, int code, std::intptr_t value);

    // UI thread: hands the waiting answer, if any, to `handler`, then lets the worker go on.
    void Pump(const Handler& handler);

    void Release();

  private:
    struct Answer {
        WindowHandle window = 0;
        int code = 0;
        std::intptr_t value = 0;
    };

    Wakeup m_wakeup;
    std::mutex m_mutex;
    std::condition_variable m_done;
    Answer m_answer;
    bool m_waiting = false;  // an answer is waiting to be picked up
    bool m_inHand = false;   // the UI thread is handling it
    bool m_released = false;
};
