// What does not fit a window on the Qt backend, measured with each widget's own font against
// the room its style leaves the text.
#include "tests/support/Backend.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QWidget>

#include "ui/Window.h"
#include "ui/qt/Controls.h"
#include "ui/qt/Testing.h"

namespace backend {

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

}  // namespace

std::vector<std::string> Misfits(const ui::Window& window) {
    std::vector<std::string> misfits;
    const QRect inside(QPoint(0, 0), ui::WidgetOf(window)->size());
    for (const ui::ControlTemplate& c : window.dialogTemplate().controls) {
        QWidget* control = ui::ControlOf(window, c.id);
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

int Dpi(const ui::Window& window) {
    return qRound(96 * ui::WidgetOf(window)->devicePixelRatioF());
}

}  // namespace backend
