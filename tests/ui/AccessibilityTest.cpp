// What assistive technology finds and can do, through Qt's accessibility interface as a screen
// reader uses it: names, roles, and the toggle action of check boxes and options.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAccessible>
#include <QLabel>
#include <QSignalSpy>
#include <QTest>
#include <set>

#include "app/LangFile.h"
#include "app/StartPage.h"
#include "pages/General.h"
#include "resources/Resource.h"
#include "resources/Templates.h"
#include "tests/support/Wizard.h"
#include "ui/qt/Testing.h"

namespace {

QAccessibleInterface* Find(QWidget* control) {
    return QAccessible::queryAccessibleInterface(control);
}

// What a screen reader does to check a box or choose an option: the toggle action of the
// control's accessible interface. (Offscreen there is no bridge to switch accessibility on, so
// no change is announced; the interface and its actions are the ones a bridge would use.)
void Toggle(ui::Window& window, int id) {
    QAccessibleInterface* control = Find(ui::ControlOf(window, id));
    ASSERT_TRUE(control && control->actionInterface()) << "control " << id;
    const QString toggle = QAccessibleActionInterface::toggleAction();
    ASSERT_TRUE(control->actionInterface()->actionNames().contains(toggle)) << "control " << id;
    control->actionInterface()->doAction(toggle);
}

// A window made from a template alone, as every page and dialog makes its own.
class TemplateWindow : public ui::Window {
  public:
    explicit TemplateWindow(int templateId) : ui::Window(GetTemplate(templateId)) {
        ui::CreateWindowIn(*this, new QWidget);
    }
};

constexpr int kTemplates[] = {IDD_PHONEBOOK, IDD_PHONE_NUMBER, IDD_COMMUNICATION, IDD_WELCOME,
                              IDD_TRANSFER,  IDD_ERROR,        IDD_EVENT_LIST,    IDD_CONNECTION,
                              IDD_INFO,      IDD_PIN_CODE,     IDD_END,           IDD_CHANGES};

std::string En(const char* section) {
    return LangText("English.ini", section);
}

}  // namespace

// Local and Remote, and Primary on the next page, chosen through the toggle action do what a
// click does: Next is offered and the page follows the choice.
TEST(Accessibility, OptionsChosenByAScreenReaderActAsClicked) {
    Wizard w;
    w.Start();
    w.NextWhenEnabled();
    ASSERT_TRUE(w.WaitForPage(PageId::Start));
    auto& start = *w.sheet->page<CStartPage>(PageId::Start);
    EXPECT_EQ(Find(ui::ControlOf(start, IDC_LOCAL))->role(), QAccessible::RadioButton);
    Toggle(start, IDC_REMOTE);
    EXPECT_TRUE(Find(ui::ControlOf(start, IDC_REMOTE))->state().checked);
    EXPECT_TRUE(start.IsItemEnabled(IDC_PHONE));
    Toggle(start, IDC_LOCAL);
    EXPECT_TRUE(start.IsDlgButtonChecked(IDC_LOCAL));
    EXPECT_FALSE(start.IsDlgButtonChecked(IDC_REMOTE));
    EXPECT_FALSE(start.IsItemEnabled(IDC_PHONE));
    ASSERT_TRUE(Wizard::WaitFor([&] { return w.NextEnabled(); }));
    w.Next();
    ASSERT_TRUE(w.WaitForPage(PageId::General));

    auto& general = *w.sheet->page<CGeneral>(PageId::General);
    ASSERT_TRUE(Wizard::WaitFor([&] { return !Wizard::Rows(general, IDC_INSTALLED).empty(); }));
    Toggle(general, IDC_PRIMARY);
    EXPECT_EQ(w.sheet->primaryMode, 1);
    EXPECT_EQ(Wizard::Rows(general, IDC_INSTALLED), (Rows{En("304")}));

    // A click anywhere on a check box's rectangle toggles it, as on Windows: here right of
    // its text.
    QWidget* andBox = ui::ControlOf(general, IDC_AND);
    const bool wasChecked = general.IsDlgButtonChecked(IDC_AND);
    QTest::mouseClick(andBox, Qt::LeftButton, {},
                      QPoint(andBox->width() - 2, andBox->height() / 2));
    EXPECT_NE(general.IsDlgButtonChecked(IDC_AND), wasChecked);
}

// On every page and dialog: each check box and option is found with its role and toggles as a
// click; each list, picture and drop-down list has a name; no two controls share an id.
TEST(Accessibility, EveryControlOfEveryTemplate) {
    for (const int id : kTemplates) {
        TemplateWindow window(id);
        std::set<int> ids;
        for (const ui::ControlTemplate& c : window.dialogTemplate().controls) {
            const std::string where =
                "template " + std::to_string(id) + ", control " + std::to_string(c.id);
            // Controls are found by id: a second one with the same id could never be reached
            // (labels nobody looks up share the id -1).
            EXPECT_TRUE(c.id < 0 || ids.insert(c.id).second) << where;
            QWidget* control = ui::ControlOf(window, c.id);
            if (!control) continue;
            if (c.kind == ui::Kind::CheckBox || c.kind == ui::Kind::Radio) {
                EXPECT_EQ(Find(control)->role(), c.kind == ui::Kind::Radio
                                                     ? QAccessible::RadioButton
                                                     : QAccessible::CheckBox)
                    << where;
                QSignalSpy clicked(static_cast<QAbstractButton*>(control),
                                   &QAbstractButton::clicked);
                const bool wasChecked = window.IsDlgButtonChecked(c.id);
                Toggle(window, c.id);
                EXPECT_EQ(clicked.count(), 1) << where;
                EXPECT_NE(window.IsDlgButtonChecked(c.id), wasChecked) << where;
            }
            if (c.kind == ui::Kind::ListView || c.kind == ui::Kind::Picture ||
                c.kind == ui::Kind::ComboList || c.kind == ui::Kind::ComboEdit) {
                // A list is reached through the part that takes the focus.
                QWidget* focused = control->focusProxy() ? control->focusProxy() : control;
                EXPECT_FALSE(Find(focused)->text(QAccessible::Name).isEmpty()) << where;
            }
            if (c.kind == ui::Kind::Picture) {
                EXPECT_EQ(Find(control)->role(), QAccessible::Graphic) << where;
            }
        }
    }
}

// A unit's or a language file's text on a label is shown as it stands: markup in it is neither
// rendered nor followed (Qt would take a text that looks like HTML for rich text).
TEST(Accessibility, LabelsShowTheirTextAsItStands) {
    TemplateWindow info(IDD_INFO);
    const std::string text = "<b>Qub</b>net <a href=\"https://example.invalid\">go</a> &amp;";
    info.SetDlgItemText(IDC_INFO_OPERATOR, text);
    auto* shown = qobject_cast<QLabel*>(ui::ControlOf(info, IDC_INFO_OPERATOR));
    ASSERT_NE(shown, nullptr);
    // Shown as plain text, it looks no different.
    const QImage before = shown->grab().toImage();
    shown->setTextFormat(Qt::PlainText);
    EXPECT_EQ(shown->grab().toImage(), before);
}
