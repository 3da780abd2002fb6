#include "ui/Services.h"

#include <QApplication>
#include <QDir>
#include <QEvent>
#include <QFileDialog>
#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QStandardPaths>
#include <QTimer>
#include <QTranslator>

#include "ui/qt/Ansi.h"
#include "ui/qt/Toolkit.h"
#include "ui/qt/WindowImpl.h"

namespace ui {

void MessageBox(Hwnd parent, std::string_view text, std::string_view caption, MessageIcon icon) {
    if (automation().onMessageBox)
        return automation().onMessageBox(std::string(text), std::string(caption));
    const auto qtIcon = icon == MessageIcon::Error         ? QMessageBox::Critical
                        : icon == MessageIcon::Information ? QMessageBox::Information
                                                           : QMessageBox::Warning;
    QMessageBox box(qtIcon, DecodeAnsi(caption), DecodeAnsi(text), QMessageBox::Ok,
                    WidgetOf(parent));
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

void MessageBeep() {
    if (automation().onBeep) automation().onBeep();
    QApplication::beep();
}

std::string TextFromSystem(std::string_view text) {
    return EncodeAnsi(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}

std::string TextFromPath(const std::filesystem::path& path) {
    return TextFromSystem(path.string());
}

std::filesystem::path PathFromText(std::string_view text) {
    return std::filesystem::path(DecodeAnsi(text).toStdString());
}

std::filesystem::path ApplicationDirectory() {
    return QCoreApplication::applicationDirPath().toStdString();
}

std::string ApplicationName() {
    return EncodeAnsi(QCoreApplication::applicationName());
}

std::filesystem::path UserStateDirectory() {
#ifdef _WIN32
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation).toStdString();
#else
    const QString state = qEnvironmentVariable("XDG_STATE_HOME");
    if (QDir::isAbsolutePath(state)) return state.toStdString();
    return (QDir::homePath() + QStringLiteral("/.local/state")).toStdString();
#endif
}

std::unique_ptr<QTranslator> LoadToolkitTranslations(const QLocale& locale) {
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        return nullptr;
    QCoreApplication::installTranslator(translator.get());
    return translator;
}

std::filesystem::path ShowFileDialog(Hwnd parent, const FileDialogOptions& options, bool save) {
    QFileDialog dialog(WidgetOf(parent));
    const QString label = DecodeAnsi(options.filterLabel);
    const QString pattern = DecodeAnsi(options.filterPattern);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setNameFilter(label.contains(pattern) ? label : label + " (" + pattern + ")");
    dialog.setDefaultSuffix(DecodeAnsi(options.defaultExtension));
    dialog.setDirectory(QString::fromStdString(options.startFolder.string()));
    if (save) dialog.selectFile(DecodeAnsi(options.proposedName));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().first().toStdString();
}

std::filesystem::path UserDocumentsDirectory() {
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!documents.isEmpty() && QDir(documents).exists()) return documents.toStdString();
    return QDir::homePath().toStdString();
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

// The worker posts a bare event; Qt drops the events of an object that is gone.
struct UiWakeup::Impl : QObject {
    explicit Impl(std::function<void()> run) : handler(std::move(run)) {}
    bool event(QEvent*) override {
        handler();
        return true;
    }
    std::function<void()> handler;
};

UiWakeup::UiWakeup(std::function<void()> handler)
    : m_impl(std::make_unique<Impl>(std::move(handler))) {}

UiWakeup::~UiWakeup() = default;

void UiWakeup::Post() {
    QCoreApplication::postEvent(m_impl.get(), new QEvent(QEvent::User));
}

}  // namespace ui
