// The Qt backend's controls that Qt has no direct match for, and the conversion from dialog
// units to pixels.
#pragma once

#include <QAbstractButton>
#include <QIcon>
#include <QKeyEvent>
#include <QLineEdit>
#include <QValidator>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <vector>

#include "ui/EditRules.h"
#include "ui/ListView.h"
#include "ui/Template.h"

class QFont;
class QTreeWidget;
class QTreeWidgetItem;

namespace ui {

// Dialog units as Windows computes them: x from the average width of the 52 Latin letters of
// the dialog font, y from its height.
class DialogUnits {
  public:
    explicit DialogUnits(const QFont& font);
    QRect ToPixels(int x, int y, int w, int h) const;
    QSize ToPixels(int w, int h) const;

  private:
    int m_baseX;
    int m_baseY;
};

// The path of a bundled image: "bitmap/226" -> ":/bitmap/226".
QString ResourcePath(const QString& name);
QIcon LoadIcon(std::string_view name);

// The list view control: a tree of one column, no branches. Texts cross in the code page.
struct ListView::Impl {
    Impl(QTreeWidget* control, bool sortedByText) : tree(control), sorted(sortedByText) {}
    QTreeWidgetItem* Item(int index) const;
    // Where a sorted list takes a row of that text.
    int SortedPosition(const QString& text) const;

    QTreeWidget* tree;  // the widget's child: Qt deletes it
    bool sorted;
};

// The widget a template's list view becomes: it holds the tree and the list that drives it.
class ListViewControl : public QWidget {
  public:
    ListViewControl(QWidget* parent, unsigned style);
    ListView& list() { return m_list; }

  private:
    ListView m_list;
};

// A button drawn from three images: up (U), pressed (D) and disabled (X).
class BitmapButton : public QAbstractButton {
  public:
    BitmapButton(QWidget* parent, const QString& caption);
    // Takes the faces <name>U, <name>D and <name>X from the bundled bitmaps.
    void AutoLoad(const QString& name);

  protected:
    void paintEvent(QPaintEvent*) override;
    QSize sizeHint() const override;

  private:
    QString m_faces[3];
};

// A picture that fills its control, drawn at the screen's pixel density.
class PictureLabel : public QWidget {
  public:
    explicit PictureLabel(QWidget* parent) : QWidget(parent) {}
    void SetResource(const QString& name);
    const QString& resource() const { return m_resource; }

  protected:
    void paintEvent(QPaintEvent*) override;

  private:
    QString m_resource;
};

// What can be typed or pasted into an edit: at most a number of characters, and optionally
// no character but '0'..'9'. Text put in by the program is taken as it is; each change is
// then judged against the text before it, so an over-long text can only shrink and a
// non-digit already there can be deleted, never added. What a paste (or assistive
// technology) inserts beyond the limit is cut off.
class EditRules : public QValidator {
  public:
    explicit EditRules(QLineEdit* edit);
    void SetMaxLength(int maxChars) { m_maxLength = maxChars; }
    void SetDigitsOnly() { m_digitsOnly = true; }
    State validate(QString& input, int& position) const override;

    static EditRules* Of(QLineEdit* edit);
    // Puts the program's text into the edit, whatever its rules.
    static void SetText(QLineEdit* edit, const QString& text);

  private:
    static EditRules* Find(QLineEdit* edit);
    bool Allows(const QString& input) const;
    // Cuts what a change inserted so that the text fits the limit; false when nothing was cut.
    bool CutToFit(QString& input, int& position) const;

    QString m_previous;  // the edit's text before the change being judged
    int m_maxLength = -1;
    bool m_digitsOnly = false;
};

// Makes the widget for one template control.
QWidget* CreateControl(const ControlTemplate& control, QWidget* parent, const DialogUnits& units);

// Names a control for assistive technology. A list view's name also goes to the list inside
// it, which is what takes the focus.
void SetAccessibleName(QWidget* control, const QString& name);

// Return or Enter alone: what presses a dialog's default button on Windows.
bool PressesDefault(const QKeyEvent& event);
// Enter on a push button presses that button, as on Windows (options and check boxes drawn as
// push buttons excepted); false when the focus of `window` is on none.
bool ClickFocusedPushButton(QWidget* window);

}  // namespace ui
