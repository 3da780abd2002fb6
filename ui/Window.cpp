// What every backend's windows share: handles, the message map, data exchange.
#include "ui/Window.h"

namespace ui {

namespace {

// Handles of live windows. Only the UI thread touches it.
std::map<Hwnd, Window*>& Registry() {
    static std::map<Hwnd, Window*> windows;
    return windows;
}

Hwnd NextHandle() {
    static Hwnd next = 0x10000;
    return next += 4;
}

void Dispatch(const std::map<int, std::function<void()>>& handlers, int id) {
    const auto h = handlers.find(id);
    if (h != handlers.end() && h->second) h->second();
}

}  // namespace

void DataExchange::Text(int id, std::string& value) {
    if (m_saving)
        value = m_window.GetDlgItemText(id);
    else
        m_window.SetDlgItemText(id, value);
}

void DataExchange::Check(int id, int& value) {
    if (m_saving)
        value = m_window.IsDlgButtonChecked(id) ? 1 : 0;
    else
        m_window.CheckDlgButton(id, value != 0);
}

void Window::AttachHandle() {
    m_handle = NextHandle();
    Registry()[m_handle] = this;
}

void Window::DetachHandle() {
    Registry().erase(m_handle);
    m_handle = 0;
}

void Window::NotifyClicked(int id) {
    Dispatch(m_clickHandlers, id);
}

void Window::NotifySelChange(int id) {
    Dispatch(m_selChangeHandlers, id);
}

void Window::NotifyChanged(int id) {
    Dispatch(m_changeHandlers, id);
}

void Window::OnTimer(int id) {
    KillTimer(id);
}

bool Window::UpdateData(bool saveAndValidate) {
    if (!m_handle) return false;
    DataExchange dx(*this, saveAndValidate);
    DoDataExchange(dx);
    return true;
}

std::intptr_t Window::OnMessage(unsigned, std::intptr_t, std::intptr_t) {
    return 0;
}

void Window::OnClicked(int id, std::function<void()> handler) {
    m_clickHandlers[id] = std::move(handler);
}

void Window::OnSelChange(int id, std::function<void()> handler) {
    m_selChangeHandlers[id] = std::move(handler);
}

void Window::OnChange(int id, std::function<void()> handler) {
    m_changeHandlers[id] = std::move(handler);
}

std::intptr_t SendMessage(Hwnd window, unsigned message, std::intptr_t wParam,
                          std::intptr_t lParam) {
    Window* target = FromHandle(window);
    return target ? target->OnMessage(message, wParam, lParam) : 0;
}

Window* FromHandle(Hwnd window) {
    const auto w = Registry().find(window);
    return w == Registry().end() ? nullptr : w->second;
}

}  // namespace ui
