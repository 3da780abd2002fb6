#include "link/IoAbort.h"

#include <chrono>

bool IoAbort::Begin() {
    std::lock_guard lock(m_mutex);
    if (m_aborted) return false;
    m_inCall = true;
    return true;
}

void IoAbort::End() {
    std::lock_guard lock(m_mutex);
    m_inCall = false;
    m_left.notify_all();
}

void IoAbort::Abort(const std::function<void()>& cancel) {
    std::unique_lock lock(m_mutex);
    m_aborted = true;
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::milliseconds(kGiveUpMs);
    while (m_inCall && std::chrono::steady_clock::now() < giveUp) {
        cancel();
        m_left.wait_for(lock, std::chrono::milliseconds(kRetryMs), [&] { return !m_inCall; });
    }
}

void IoAbort::Clear() {
    m_aborted = false;
}
