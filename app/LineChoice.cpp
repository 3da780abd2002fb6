#include "app/LineChoice.h"

void LineChoice::Choose(SerialLine& line) {
    std::lock_guard lock(m_mutex);
    m_chosen = &line;
    m_current->Abort();
}

void LineChoice::Rescan() {
    {
        std::lock_guard lock(m_mutex);
        if (m_chosen) {
            m_current->Close();
            m_current->ClearAbort();
            m_current = m_chosen;
            m_chosen = nullptr;
        }
    }
    m_current->Rescan();
}

bool LineChoice::Open(int comNumber) {
    {
        std::lock_guard lock(m_mutex);
        if (m_chosen) return false;
    }
    return m_current->Open(comNumber);
}

void LineChoice::Abort() {
    std::lock_guard lock(m_mutex);
    m_current->Abort();
}

void LineChoice::ClearAbort() {
    std::lock_guard lock(m_mutex);
    m_current->ClearAbort();
}
