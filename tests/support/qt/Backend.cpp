// The test backend over Qt Widgets.
#include "tests/support/Backend.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QLineEdit>
#include <QTest>

#include "ui/qt/Ansi.h"
#include "ui/qt/Testing.h"

namespace backend {

namespace {

void Grab(QWidget* widget, const std::string& folder, const std::string& name) {
    if (!widget) return;
    const QString path = QString::fromStdString(folder);
    QDir().mkpath(path);
    widget->grab().save(QDir(path).filePath(QString::fromStdString(name) + ".png"));
}

}  // namespace

bool WaitFor(const std::function<bool()>& done, int ms) { return QTest::qWaitFor(done, ms); }

void Settle(int ms) { QTest::qWait(ms); }

void ProcessEvents() { QCoreApplication::processEvents(); }

void Type(ui::Window& window, int id, const std::string& text) {
    QWidget* edit = ui::ControlOf(window, id);
    if (auto* line = qobject_cast<QLineEdit*>(edit)) line->clear();
    QTest::keyClicks(edit, ui::DecodeAnsi(text));
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

void Screenshot(const ui::PropertySheet& sheet, const std::string& folder, const std::string& name) {
    Grab(ui::SheetWindow(sheet), folder, name);
}

void ClearSettings() { ui::ClearSettings(); }

}  // namespace backend
