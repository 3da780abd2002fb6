// The test backend over Qt Widgets.
#include "tests/support/Backend.h"

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

}  // namespace

bool WaitFor(const std::function<bool()>& done, int ms) {
    return QTest::qWaitFor(done, ms);
}

void Settle(int ms) {
    QTest::qWait(ms);
}

void ProcessEvents() {
    QCoreApplication::processEvents();
}

void Type(ui::Window& window, int id, const std::string& utf8) {
    QWidget* edit = KeyTarget(window, id);
    // keyClicks would take each character as Latin-1 and lose the others.
    for (const QChar c : QString::fromStdString(utf8)) {
        if (c.unicode() < 0x80)
            QTest::keyClick(edit, c.toLatin1());
        else
            QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

void Paste(ui::Window& window, int id, const std::string& utf8) {
    QGuiApplication::clipboard()->setText(QString::fromStdString(utf8));
    QTest::keyClick(KeyTarget(window, id), Qt::Key_V, Qt::ControlModifier);
}

void Clear(ui::Window& window, int id) {
    if (auto* line = qobject_cast<QLineEdit*>(KeyTarget(window, id))) line->clear();
}

void Press(ui::Window& window, int id, Key key) {
    Qt::Key qtKey = Qt::Key_unknown;
    switch (key) {
        case Key::Return:
            qtKey = Qt::Key_Return;
            break;
        case Key::Escape:
            qtKey = Qt::Key_Escape;
            break;
        case Key::Home:
            qtKey = Qt::Key_Home;
            break;
        case Key::End:
            qtKey = Qt::Key_End;
            break;
        case Key::Delete:
            qtKey = Qt::Key_Delete;
            break;
        case Key::Backspace:
            qtKey = Qt::Key_Backspace;
            break;
        case Key::Undo:
            qtKey = Qt::Key_Z;
            break;
    }
    QTest::keyClick(KeyTarget(window, id), qtKey,
                    key == Key::Undo ? Qt::ControlModifier : Qt::NoModifier);
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
    Grab(ui::WidgetOf(window), folder, name);
}

void Screenshot(const ui::PropertySheet& sheet, const std::string& folder,
                const std::string& name) {
    Grab(ui::SheetWindow(sheet), folder, name);
}

void ClearSettings() {
    ui::ClearSettings();
}

}  // namespace backend
