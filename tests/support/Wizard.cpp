#include "tests/support/Wizard.h"

#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QDir>
#include <QPushButton>
#include <QSettings>
#include <QLineEdit>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>
#include <typeinfo>

#include "ui/Controls.h"
#include "ui/Dialog.h"

#include "app/Profile.h"
#include "qubset/WizardPages.h"
#include "resources/Resource.h"
#include "tests/support/RefusingLine.h"
#include "ui/Services.h"

namespace {

QSettings Store() {
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Miltra"),
                     QCoreApplication::applicationName());
}

QPushButton* Button(const CMainSheet& sheet, const char* name) {
    return sheet.dialog()->findChild<QPushButton*>(name);
}

}  // namespace

Wizard::Wizard(WizardOptions options)
    : simulator(options.simulator), linkPath(dir.File("qubrin")) {
    Store().clear();
    // The tool reads its language files from its current directory.
    for (const QString& file : QDir(QUBSET_LANG_DIR).entryList({"*.ini"}, QDir::Files))
        QFile::copy(QDir(QUBSET_LANG_DIR).filePath(file), QString::fromStdString(dir.File(file.toStdString())));
    QDir::setCurrent(QString::fromStdString(dir.path().string()));
    SetProfile(QStringLiteral("Ports/COM%1").arg(options.comNumber), QString::fromStdString(linkPath));
    SetProfile("Ports/Discover", false);
    if (options.startSimulator) simulator.Start(linkPath);
    ui::automation().onBeep = [this] { ++beeps; };
    ui::automation().onPageActivated = [this](ui::Window& page) {
        for (int id = 0; id < kPageCount && sheet; ++id)
            if (sheet->page(static_cast<PageId>(id)) == &page) visited.push_back(static_cast<PageId>(id));
    };
    ui::automation().onMessageBox = [this](const QString& text, const QString& caption) {
        messages.push_back(text);
        messages.push_back(caption);
    };
}

Wizard::~Wizard() {
    sheet.reset();
    ui::automation() = {};
    simulator.Stop();
    QDir::setCurrent(QDir::tempPath());
}

void Wizard::Start() {
    line = MakePlatformSerialLine(ReadPortSettings());
    if (!refusedPorts.empty()) line = std::make_unique<RefusingLine>(std::move(line), refusedPorts);
    sheet = std::make_unique<CMainSheet>(QString(), nullptr, kWelcomePageIndex, data, *line,
                                         MakeWizardPages);
    AfxSetMainSheet(sheet.get());
    sheet->Create();
}

bool Wizard::Visited(PageId id) const {
    return std::find(visited.begin(), visited.end(), id) != visited.end();
}

bool Wizard::WaitFor(const std::function<bool()>& done, int ms) { return QTest::qWaitFor(done, ms); }

void Wizard::Settle(int ms) { QTest::qWait(ms); }

bool Wizard::WaitForPage(PageId id, int ms) {
    return WaitFor([&] { return IsActive(id); }, ms);
}

bool Wizard::NextEnabled() const {
    QPushButton* next = Button(*sheet, "next");
    return next->isVisible() && next->isEnabled();
}

// Each press lets the button states its page posts take effect, as they do before a person
// could press again.
void Wizard::Next() {
    Button(*sheet, "next")->click();
    QCoreApplication::processEvents();
}

void Wizard::NextWhenEnabled() {
    ASSERT_TRUE(WaitFor([&] { return NextEnabled(); }));
    Next();
    Settle();
}

void Wizard::ToCommunicationPage() {
    NextWhenEnabled();
    ASSERT_TRUE(WaitForPage(PageId::Start));
    Click(*sheet->page(PageId::Start), IDC_LOCAL);
    NextWhenEnabled();
    ASSERT_TRUE(WaitForPage(PageId::General));
    ASSERT_TRUE(WaitFor([&] { return !Rows(*sheet->page(PageId::General), IDC_INSTALLED).isEmpty(); }));
}

void Wizard::ToEndPage() {
    for (int i = 0; i < kPageCount && !IsActive(PageId::End); ++i) NextWhenEnabled();
    ASSERT_TRUE(IsActive(PageId::End));
}

void Wizard::FinishAndWaitForExit() {
    ASSERT_TRUE(WaitFor([&] { return Button(*sheet, "finish")->isEnabled(); }));
    Finish();
    ASSERT_TRUE(WaitFor([&] { return sheet->IsEnded(); }, 20000));
    EXPECT_EQ(sheet->exitStatus(), 1);
}
void Wizard::Back() {
    Button(*sheet, "back")->click();
    QCoreApplication::processEvents();
}

void Wizard::Finish() {
    Button(*sheet, "finish")->click();
    QCoreApplication::processEvents();
}

void Wizard::Screenshot(const QString& name) const {
    Settle(50);  // posted button states first
    ScreenshotWidget(sheet->dialog(), name);
}

void Wizard::ScreenshotWidget(QWidget* widget, const QString& name) {
    const QString folder = qEnvironmentVariable("QUBSET_SCREENSHOT_DIR");
    if (folder.isEmpty()) return;
    QDir().mkpath(folder);
    widget->grab().save(QDir(folder).filePath(name + ".png"));
}

void Wizard::Click(ui::Window& window, int id) {
    auto* button = qobject_cast<QAbstractButton*>(window.GetDlgItem(id));
    ASSERT_TRUE(button) << "no button " << id;
    button->click();
}

void Wizard::Type(ui::Window& window, int id, const QString& text) {
    QWidget* edit = window.GetDlgItem(id);
    ASSERT_TRUE(edit) << "no edit " << id;
    if (auto* line = qobject_cast<QLineEdit*>(edit)) line->clear();
    TypeMore(edit, text);
}

void Wizard::TypeMore(QWidget* edit, const QString& text) {
    // keyClicks would take each character as Latin-1 and lose the others.
    for (const QChar c : text) {
        if (c.unicode() < 0x80)
            QTest::keyClick(edit, c.toLatin1());
        else
            QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

void Wizard::Paste(ui::Window& window, int id, const QString& text) {
    QWidget* edit = window.GetDlgItem(id);
    ASSERT_TRUE(edit) << "no edit " << id;
    QGuiApplication::clipboard()->setText(text);
    QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
}

void Wizard::SelectRow(ui::Window& window, int listId, const QString& text) {
    ui::ListView* list = window.GetListView(listId);
    ASSERT_TRUE(list) << "no list " << listId;
    for (int i = 0; i < list->GetItemCount(); ++i) {
        if (list->GetItemText(i) != text) continue;
        QTreeWidgetItem* item = list->tree()->topLevelItem(i);
        list->tree()->clearSelection();
        list->tree()->setCurrentItem(item);
        item->setSelected(true);
        return;
    }
    FAIL() << "no row " << text.toStdString();
}

QStringList Wizard::Rows(ui::Window& window, int listId) {
    QStringList rows;
    ui::ListView* list = window.GetListView(listId);
    for (int i = 0; list && i < list->GetItemCount(); ++i) rows << list->GetItemText(i);
    return rows;
}

std::vector<PageId> Wizard::Sequence() const {
    std::vector<PageId> ids;
    for (int i = 0; i < sheet->GetPageCount(); ++i)
        for (int id = 0; id < kPageCount; ++id)
            if (sheet->GetPage(i) == sheet->page(static_cast<PageId>(id)))
                ids.push_back(static_cast<PageId>(id));
    return ids;
}

void Wizard::OnDialog(std::function<void(ui::Window&)> act) {
    ui::automation().onModal = [this, act](ui::Window& dialog) {
        dialogsShown.push_back(typeid(dialog).name());
        act(dialog);
        // A failed assertion in `act` must not leave the test waiting on an open dialog.
        if (dialog.GetSafeHwnd() && dialog.GetSafeHwnd()->isVisible()) {
            ADD_FAILURE() << "the dialog was left open";
            static_cast<ui::Dialog&>(dialog).EndDialog(ui::IDCANCEL);
        }
    };
}

void Wizard::SetProfile(const QString& key, const QVariant& value) { Store().setValue(key, value); }

QVariant Wizard::Profile(const QString& key) { return Store().value(key); }
