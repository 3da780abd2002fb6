// What tests reach of the Qt backend: the widgets behind windows, controls and the sheet, and
// a clean settings store.
#pragma once

#include <QDialog>
#include <QTreeWidget>
#include <QWidget>

#include "ui/ListView.h"
#include "ui/PropertySheet.h"
#include "ui/Window.h"

namespace ui {

QWidget* WidgetOf(const Window& window);
QWidget* ControlOf(const Window& window, int id);
QDialog* SheetWindow(const PropertySheet& sheet);
QTreeWidget* TreeOf(ListView* list);
// Makes the window from its template inside `host`, as a page or dialog makes its own.
void CreateWindowIn(Window& window, QWidget* host);
// Empties the settings store of this program.
void ClearSettings();

}  // namespace ui
