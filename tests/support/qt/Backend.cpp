// The test backend over Qt Widgets.
#include "tests/support/Backend.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QGuiApplication>
#include <QLineEdit>
#include <QTest>

#include "ui/qt/Testing.h"

namespace backend {

namespace {

void Grab(QWidget* widget, const std::string& folder, const std::string& name) {
    if (!widget) return;
    const QString path = QString::fromStdString(folder);
    QDir().mkpath(path);
    widget->grab().save(QDir(path).filePath(QString::fromStdString(name) + ".png"));
}

// Where keys go: an edit, or the edit part of a drop-down.
QWidget* KeyTarget(ui::Window& window, int id) {
    QWidget* control = ui::ControlOf(window, id);
    if (auto* combo = qobject_cast<QComboBox*>(control); combo && combo->lineEdit())
        return combo->lineEdit();
    return control;
}

struct Stroke {
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
};

Stroke StrokeOf(Key key) {
    switch (key) {
        case Key::Return:
            return {Qt::Key_Return, Qt::NoModifier};
        case Key::Escape:
            return {Qt::Key_Escape, Qt::NoModifier};
        case Key::Home:
            return {Qt::Key_Home, Qt::NoModifier};
        case Key::End:
            return {Qt::Key_End, Qt::NoModifier};
        case Key::Delete:
            return {Qt::Key_Delete, Qt::NoModifier};
        case Key::Backspace:
            return {Qt::Key_Backspace, Qt::NoModifier};
        case Key::Undo:
            return {Qt::Key_Z, Qt::ControlModifier};
        case Key::Tab:
            return {Qt::Key_Tab, Qt::NoModifier};
        case Key::BackTab:
            return {Qt::Key_Backtab, Qt::ShiftModifier};
        case Key::Space:
            return {Qt::Key_Space, Qt::NoModifier};
        case Key::AltB:
            return {Qt::Key_B, Qt::AltModifier};
        case Key::AltN:
            return {Qt::Key_N, Qt::AltModifier};
    }
    return {Qt::Key_unknown, Qt::NoModifier};
}

// Offscreen there is no window manager to give the activation back to the sheet when a
// dialog closes: as one would, the modal dialog or else the window on the screen gets it.
void Reactivate() {
    if (QApplication::activeWindow()) return;
    QWidget* window = QApplication::activeModalWidget();
    for (QWidget* top : QApplication::topLevelWidgets())
        if (!window && top->isVisible() && top->isWindow()) window = top;
    if (window) window->activateWindow();
}

// What a person's keys reach: the focus, else the active window.
QWidget* FocusTarget() {
    Reactivate();
    if (QWidget* focus = QApplication::focusWidget()) return focus;
    if (QWidget* modal = QApplication::activeModalWidget()) return modal;
    return QApplication::activeWindow();
}

void TypeInto(QWidget* edit, const std::string& utf8) {
    if (!edit) return;
    // keyClicks would take each character as Latin-1 and lose the others.
    for (const QChar c : QString::fromStdString(utf8)) {
        if (c.unicode() < 0x80)
            QTest::keyClick(edit, c.toLatin1());
        else
            QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

}  // namespace

bool WaitFor(const std::function<bool()>& done, int ms) {
    return QTest::qWaitFor(
        [&] {
            Reactivate();
            return done();
        },
        ms);
}

void Settle(int ms) {
    QTest::qWait(ms);
}

void ProcessEvents() {
    QCoreApplication::processEvents();
}

void Type(ui::Window& window, int id, const std::string& utf8) {
    TypeInto(KeyTarget(window, id), utf8);
}

void TypeKeys(const std::string& utf8) {
    TypeInto(FocusTarget(), utf8);
}

void Paste(ui::Window& window, int id, const std::string& utf8) {
    QGuiApplication::clipboard()->setText(QString::fromStdString(utf8));
    QTest::keyClick(KeyTarget(window, id), Qt::Key_V, Qt::ControlModifier);
}

void Clear(ui::Window& window, int id) {
    if (auto* line = qobject_cast<QLineEdit*>(KeyTarget(window, id))) line->clear();
}

void SetFromOutside(ui::Window& window, int id, const std::string& utf8) {
    if (QAccessibleInterface* edit = QAccessible::queryAccessibleInterface(KeyTarget(window, id)))
        edit->setText(QAccessible::Value, QString::fromStdString(utf8));
}

void Press(ui::Window& window, int id, Key key) {
    const Stroke stroke = StrokeOf(key);
    QTest::keyClick(KeyTarget(window, id), stroke.key, stroke.modifiers);
}

void PressKey(Key key) {
    const Stroke stroke = StrokeOf(key);
    if (QWidget* target = FocusTarget()) QTest::keyClick(target, stroke.key, stroke.modifiers);
}

bool HasFocus(const ui::Window& window) {
    QWidget* widget = ui::WidgetOf(window);
    QWidget* focus = QApplication::focusWidget();
    return widget && focus && widget->isAncestorOf(focus);
}

bool HasFocus(const ui::Window& window, int id) {
    QWidget* control = ui::ControlOf(window, id);
    QWidget* focus = QApplication::focusWidget();
    return control && focus && (focus == control || control->isAncestorOf(focus));
}

void Choose(ui::Window& window, int comboId, int index) {
    auto* combo = qobject_cast<QComboBox*>(ui::ControlOf(window, comboId));
    combo->setCurrentIndex(index);
    emit combo->activated(index);
}

void SelectRow(ui::ListView& list, int row) {
    QTreeWidget* tree = ui::TreeOf(&list);
    QTreeWidgetItem* item = tree->topLevelItem(row);
    tree->clearSelection();
    tree->setCurrentItem(item);
    item->setSelected(true);
}

bool IsShown(const ui::Window& window) {
    const QWidget* widget = ui::WidgetOf(window);
    return widget && widget->isVisible();
}

void Screenshot(const ui::Window& window, const std::string& folder, const std::string& name) {
    const QWidget* widget = ui::WidgetOf(window);
    Grab(widget ? widget->window() : nullptr, folder, name);
}

std::string ShownTitle(const ui::PropertySheet& sheet) {
    return ui::SheetWindow(sheet)->windowTitle().toStdString();
}

void ClearSettings() {
    ui::ClearSettings();
}

}  // namespace backend
