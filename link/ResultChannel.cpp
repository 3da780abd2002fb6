#include "link/ResultChannel.h"

void ResultChannel::Send(WindowHandle window, int code, std::intptr_t value) {
    if (window == 0) return;
    std::unique_lock lock(m_mutex);
    if (m_released) return;
    m_answer = {window, code, value};
    m_waiting = true;
    lock.unlock();
    m_wakeup();
    lock.lock();
    m_done.wait(lock, [&] { return (!m_waiting && !m_inHand) || m_released; });
    m_waiting = false;
}

void ResultChannel::Pump(const Handler& handler) {
    std::unique_lock lock(m_mutex);
    if (!m_waiting || m_inHand || m_released) return;
    const Answer answer = m_answer;
    m_inHand = true;
    lock.unlock();
    handler(answer.window, answer.code, answer.value);
    lock.lock();
    m_inHand = false;
    m_waiting = false;
    m_done.notify_all();
}

void ResultChannel::Release() {
    std::lock_guard lock(m_mutex);
    m_released = true;
    m_done.notify_all();
}
