// A window built from a dialog template: controls found by numeric id, handlers by control
// id (the message map), window timers, data exchange with members, and messages sent to it by
// handle. The object can outlive its window: a backend makes the window when it is first
// shown and DestroyWindow destroys it, and every handle to it dies with it.
//
// Texts are in the process's code page, as the device's texts and the language files are; the
// backend converts at its edge.
//
// ui/Window.cpp defines DataExchange, the message map (OnClicked, OnSelChange, OnChange and the
// Notify calls that run it), UpdateData, OnTimer, OnMessage and the handle registry
// (AttachHandle, DetachHandle, SendMessage, FromHandle). Each backend (ui/qt, ui/win32) owes the
// constructor and destructor, Impl, DestroyWindow and every control call from HasItem to
// KillTimer, in its Window.cpp.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "ui/Template.h"

namespace ui {

using Hwnd = std::uintptr_t;  // 0 = no window

class ListView;
class Window;

// Moves member data to the controls (saving = false) or back (saving = true).
class DataExchange {
  public:
    DataExchange(Window& window, bool saving) : m_window(window), m_saving(saving) {}
    bool saving() const { return m_saving; }
    void Text(int id, std::string& value);
    void Check(int id, int& value);

  private:
    Window& m_window;
    bool m_saving;
};

class Window {
  public:
    explicit Window(const DialogTemplate& dialogTemplate);
    virtual ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    // The window's handle, 0 while it has no window.
    Hwnd GetSafeHwnd() const { return m_handle; }
    Hwnd handle() const { return m_handle; }
    const DialogTemplate& dialogTemplate() const { return m_template; }

    bool HasItem(int id) const;
    void SetDlgItemText(int id, std::string_view text);
    std::string GetDlgItemText(int id) const;
    void CheckDlgButton(int id, bool checked);
    bool IsDlgButtonChecked(int id) const;
    // Presses a button as a click does: its handler runs.
    void ClickDlgButton(int id);
    void ShowItem(int id, bool show);
    void EnableItem(int id, bool enable);
    bool IsItemVisible(int id) const;
    bool IsItemEnabled(int id) const;
    // At most `maxChars` characters can be typed into the edit.
    void LimitText(int id, int maxChars);
    // Only digits can be typed into the edit.
    void SetDigitsOnly(int id);
    // The edit shows '*' for each character, or the characters themselves.
    void SetMasked(int id, bool masked);
    ListView* GetListView(int id) const;
    // Combo boxes: the index of the added item; -1 selects nothing; -1 when nothing is.
    int AddComboItem(int id, std::string_view text);
    int GetComboCount(int id) const;
    std::string GetComboItemText(int id, int index) const;
    void SetComboSelection(int id, int index);
    int GetComboSelection(int id) const;
    void SetProgressRange(int id, int low, int high);
    void SetProgressPos(int id, int position);
    int GetProgressPos(int id) const;
    // Shows a bitmap or icon resource ("icon/197") in a picture control.
    void SetPicture(int id, std::string_view resource);
    void SetWindowText(std::string_view caption);
    std::string GetWindowText() const;
    // Inserts text at the caret of a multi-line edit ("\r\n" breaks the line).
    void ReplaceSel(int id, std::string_view text);

    // Window timers: each fires every `ms` until killed, and dies with the window.
    void SetTimer(int id, int ms);
    void KillTimer(int id);

    // DoDataExchange in one direction; true when it went through.
    bool UpdateData(bool saveAndValidate = true);

    // Handles an application message sent to this window's handle.
    virtual std::intptr_t OnMessage(unsigned message, std::intptr_t wParam, std::intptr_t lParam);

    // The backend's side of the window: what it made for it. Only the backend knows it.
    struct Impl;
    Impl& impl() const { return *m_impl; }

  protected:
    virtual void DoDataExchange(DataExchange&) {}
    virtual void OnTimer(int id);

    // The message map: handlers by control id, usually registered in the constructor.
    void OnClicked(int id, std::function<void()> handler);
    void OnSelChange(int id, std::function<void()> handler);
    // An edit's text changed, typed or put in by the program.
    void OnChange(int id, std::function<void()> handler);

    void DestroyWindow();

  private:
    // The backend reports its controls' notifications here.
    void NotifyClicked(int id);
    void NotifySelChange(int id);
    void NotifyChanged(int id);
    void AttachHandle();
    void DetachHandle();

    const DialogTemplate& m_template;
    std::unique_ptr<Impl> m_impl;
    Hwnd m_handle = 0;
    std::map<int, std::function<void()>> m_clickHandlers;
    std::map<int, std::function<void()>> m_selChangeHandlers;
    std::map<int, std::function<void()>> m_changeHandlers;
};

// Sends an application message to the window with that handle: its answer, or 0 when the
// window no longer exists (the message is then dropped).
std::intptr_t SendMessage(Hwnd window, unsigned message, std::intptr_t wParam,
                          std::intptr_t lParam);
// The window object behind a handle, or nullptr.
Window* FromHandle(Hwnd window);

}  // namespace ui
