// A window built from a dialog template: controls found by numeric id, handlers by control
// id (the message map), window timers, data exchange with members, and messages sent to it by
// handle. The object can outlive its window: the window is made by CreateWindowFromTemplate
// and destroyed by DestroyWindow, and every handle to it dies with it.
#pragma once

#include <QString>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>

#include "ui/Template.h"

class QComboBox;
class QProgressBar;
class QWidget;

namespace ui {

using Hwnd = std::uintptr_t;  // 0 = no window

class ListView;
class Window;

// Moves member data to the controls (saving = false) or back (saving = true).
class DataExchange {
public:
    DataExchange(Window& window, bool saving) : m_window(window), m_saving(saving) {}
    bool saving() const { return m_saving; }
    void Text(int id, QString& value);
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

    QWidget* GetSafeHwnd() const { return m_widget; }
    Hwnd handle() const { return m_handle; }
    const DialogTemplate& dialogTemplate() const { return m_template; }

    QWidget* GetDlgItem(int id) const;
    void SetDlgItemText(int id, const QString& text);
    QString GetDlgItemText(int id) const;
    void CheckDlgButton(int id, bool checked);
    bool IsDlgButtonChecked(int id) const;
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
    QComboBox* GetComboBox(int id) const;
    QProgressBar* GetProgressBar(int id) const;
    // Shows a bitmap or icon resource ("icon/197") in a picture control.
    void SetPicture(int id, const QString& resource);
    void SetWindowText(const QString& caption);
    QString GetWindowText() const;
    // Inserts text at the caret of a multi-line edit ("\r\n" breaks the line).
    void ReplaceSel(int id, const QString& text);

    // Window timers: each fires every `ms` until killed, and dies with the window.
    void SetTimer(int id, int ms);
    void KillTimer(int id);

    // DoDataExchange in one direction; true when it went through.
    bool UpdateData(bool saveAndValidate = true);

    // Handles an application message sent to this window's handle.
    virtual std::intptr_t OnMessage(unsigned message, std::intptr_t wParam, std::intptr_t lParam);

protected:
    virtual void DoDataExchange(DataExchange&) {}
    virtual void OnTimer(int id);

    // The message map: handlers by control id, usually registered in the constructor.
    void OnClicked(int id, std::function<void()> handler);
    void OnSelChange(int id, std::function<void()> handler);
    // An edit's text changed, typed or put in by the program.
    void OnChange(int id, std::function<void()> handler);

    QWidget* CreateWindowFromTemplate(QWidget* parent);
    void DestroyWindow();

private:
    void ConnectHandlers();
    const ControlTemplate& FindControl(int id) const;

    const DialogTemplate& m_template;
    QWidget* m_widget = nullptr;
    Hwnd m_handle = 0;
    std::map<int, QWidget*> m_controls;
    std::map<int, int> m_labelFor;  // label id -> id of the control it names
    std::map<int, std::function<void()>> m_clickHandlers;
    std::map<int, std::function<void()>> m_selChangeHandlers;
    std::map<int, std::function<void()>> m_changeHandlers;
    struct Timers;
    std::unique_ptr<Timers> m_timers;
};

// Sends an application message to the window with that handle: its answer, or 0 when the
// window no longer exists (the message is then dropped).
std::intptr_t SendMessage(Hwnd window, unsigned message, std::intptr_t wParam,
                          std::intptr_t lParam);
// The window object behind a handle, or nullptr.
Window* FromHandle(Hwnd window);

}  // namespace ui
