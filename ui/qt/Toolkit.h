// What the program's main sets up of the Qt backend besides the application object.
#pragma once

#include <QLocale>
#include <QTranslator>
#include <memory>

namespace ui {

// Qt's own translations (qtbase) for `locale`, installed in the application for as long as
// the returned object lives: the wizard buttons, message boxes and file dialogs then speak
// the desktop's language. Null when no translation for that locale is installed.
std::unique_ptr<QTranslator> LoadToolkitTranslations(const QLocale& locale);

}  // namespace ui
