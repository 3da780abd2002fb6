// What a screen reader on Windows reads for pictures and for controls whose window text is their
// content: the label in front of them, as it reads now, or the template's text where there is no
// label.
#include <gtest/gtest.h>

#include <string>

#include "app/Welcom.h"
#include "pages/General.h"
#include "pages/SMSconf.h"
#include "resources/Resource.h"
#include "tests/support/Wizard.h"
// The Windows headers after the interface's, whose names their macros would rename.
#include "ui/win32/Testing.h"
#include "ui/win32/Text.h"

#include <oleacc.h>

namespace {

// The control's accessible object as a client asks for it, and its name and role.
struct Read {
    std::string name;
    long role = -1;
};

Read Accessible(const ui::Window& window, int id) {
    IAccessible* object = nullptr;
    Read read;
    if (FAILED(AccessibleObjectFromWindow(ui::ControlOf(window, id),
                                          static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                          reinterpret_cast<void**>(&object))))
        return read;
    VARIANT self{};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR name = nullptr;
    if (object->get_accName(self, &name) == S_OK && name) read.name = ui::NarrowAnsi(name);
    SysFreeString(name);
    VARIANT role{};
    if (SUCCEEDED(object->get_accRole(self, &role)) && role.vt == VT_I4) read.role = role.lVal;
    object->Release();
    return read;
}

long StandardRole(const ui::Window& window, int id) {
    IAccessible* object = nullptr;
    if (FAILED(CreateStdAccessibleObject(ui::ControlOf(window, id), OBJID_CLIENT,
                                         __uuidof(IAccessible), reinterpret_cast<void**>(&object))))
        return -2;
    VARIANT self{};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    VARIANT role{};
    object->get_accRole(self, &role);
    object->Release();
    return role.vt == VT_I4 ? role.lVal : -2;
}

}  // namespace

TEST(Accessibility, ListsAndDropDownsAreReadByTheirLabelOrTheirTemplateText) {
    Wizard w;
    w.Start();
    auto& welcome = *w.sheet->page<CWelcom>(PageId::Welcome);
    ASSERT_TRUE(Wizard::WaitFor([&] { return welcome.GetComboCount(IDC_LANGUAGE) > 0; }));
    // The language list has no label: its template text, not the language shown in it.
    EXPECT_EQ(Accessible(welcome, IDC_LANGUAGE).name, "Language");
    EXPECT_EQ(Accessible(welcome, IDC_LANGUAGE).role, StandardRole(welcome, IDC_LANGUAGE));

    w.ToCommunicationPage();
    auto& general = *w.sheet->page<CGeneral>(PageId::General);
    const std::string label = general.GetDlgItemText(IDC_INSTALLED_LABEL);
    ASSERT_FALSE(label.empty());
    EXPECT_EQ(Accessible(general, IDC_INSTALLED).name, label);
    EXPECT_EQ(Accessible(general, IDC_AVAILABLE).name, general.GetDlgItemText(IDC_AVAILABLE_LABEL));
    // A label that changes (another language) renames its list.
    general.SetDlgItemText(IDC_INSTALLED_LABEL, "Gew\xE4hlte Protokolle");
    EXPECT_EQ(Accessible(general, IDC_INSTALLED).name, "Gew\xE4hlte Protokolle");
    EXPECT_EQ(Accessible(general, IDC_INSTALLED).role, StandardRole(general, IDC_INSTALLED));

    // A phone book's picture is read under the book's title in front of it.
    w.NextWhenEnabled();
    ASSERT_TRUE(w.WaitForPage(PageId::Sms));
    auto& book = *w.sheet->page<CSMSconf>(PageId::Sms);
    const std::string title = book.GetDlgItemText(IDC_BOOK_TITLE);
    ASSERT_FALSE(title.empty());
    EXPECT_EQ(Accessible(book, IDC_BOOK_ICON).name, title);
}
