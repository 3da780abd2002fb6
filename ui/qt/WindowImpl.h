// The Qt backend's side of a window: its widget and its controls by id.
#pragma once

#include <QTimer>
#include <QWidget>
#include <map>

#include "ui/Window.h"

namespace ui {

struct Window::Impl {
    QWidget* widget = nullptr;
    std::map<int, QWidget*> controls;
    std::map<int, int> labelFor;  // label id -> id of the control it names
    std::map<int, QTimer*> timers;

    QWidget* Control(int id) const;
    // Builds the template's controls into `host`, which becomes the window.
    static void Create(Window& window, QWidget* host);
};

// The widget of a window, or nullptr while it has none.
QWidget* WidgetOf(const Window& window);
QWidget* WidgetOf(Hwnd window);

}  // namespace ui
