// The toolkit's small services: message box, beep, file dialogs. Each reports to an automation
// point first, so that tests (and UI automation) can observe and answer them.
#pragma once

#include <QString>
#include <functional>
#include <memory>

class QLocale;
class QTranslator;
class QWidget;

namespace ui {

class Window;

enum class MessageIcon { Exclamation, Information, Error };

// A modal message box with an OK button.
void MessageBox(QWidget* parent, const QString& text, const QString& caption, MessageIcon icon);
// The system's simple beep.
void MessageBeep();

struct FileDialogOptions {
    QString defaultExtension;  // without the dot
    QString proposedName;
    QString filterLabel;
    QString filterPattern;
};
// The chosen path, or empty when the user cancelled. Saving asks before overwriting.
QString GetOpenFileName(QWidget* parent, const FileDialogOptions& options);
QString GetSaveFileName(QWidget* parent, const FileDialogOptions& options);

// Automation points. When a hook is set it is called instead of (or, for onModal, as well as)
// showing the thing to a person.
struct Automation {
    // A modal dialog has started its loop; the hook may act on it (and end it).
    std::function<void(Window& dialog)> onModal;
    std::function<void(const QString& text, const QString& caption)> onMessageBox;
    std::function<QString(const FileDialogOptions& options, bool save)> onFileDialog;
    std::function<void()> onBeep;
    // A page of a property sheet has become the active page.
    std::function<void(Window& page)> onPageActivated;
};
Automation& automation();

// Qt's own translations (qtbase) for `locale`, installed in the application for as long as
// the returned object lives: the wizard buttons, message boxes and file dialogs then speak
// the desktop's language. Null when no translation for that locale is installed.
std::unique_ptr<QTranslator> LoadToolkitTranslations(const QLocale& locale);

// Called by Dialog::DoModal once the dialog is up.
void NotifyModalStarted(Window& dialog);

}  // namespace ui
