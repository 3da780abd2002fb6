#include "ui/qt/Testing.h"

#include <QCoreApplication>
#include <QSettings>

#include "ui/qt/Controls.h"
#include "ui/qt/WindowImpl.h"

namespace ui {

void CreateWindowIn(Window& window, QWidget* host) {
    Window::Impl::Create(window, host);
}

QWidget* ControlOf(const Window& window, int id) {
    return window.impl().Control(id);
}

QTreeWidget* TreeOf(ListView* list) {
    return list ? list->impl().tree : nullptr;
}

void ClearSettings() {
    QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Miltra"),
              QCoreApplication::applicationName())
        .clear();
}

}  // namespace ui
