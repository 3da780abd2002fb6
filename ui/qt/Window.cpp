#include <QAbstractButton>
#include <QButtonGroup>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QTimer>

#include "ui/qt/Ansi.h"
#include "ui/qt/Controls.h"
#include "ui/qt/WindowImpl.h"

namespace ui {

namespace {

QString FromWindowsText(std::string_view text) {
    QString normalized = DecodeAnsi(text);
    return normalized.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

const ControlTemplate& FindControl(const DialogTemplate& t, int id) {
    for (const auto& c : t.controls)
        if (c.id == id) return c;
    static const ControlTemplate none{IDC_STATIC, Kind::Static, "", 0, 0, 0, 0};
    return none;
}

}  // namespace

QWidget* Window::Impl::Control(int id) const {
    const auto c = controls.find(id);
    return c == controls.end() ? nullptr : c->second;
}

QWidget* WidgetOf(const Window& window) {
    return window.impl().widget;
}

QWidget* WidgetOf(Hwnd handle) {
    const Window* window = FromHandle(handle);
    return window ? WidgetOf(*window) : nullptr;
}

Window::Window(const DialogTemplate& dialogTemplate)
    : m_template(dialogTemplate), m_impl(std::make_unique<Impl>()) {}

Window::~Window() {
    DestroyWindow();
}

void Window::Impl::Create(Window& w, QWidget* window) {
    Impl& impl = w.impl();
    const DialogTemplate& t = w.m_template;
    const DialogUnits units(window->font());
    window->resize(units.ToPixels(t.width, t.height));
    if (t.caption) window->setWindowTitle(QString::fromUtf8(t.caption));

    const TemplateLinks links = LinksOf(t);
    std::map<int, QButtonGroup*> groups;
    for (const auto& c : t.controls) {
        QWidget* control = CreateControl(c, window, units);
        if (c.id != IDC_STATIC) impl.controls[c.id] = control;
        if (const auto first = links.groupOf.find(c.id); first != links.groupOf.end()) {
            QButtonGroup*& group = groups[first->second];
            if (!group) group = new QButtonGroup(window);
            group->addButton(static_cast<QAbstractButton*>(control));
        }
        if (const auto label = links.labelOf.find(c.id); label != links.labelOf.end()) {
            impl.labelFor[label->second] = c.id;
            SetAccessibleName(control, QString::fromUtf8(FindControl(t, label->second).text));
        }
    }
    impl.widget = window;
    w.AttachHandle();
    for (const auto& c : t.controls)
        if (c.style & kNumber) w.SetDigitsOnly(c.id);

    // A click that reaches us after the window was destroyed goes nowhere.
    for (const auto& [id, control] : impl.controls) {
        const int controlId = id;
        Window* target = &w;
        auto alive = [target, window] { return target->impl().widget == window; };
        if (auto* button = qobject_cast<QAbstractButton*>(control))
            QObject::connect(button, &QAbstractButton::clicked, window, [=] {
                if (alive()) target->NotifyClicked(controlId);
            });
        if (auto* combo = qobject_cast<QComboBox*>(control))
            QObject::connect(combo, &QComboBox::activated, window, [=] {
                if (alive()) target->NotifySelChange(controlId);
            });
        if (auto* edit = qobject_cast<QLineEdit*>(control))
            QObject::connect(edit, &QLineEdit::textChanged, window, [=] {
                if (alive()) target->NotifyChanged(controlId);
            });
    }
}

void Window::DestroyWindow() {
    if (!m_impl->widget) return;
    DetachHandle();
    for (auto& [id, timer] : m_impl->timers) timer->stop();
    m_impl->timers.clear();
    QWidget* window = m_impl->widget;
    m_impl->widget = nullptr;
    m_impl->controls.clear();
    m_impl->labelFor.clear();
    // Later, so that a handler of one of its own controls may destroy the window.
    window->hide();
    window->deleteLater();
}

bool Window::HasItem(int id) const {
    return m_impl->Control(id) != nullptr;
}

void Window::SetDlgItemText(int id, std::string_view bytes) {
    QWidget* w = m_impl->Control(id);
    if (!w) return;
    const QString text = DecodeAnsi(bytes);
    if (auto* label = qobject_cast<QLabel*>(w))
        label->setText(text);
    else if (auto* edit = qobject_cast<QLineEdit*>(w))
        EditRules::SetText(edit, text);
    else if (auto* multi = qobject_cast<QPlainTextEdit*>(w))
        multi->setPlainText(FromWindowsText(bytes));
    else if (auto* button = qobject_cast<QAbstractButton*>(w))
        button->setText(text);
    else if (auto* box = qobject_cast<QGroupBox*>(w))
        box->setTitle(text);
    else if (auto* combo = qobject_cast<QComboBox*>(w))
        combo->setEditText(text);
    if (!qobject_cast<QLineEdit*>(w) && !qobject_cast<QPlainTextEdit*>(w))
        SetAccessibleName(w, text);
    const auto named = m_impl->labelFor.find(id);
    if (named != m_impl->labelFor.end())
        if (QWidget* control = m_impl->Control(named->second)) SetAccessibleName(control, text);
}

std::string Window::GetDlgItemText(int id) const {
    QWidget* w = m_impl->Control(id);
    if (auto* label = qobject_cast<QLabel*>(w)) return EncodeAnsi(label->text());
    if (auto* edit = qobject_cast<QLineEdit*>(w)) return EncodeAnsi(edit->text());
    if (auto* multi = qobject_cast<QPlainTextEdit*>(w)) return EncodeAnsi(multi->toPlainText());
    if (auto* button = qobject_cast<QAbstractButton*>(w)) return EncodeAnsi(button->text());
    if (auto* box = qobject_cast<QGroupBox*>(w)) return EncodeAnsi(box->title());
    if (auto* combo = qobject_cast<QComboBox*>(w)) return EncodeAnsi(combo->currentText());
    return {};
}

void Window::CheckDlgButton(int id, bool checked) {
    auto* button = qobject_cast<QAbstractButton*>(m_impl->Control(id));
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
    auto* button = qobject_cast<QAbstractButton*>(m_impl->Control(id));
    return button && button->isChecked();
}

void Window::ClickDlgButton(int id) {
    if (auto* button = qobject_cast<QAbstractButton*>(m_impl->Control(id))) button->click();
}

void Window::ShowItem(int id, bool show) {
    if (QWidget* w = m_impl->Control(id)) w->setVisible(show);
}

void Window::EnableItem(int id, bool enable) {
    if (QWidget* w = m_impl->Control(id)) w->setEnabled(enable);
}

bool Window::IsItemVisible(int id) const {
    QWidget* w = m_impl->Control(id);
    return w && !w->isHidden();
}

bool Window::IsItemEnabled(int id) const {
    QWidget* w = m_impl->Control(id);
    return w && w->isEnabled();
}

void Window::LimitText(int id, int maxChars) {
    if (auto* edit = qobject_cast<QLineEdit*>(m_impl->Control(id)))
        EditRules::Of(edit)->SetMaxLength(maxChars);
}

void Window::SetDigitsOnly(int id) {
    if (auto* edit = qobject_cast<QLineEdit*>(m_impl->Control(id)))
        EditRules::Of(edit)->SetDigitsOnly();
}

void Window::SetMasked(int id, bool masked) {
    if (auto* edit = qobject_cast<QLineEdit*>(m_impl->Control(id)))
        edit->setEchoMode(masked ? QLineEdit::Password : QLineEdit::Normal);
}

ListView* Window::GetListView(int id) const {
    auto* control = dynamic_cast<ListViewControl*>(m_impl->Control(id));
    return control ? &control->list() : nullptr;
}

namespace {

QComboBox* Combo(const Window::Impl& impl, int id) {
    return qobject_cast<QComboBox*>(impl.Control(id));
}
QProgressBar* Progress(const Window::Impl& impl, int id) {
    return qobject_cast<QProgressBar*>(impl.Control(id));
}

}  // namespace

int Window::AddComboItem(int id, std::string_view text) {
    QComboBox* combo = Combo(*m_impl, id);
    if (!combo) return -1;
    combo->addItem(DecodeAnsi(text));
    return combo->count() - 1;
}

int Window::GetComboCount(int id) const {
    const QComboBox* combo = Combo(*m_impl, id);
    return combo ? combo->count() : 0;
}

std::string Window::GetComboItemText(int id, int index) const {
    const QComboBox* combo = Combo(*m_impl, id);
    return combo ? EncodeAnsi(combo->itemText(index)) : std::string();
}

void Window::SetComboSelection(int id, int index) {
    if (QComboBox* combo = Combo(*m_impl, id)) combo->setCurrentIndex(index);
}

int Window::GetComboSelection(int id) const {
    const QComboBox* combo = Combo(*m_impl, id);
    return combo ? combo->currentIndex() : -1;
}

void Window::SetProgressRange(int id, int low, int high) {
    if (QProgressBar* bar = Progress(*m_impl, id)) bar->setRange(low, high);
}

void Window::SetProgressPos(int id, int position) {
    if (QProgressBar* bar = Progress(*m_impl, id)) bar->setValue(position);
}

int Window::GetProgressPos(int id) const {
    const QProgressBar* bar = Progress(*m_impl, id);
    return bar ? bar->value() : 0;
}

void Window::SetPicture(int id, std::string_view resource) {
    if (auto* picture = dynamic_cast<PictureLabel*>(m_impl->Control(id)))
        picture->SetResource(
            QString::fromLatin1(resource.data(), static_cast<qsizetype>(resource.size())));
}

void Window::SetWindowText(std::string_view caption) {
    if (m_impl->widget) m_impl->widget->setWindowTitle(DecodeAnsi(caption));
}

void Window::ReplaceSel(int id, std::string_view text) {
    auto* multi = qobject_cast<QPlainTextEdit*>(m_impl->Control(id));
    if (!multi) return;
    QTextCursor caret = multi->textCursor();
    caret.insertText(FromWindowsText(text));
    multi->setTextCursor(caret);
}

std::string Window::GetWindowText() const {
    return m_impl->widget ? EncodeAnsi(m_impl->widget->windowTitle()) : std::string();
}

void Window::SetTimer(int id, int ms) {
    if (!m_impl->widget) return;
    QTimer*& timer = m_impl->timers[id];
    if (!timer) {
        timer = new QTimer(m_impl->widget);
        QObject::connect(timer, &QTimer::timeout, m_impl->widget, [this, id] { OnTimer(id); });
    }
    timer->start(ms);
}

void Window::KillTimer(int id) {
    const auto t = m_impl->timers.find(id);
    if (t != m_impl->timers.end()) t->second->stop();
}

}  // namespace ui
