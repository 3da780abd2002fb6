// Every page and dialog in every shipped language: each control lies inside its window and
// each text fits its control. The 200 % run repeats it at that scale.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <array>

#include "device/Layout.h"
#include "pages/CustomEventDlg.h"
#include "pages/PhoneProp.h"
#include "tests/support/Wizard.h"
#include "transfer/InfoDlg.h"
#include "transfer/PinCodeDlg.h"
#include "ui/Controls.h"

namespace {

// The room a button of the style gives its text.
QRect TextRoom(QAbstractButton* button) {
    QStyleOptionButton option;
    option.initFrom(button);
    option.text = button->text();
    QStyle::SubElement room = QStyle::SE_PushButtonContents;
    if (qobject_cast<QCheckBox*>(button)) room = QStyle::SE_CheckBoxContents;
    if (qobject_cast<QRadioButton*>(button)) room = QStyle::SE_RadioButtonContents;
    return button->style()->subElementRect(room, &option, button);
}

std::string Size(QSize size) {
    return std::to_string(size.width()) + "x" + std::to_string(size.height());
}

// What does not fit a window: a control reaching out of it, a text larger than the room its
// control gives it. Hidden controls and the faces of bitmap buttons do not count.
std::vector<std::string> Misfits(const ui::Window& window) {
    std::vector<std::string> misfits;
    const QRect inside(QPoint(0, 0), window.GetSafeHwnd()->size());
    for (const ui::ControlTemplate& c : window.dialogTemplate().controls) {
        QWidget* control = window.GetDlgItem(c.id);
        if (!control || control->isHidden() || dynamic_cast<ui::BitmapButton*>(control)) continue;
        const std::string name =
            std::to_string(window.dialogTemplate().id) + "/" + std::to_string(c.id);
        if (!inside.contains(control->geometry())) misfits.push_back(name + " lies outside");
        const QFontMetrics metrics(control->font());
        QSize room = control->size();
        QSize needed;
        QString text;
        if (auto* label = qobject_cast<QLabel*>(control)) {
            text = label->text();
            needed = metrics
                         .boundingRect(QRect(QPoint(0, 0), QSize(room.width(), 1 << 20)),
                                       Qt::TextWordWrap, text)
                         .size();
        } else if (auto* button = qobject_cast<QAbstractButton*>(control)) {
            text = button->text();
            needed = QSize(metrics.horizontalAdvance(text), metrics.height());
            room = TextRoom(button).size();
        } else if (auto* box = qobject_cast<QGroupBox*>(control)) {
            text = box->title();
            needed = QSize(box->minimumSizeHint().width(), 0);
        } else if (auto* combo = qobject_cast<QComboBox*>(control)) {
            text = combo->currentText();
            needed = combo->sizeHint();
        }
        if (!text.isEmpty() && (needed.width() > room.width() || needed.height() > room.height()))
            misfits.push_back(name + " '" + text.toStdString() + "' needs " + Size(needed) +
                              ", has " + Size(room));
    }
    return misfits;
}

}  // namespace

// The pages as they come up after a unit was found, and the dialogs in each of their forms.
TEST(Layout, EveryPageAndDialogInEveryLanguage) {
    for (const char* language : {"English", "German"}) {
        SCOPED_TRACE(language);
        Wizard w;
        Wizard::SetProfile("Setting/Language", language);
        w.Start();
        ASSERT_TRUE(Wizard::WaitFor([&] { return w.NextEnabled(); }));
        w.sheet->m_link.Stop();  // the pages are looked at, not worked through
        for (int id = 0; id < kPageCount; ++id) {
            ui::PropertyPage* page = w.sheet->page(static_cast<PageId>(id));
            if (w.sheet->GetPageIndex(page) < 0) w.sheet->AddPage(page);
            ASSERT_TRUE(w.sheet->SetActivePage(page));
            for (const std::string& misfit : Misfits(*page)) ADD_FAILURE() << misfit;
        }
        int dialogs = 0;
        w.OnDialog([&](ui::Window& dialog) {
            ++dialogs;
            for (const std::string& misfit : Misfits(dialog)) ADD_FAILURE() << misfit;
            static_cast<ui::Dialog&>(dialog).EndDialog(ui::IDCANCEL);
        });
        CPinCodeDlg(nullptr).DoModal();
        CInfoDlg(w.data, nullptr).DoModal();
        std::array<std::uint8_t, layout::kEventMaskSize> mask{};
        CCustomEventDlg(mask.data(), 0, "4930123", nullptr).DoModal();
        QString number = "4930123";
        QString code = "1234";
        for (const int form :
             {0, 1, 2}) {  // a number with its account, a password change, a number
            CPhoneProp phone(number, code, mask.data(), 0, nullptr);
            phone.SetAccountEntry(form == 0);
            phone.SetDigitsOnly(form == 0);
            phone.SetPasswordEntry(form == 1);
            phone.DoModal();
        }
        EXPECT_EQ(dialogs, 6);
    }
}
