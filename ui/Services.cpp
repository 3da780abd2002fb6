#include "ui/Services.h"

#include <QApplication>
#include <QFileDialog>
#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QTimer>
#include <QTranslator>

#include "ui/Window.h"

namespace ui {

Automation& automation() {
    static Automation hooks;
    return hooks;
}

void MessageBox(QWidget* parent, const QString& text, const QString& caption, MessageIcon icon) {
    if (automation().onMessageBox) return automation().onMessageBox(text, caption);
    const auto qtIcon = icon == MessageIcon::Error         ? QMessageBox::Critical
                        : icon == MessageIcon::Information ? QMessageBox::Information
                                                           : QMessageBox::Warning;
    QMessageBox box(qtIcon, caption, text, QMessageBox::Ok, parent);
    box.exec();
}

void MessageBeep() {
    if (automation().onBeep) automation().onBeep();
    QApplication::beep();
}

namespace {

QString RunFileDialog(QWidget* parent, const FileDialogOptions& options, bool save) {
    if (automation().onFileDialog) return automation().onFileDialog(options, save);
    QFileDialog dialog(parent);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setNameFilter(options.filterLabel.contains(options.filterPattern)
                             ? options.filterLabel
                             : options.filterLabel + " (" + options.filterPattern + ")");
    dialog.setDefaultSuffix(options.defaultExtension);
    if (save) dialog.selectFile(options.proposedName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().first();
}

}  // namespace

QString GetOpenFileName(QWidget* parent, const FileDialogOptions& options) {
    return RunFileDialog(parent, options, false);
}

QString GetSaveFileName(QWidget* parent, const FileDialogOptions& options) {
    return RunFileDialog(parent, options, true);
}

std::unique_ptr<QTranslator> LoadToolkitTranslations(const QLocale& locale) {
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        return nullptr;
    QCoreApplication::installTranslator(translator.get());
    return translator;
}

void NotifyModalStarted(Window& dialog) {
    if (!automation().onModal) return;
    // Runs inside the dialog's own loop, as a person would act on it.
    const Hwnd handle = dialog.handle();
    QTimer::singleShot(0, [handle] {
        if (Window* window = FromHandle(handle); window && automation().onModal)
            automation().onModal(*window);
    });
}

}  // namespace ui
