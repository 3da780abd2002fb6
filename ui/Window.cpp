#include "ui/Window.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QTimer>

#include "ui/Controls.h"

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

QString FromWindowsText(const QString& text) {
    QString normalized = text;
    return normalized.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

bool IsLabelled(Kind kind) {
    return kind == Kind::Edit || kind == Kind::ListView || kind == Kind::ComboList ||
           kind == Kind::ComboEdit || kind == Kind::ProgressBar || kind == Kind::Picture;
}

}  // namespace

struct Window::Timers {
    std::map<int, QTimer*> byId;
};

// --- data exchange ---

void DataExchange::Text(int id, QString& value) {
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

// --- window ---

Window::Window(const DialogTemplate& dialogTemplate)
    : m_template(dialogTemplate), m_timers(std::make_unique<Timers>()) {}

Window::~Window() { DestroyWindow(); }

QWidget* Window::CreateWindowFromTemplate(QWidget* window) {
    const DialogUnits units(window->font());
    window->resize(units.ToPixels(m_template.width, m_template.height));
    if (m_template.caption) window->setWindowTitle(QString::fromUtf8(m_template.caption));

    QButtonGroup* group = nullptr;
    int lastLabel = 0;
    bool lastWasRadio = false;
    for (const auto& c : m_template.controls) {
        QWidget* control = CreateControl(c, window, units);
        if (c.id != IDC_STATIC) m_controls[c.id] = control;
        if (c.style & kNumber) SetDigitsOnly(c.id);
        if (c.kind == Kind::Radio) {
            if (!lastWasRadio || (c.style & kGroup)) group = new QButtonGroup(window);
            group->addButton(static_cast<QAbstractButton*>(control));
        }
        lastWasRadio = c.kind == Kind::Radio;
        // A label names the control that follows it, as screen readers expect.
        if (c.kind == Kind::Static && c.id != IDC_STATIC) lastLabel = c.id;
        if (IsLabelled(c.kind) && lastLabel) {
            m_labelFor[lastLabel] = c.id;
            SetAccessibleName(control, QString::fromUtf8(FindControl(lastLabel).text));
        }
        if (c.kind != Kind::Static) lastLabel = 0;
    }
    m_widget = window;
    m_handle = NextHandle();
    Registry()[m_handle] = this;
    ConnectHandlers();
    return window;
}

const ControlTemplate& Window::FindControl(int id) const {
    for (const auto& c : m_template.controls)
        if (c.id == id) return c;
    static const ControlTemplate none{IDC_STATIC, Kind::Static, "", 0, 0, 0, 0};
    return none;
}

void Window::ConnectHandlers() {
    QWidget* owner = m_widget;
    for (const auto& [id, control] : m_controls) {
        const int controlId = id;
        // A click that reaches us after the window was destroyed goes nowhere.
        auto dispatch = [this, owner, controlId](const auto& handlers) {
            if (m_widget != owner) return;
            const auto h = handlers.find(controlId);
            if (h != handlers.end() && h->second) h->second();
        };
        if (auto* button = qobject_cast<QAbstractButton*>(control))
            QObject::connect(button, &QAbstractButton::clicked, owner,
                             [this, dispatch] { dispatch(m_clickHandlers); });
        if (auto* combo = qobject_cast<QComboBox*>(control))
            QObject::connect(combo, &QComboBox::activated, owner,
                             [this, dispatch] { dispatch(m_selChangeHandlers); });
        if (auto* edit = qobject_cast<QLineEdit*>(control))
            QObject::connect(edit, &QLineEdit::textChanged, owner,
                             [this, dispatch] { dispatch(m_changeHandlers); });
    }
}

void Window::DestroyWindow() {
    if (!m_widget) return;
    Registry().erase(m_handle);
    for (auto& [id, timer] : m_timers->byId) timer->stop();
    m_timers->byId.clear();
    QWidget* window = m_widget;
    m_widget = nullptr;
    m_handle = 0;
    m_controls.clear();
    m_labelFor.clear();
    // Later, so that a handler of one of its own controls may destroy the window.
    window->hide();
    window->deleteLater();
}

QWidget* Window::GetDlgItem(int id) const {
    const auto c = m_controls.find(id);
    return c == m_controls.end() ? nullptr : c->second;
}

void Window::SetDlgItemText(int id, const QString& text) {
    QWidget* w = GetDlgItem(id);
    if (!w) return;
    if (auto* label = qobject_cast<QLabel*>(w)) label->setText(text);
    else if (auto* edit = qobject_cast<QLineEdit*>(w)) EditRules::SetText(edit, text);
    else if (auto* multi = qobject_cast<QPlainTextEdit*>(w)) multi->setPlainText(FromWindowsText(text));
    else if (auto* button = qobject_cast<QAbstractButton*>(w)) button->setText(text);
    else if (auto* box = qobject_cast<QGroupBox*>(w)) box->setTitle(text);
    else if (auto* combo = qobject_cast<QComboBox*>(w)) combo->setEditText(text);
    if (!qobject_cast<QLineEdit*>(w) && !qobject_cast<QPlainTextEdit*>(w))
        SetAccessibleName(w, text);
    const auto named = m_labelFor.find(id);
    if (named != m_labelFor.end())
        if (QWidget* control = GetDlgItem(named->second)) SetAccessibleName(control, text);
}

QString Window::GetDlgItemText(int id) const {
    QWidget* w = GetDlgItem(id);
    if (auto* label = qobject_cast<QLabel*>(w)) return label->text();
    if (auto* edit = qobject_cast<QLineEdit*>(w)) return edit->text();
    if (auto* multi = qobject_cast<QPlainTextEdit*>(w)) return multi->toPlainText();
    if (auto* button = qobject_cast<QAbstractButton*>(w)) return button->text();
    if (auto* box = qobject_cast<QGroupBox*>(w)) return box->title();
    if (auto* combo = qobject_cast<QComboBox*>(w)) return combo->currentText();
    return {};
}

void Window::CheckDlgButton(int id, bool checked) {
    auto* button = qobject_cast<QAbstractButton*>(GetDlgItem(id));
    if (!button) return;
    if (!button->isCheckable()) button->setCheckable(true);
    QButtonGroup* group = button->group();
    // An exclusive group cannot be left without a checked button unless told to.
    const bool exclusive = group && group->exclusive();
    if (exclusive && !checked) group->setExclusive(false);
    button->setChecked(checked);
    if (exclusive && !checked) group->setExclusive(true);
}

bool Window::IsDlgButtonChecked(int id) const {
    auto* button = qobject_cast<QAbstractButton*>(GetDlgItem(id));
    return button && button->isChecked();
}

void Window::ShowItem(int id, bool show) {
    if (QWidget* w = GetDlgItem(id)) w->setVisible(show);
}

void Window::EnableItem(int id, bool enable) {
    if (QWidget* w = GetDlgItem(id)) w->setEnabled(enable);
}

bool Window::IsItemVisible(int id) const {
    QWidget* w = GetDlgItem(id);
    return w && !w->isHidden();
}

bool Window::IsItemEnabled(int id) const {
    QWidget* w = GetDlgItem(id);
    return w && w->isEnabled();
}

void Window::LimitText(int id, int maxChars) {
    if (auto* edit = qobject_cast<QLineEdit*>(GetDlgItem(id))) EditRules::Of(edit)->SetMaxLength(maxChars);
}

void Window::SetDigitsOnly(int id) {
    if (auto* edit = qobject_cast<QLineEdit*>(GetDlgItem(id))) EditRules::Of(edit)->SetDigitsOnly();
}

void Window::SetMasked(int id, bool masked) {
    if (auto* edit = qobject_cast<QLineEdit*>(GetDlgItem(id)))
        edit->setEchoMode(masked ? QLineEdit::Password : QLineEdit::Normal);
}

ListView* Window::GetListView(int id) const { return dynamic_cast<ListView*>(GetDlgItem(id)); }

QComboBox* Window::GetComboBox(int id) const { return qobject_cast<QComboBox*>(GetDlgItem(id)); }

QProgressBar* Window::GetProgressBar(int id) const {
    return qobject_cast<QProgressBar*>(GetDlgItem(id));
}

void Window::SetPicture(int id, const QString& resource) {
    if (auto* picture = dynamic_cast<PictureLabel*>(GetDlgItem(id))) picture->SetResource(resource);
}

void Window::SetWindowText(const QString& caption) {
    if (m_widget) m_widget->setWindowTitle(caption);
}

void Window::ReplaceSel(int id, const QString& text) {
    auto* multi = qobject_cast<QPlainTextEdit*>(GetDlgItem(id));
    if (!multi) return;
    QTextCursor caret = multi->textCursor();
    caret.insertText(FromWindowsText(text));
    multi->setTextCursor(caret);
}

QString Window::GetWindowText() const { return m_widget ? m_widget->windowTitle() : QString(); }

void Window::SetTimer(int id, int ms) {
    if (!m_widget) return;
    QTimer*& timer = m_timers->byId[id];
    if (!timer) {
        timer = new QTimer(m_widget);
        QObject::connect(timer, &QTimer::timeout, m_widget, [this, id] { OnTimer(id); });
    }
    timer->start(ms);
}

void Window::KillTimer(int id) {
    const auto t = m_timers->byId.find(id);
    if (t != m_timers->byId.end()) t->second->stop();
}

void Window::OnTimer(int id) { KillTimer(id); }

bool Window::UpdateData(bool saveAndValidate) {
    if (!m_widget) return false;
    DataExchange dx(*this, saveAndValidate);
    DoDataExchange(dx);
    return true;
}

std::intptr_t Window::OnMessage(unsigned, std::intptr_t, std::intptr_t) { return 0; }

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
