#include "ui/qt/Controls.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStyledItemDelegate>
#include <QSvgRenderer>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "ui/EditRules.h"
#include "ui/qt/Ansi.h"

namespace ui {

// --- dialog units ---

DialogUnits::DialogUnits(const QFont& font) {
    const QFontMetrics metrics(font);
    const int letters = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    m_baseX = (letters / 26 + 1) / 2;
    m_baseY = metrics.height();
}

QRect DialogUnits::ToPixels(int x, int y, int w, int h) const {
    return {x * m_baseX / 4, y * m_baseY / 8, w * m_baseX / 4, h * m_baseY / 8};
}

QSize DialogUnits::ToPixels(int w, int h) const {
    return {w * m_baseX / 4, h * m_baseY / 8};
}

// --- resources ---

QString ResourcePath(const QString& name) {
    return QStringLiteral(":/") + name + ".svg";
}

QIcon LoadIcon(std::string_view name) {
    return name.empty() ? QIcon()
                        : QIcon(ResourcePath(QString::fromLatin1(
                              name.data(), static_cast<qsizetype>(name.size()))));
}

// --- list view ---

namespace {

constexpr int kDataRole = Qt::UserRole;
constexpr int kImageRole = Qt::UserRole + 1;

// In-place renames are handed to the list's owner, who decides whether the row takes them.
class RenameDelegate : public QStyledItemDelegate {
  public:
    RenameDelegate(ListView& list) : QStyledItemDelegate(list.impl().tree), m_list(list) {}
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override {
        QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
        if (auto* edit = qobject_cast<QLineEdit*>(editor)) EditRules::Of(edit);
        return editor;
    }
    void setModelData(QWidget* editor, QAbstractItemModel*,
                      const QModelIndex& index) const override {
        const auto* edit = qobject_cast<QLineEdit*>(editor);
        if (!edit || !m_list.onEndLabelEdit) return;
        if (edit->text() != m_list.impl().tree->topLevelItem(index.row())->text(0))
            m_list.onEndLabelEdit(index.row(), EncodeAnsi(edit->text()));
    }

  private:
    ListView& m_list;
};

QTreeWidget* MakeTree(QWidget* parent, unsigned style) {
    auto* tree = new QTreeWidget(parent);
    tree->setColumnCount(1);
    tree->setRootIsDecorated(false);
    tree->setUniformRowHeights(true);
    tree->setHeaderHidden(!(style & kReport));
    tree->header()->setStretchLastSection(true);
    tree->setSelectionMode((style & kSingleSel) ? QAbstractItemView::SingleSelection
                                                : QAbstractItemView::ExtendedSelection);
    tree->setEditTriggers((style & kEditLabels) ? QAbstractItemView::EditKeyPressed |
                                                      QAbstractItemView::SelectedClicked
                                                : QAbstractItemView::NoEditTriggers);
    return tree;
}

}  // namespace

ListViewControl::ListViewControl(QWidget* parent, unsigned style)
    : QWidget(parent),
      m_list(std::make_unique<ListView::Impl>(MakeTree(this, style), style & kSortAscending)) {
    QTreeWidget* tree = m_list.impl().tree;
    setFocusProxy(tree);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(tree);
}

ListView::ListView(std::unique_ptr<Impl> impl) : m_impl(std::move(impl)) {
    QTreeWidget* tree = m_impl->tree;
    tree->setItemDelegate(new RenameDelegate(*this));
    QObject::connect(tree, &QTreeWidget::itemPressed, tree, [this, tree](QTreeWidgetItem* item) {
        MoveMark(tree->indexOfTopLevelItem(item));
    });
    QObject::connect(tree, &QTreeWidget::currentItemChanged, tree,
                     [this, tree](QTreeWidgetItem* current) {
                         if (!current || tree->signalsBlocked()) return;
                         const int row = tree->indexOfTopLevelItem(current);
                         if (row != GetSelectionMark()) MoveMark(row);
                     });
    QObject::connect(tree, &QTreeWidget::itemActivated, tree, [this, tree](QTreeWidgetItem* item) {
        if (onItemActivate) onItemActivate(tree->indexOfTopLevelItem(item));
    });
}

ListView::~ListView() = default;

QTreeWidgetItem* ListView::Impl::Item(int index) const {
    return index >= 0 && index < tree->topLevelItemCount() ? tree->topLevelItem(index) : nullptr;
}

int ListView::Impl::SortedPosition(const QString& text) const {
    int pos = 0;
    while (pos < tree->topLevelItemCount() &&
           QString::localeAwareCompare(tree->topLevelItem(pos)->text(0), text) <= 0)
        ++pos;
    return pos;
}

int ListView::InsertRow(int index, std::string_view bytes, int image, std::intptr_t itemData) {
    const QString text = DecodeAnsi(bytes);
    const int row = m_impl->sorted ? m_impl->SortedPosition(text) : index;
    auto* item = new QTreeWidgetItem(QStringList(text));
    item->setData(0, kDataRole, QVariant::fromValue<qlonglong>(itemData));
    item->setData(0, kImageRole, image);
    if (GetImageList()) item->setIcon(0, LoadIcon(GetImageList()->resource(image)));
    item->setFlags(item->flags() | Qt::ItemIsEditable);
    {
        const QSignalBlocker quiet(m_impl->tree);
        m_impl->tree->insertTopLevelItem(row, item);
    }
    return row;
}

void ListView::RemoveRow(int index) {
    const QSignalBlocker quiet(m_impl->tree);
    delete m_impl->Item(index);
}

int ListView::GetItemCount() const {
    return m_impl->tree->topLevelItemCount();
}

std::string ListView::GetItemText(int index) const {
    const auto* item = m_impl->Item(index);
    return item ? EncodeAnsi(item->text(0)) : std::string();
}

void ListView::SetItemText(int index, std::string_view text) {
    if (auto* item = m_impl->Item(index)) item->setText(0, DecodeAnsi(text));
}

int ListView::GetItemImage(int index) const {
    const auto* item = m_impl->Item(index);
    return item ? item->data(0, kImageRole).toInt() : -1;
}

std::intptr_t ListView::GetItemData(int index) const {
    const auto* item = m_impl->Item(index);
    return item ? static_cast<std::intptr_t>(item->data(0, kDataRole).toLongLong()) : 0;
}

std::vector<int> ListView::GetSelectedItems() const {
    std::vector<int> rows;
    for (int i = 0; i < GetItemCount(); ++i)
        if (m_impl->Item(i)->isSelected()) rows.push_back(i);
    return rows;
}

void ListView::SetItemSelected(int index, bool selected) {
    if (auto* item = m_impl->Item(index)) item->setSelected(selected);
}

void ListView::ShowImages(const ImageList* images) {
    if (images) m_impl->tree->setIconSize(QSize(images->size(), images->size()));
}

// The tree's current item is its only mark, and it already follows ours.
void ListView::ShowSelectionMark(int) {}

void ListView::InsertColumn(std::string_view header, int widthPixels) {
    m_impl->tree->setHeaderLabels(QStringList(DecodeAnsi(header)));
    m_impl->tree->setColumnWidth(0, widthPixels);
}

void ListView::EditLabel(int index) {
    if (auto* item = m_impl->Item(index)) m_impl->tree->editItem(item, 0);
}

// --- bitmap button ---

BitmapButton::BitmapButton(QWidget* parent, const QString& caption) : QAbstractButton(parent) {
    setText(caption);
    setFocusPolicy(Qt::StrongFocus);
    AutoLoad(caption);
}

void BitmapButton::AutoLoad(const QString& name) {
    m_faces[0] = ResourcePath("bitmap/" + name + "U");
    m_faces[1] = ResourcePath("bitmap/" + name + "D");
    m_faces[2] = ResourcePath("bitmap/" + name + "X");
    update();
}

void BitmapButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QString& face = !isEnabled() ? m_faces[2] : (isDown() ? m_faces[1] : m_faces[0]);
    QSvgRenderer renderer(face);
    renderer.setAspectRatioMode(Qt::KeepAspectRatio);
    renderer.render(&painter, QRectF(rect()));
    if (hasFocus()) {
        painter.setPen(QPen(palette().color(QPalette::Highlight), 1, Qt::DotLine));
        painter.drawRect(rect().adjusted(2, 2, -3, -3));
    }
}

QSize BitmapButton::sizeHint() const {
    return {75, 24};
}

// --- picture ---

void PictureLabel::SetResource(const QString& name) {
    m_resource = name;
    update();
}

void PictureLabel::paintEvent(QPaintEvent*) {
    if (m_resource.isEmpty()) return;
    QPainter painter(this);
    QSvgRenderer renderer(ResourcePath(m_resource));
    renderer.setAspectRatioMode(Qt::KeepAspectRatio);
    renderer.render(&painter, QRectF(rect()));
}

// --- edit rules ---

EditRules::EditRules(QLineEdit* edit) : QValidator(edit), m_previous(edit->text()) {
    QObject::connect(edit, &QLineEdit::textChanged, this,
                     [this](const QString& text) { m_previous = text; });
}

bool EditRules::Allows(const QString& input) const {
    if (input == m_previous) return true;
    if (m_digitsOnly && GainsNonDigit(m_previous, input)) return false;
    if (HoldsForeignCharacter(input.toStdU16String())) return false;
    return !GrowsPastLimit(m_previous, input, m_maxLength);
}

bool EditRules::CutToFit(QString& input, int& position) const {
    if (m_maxLength < 0 || input.size() <= m_maxLength) return false;
    // The inserted part lies between what the change kept of the start and of the end.
    const qsizetype most = std::min(input.size(), m_previous.size());
    qsizetype head = 0;
    while (head < most && input[head] == m_previous[head]) ++head;
    qsizetype tail = 0;
    while (tail < most - head &&
           input[input.size() - 1 - tail] == m_previous[m_previous.size() - 1 - tail])
        ++tail;
    const qsizetype kept = head + tail;
    const qsizetype room = std::max<qsizetype>(0, m_maxLength - kept);
    const qsizetype inserted = input.size() - kept;
    if (inserted <= room) return false;
    input = input.left(head) + input.mid(head, room) + input.right(tail);
    position = static_cast<int>(head + room);
    return true;
}

QValidator::State EditRules::validate(QString& input, int& position) const {
    if (Allows(input)) return Acceptable;
    // A paste too long for the edit goes in as far as it fits, as Windows and Qt take it.
    if (!(m_digitsOnly && GainsNonDigit(m_previous, input)) && CutToFit(input, position) &&
        Allows(input))
        return Acceptable;
    // A refused change gives the text before it back. Answering Invalid would leave that to
    // Qt, which does not restore it when the change was an undo, nor any change after that.
    position = static_cast<int>(
        std::clamp<qsizetype>(position - (input.size() - m_previous.size()), 0, m_previous.size()));
    input = m_previous;
    return Acceptable;
}

EditRules* EditRules::Find(QLineEdit* edit) {
    return const_cast<EditRules*>(dynamic_cast<const EditRules*>(edit->validator()));
}

EditRules* EditRules::Of(QLineEdit* edit) {
    if (auto* rules = Find(edit)) return rules;
    auto* rules = new EditRules(edit);
    edit->setValidator(rules);
    return rules;
}

void EditRules::SetText(QLineEdit* edit, const QString& text) {
    if (auto* rules = Find(edit)) rules->m_previous = text;
    edit->setText(text);
}

// --- the factory ---

namespace {

// The accessible role of a check box or option of ours, kept on the widget for the factory.
constexpr const char* kCheckableRole = "qubsetCheckableRole";

// A check box or option as assistive technology sees it. Its toggle action is a click, as
// the mouse and the keyboard give it, so the window's click handler runs; Qt's own interface
// would only flip the state. An option drawn as a push button is still an option.
class CheckableAccessible : public QAccessibleWidget {
  public:
    CheckableAccessible(QAbstractButton* button, QAccessible::Role role)
        : QAccessibleWidget(button, role) {}

    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.checkable = true;
        state.checked = Button()->isChecked();
        state.pressed = Button()->isDown();
        return state;
    }
    QStringList actionNames() const override {
        QStringList names;
        if (widget()->isEnabled()) names << toggleAction();
        return names + QAccessibleWidget::actionNames();
    }
    void doAction(const QString& action) override {
        if (action != toggleAction() && action != pressAction())
            QAccessibleWidget::doAction(action);
        else if (widget()->isEnabled())
            Button()->click();
    }

  private:
    QAbstractButton* Button() const { return static_cast<QAbstractButton*>(widget()); }
};

// Our controls' accessible interfaces where Qt's would not do; Qt's for everything else.
QAccessibleInterface* AccessibleFactory(const QString&, QObject* object) {
    if (auto* picture = dynamic_cast<PictureLabel*>(object))
        return new QAccessibleWidget(picture, QAccessible::Graphic);
    auto* button = qobject_cast<QAbstractButton*>(object);
    const QVariant role = button ? button->property(kCheckableRole) : QVariant();
    if (!role.isValid()) return nullptr;
    return new CheckableAccessible(button, static_cast<QAccessible::Role>(role.toInt()));
}

void InstallAccessibleFactory() {
    static const bool installed = [] {
        QAccessible::installFactory(AccessibleFactory);
        return true;
    }();
    (void)installed;
}

// A check box or option that a click anywhere on its rectangle toggles, as on Windows; Qt's
// own take only clicks on the box and the text.
template <class Base>
class WholeRectButton : public Base {
  public:
    using Base::Base;

  protected:
    bool hitButton(const QPoint& pos) const override { return this->rect().contains(pos); }
};

// A check box or option, marked before anything (its text, for one) can make its
// accessible interface.
template <class Button>
Button* MakeCheckable(QWidget* parent, const QString& text, QAccessible::Role role) {
    auto* button = new Button(parent);
    button->setProperty(kCheckableRole, static_cast<int>(role));
    button->setCheckable(true);
    button->setText(text);
    return button;
}

QWidget* MakeEdit(const ControlTemplate& c, QWidget* parent) {
    if (c.style & kMultiLine) {
        auto* edit = new QPlainTextEdit(parent);
        edit->setReadOnly(c.style & kReadOnly);
        edit->setLineWrapMode(QPlainTextEdit::WidgetWidth);
        return edit;
    }
    auto* edit = new QLineEdit(parent);
    EditRules::Of(edit);  // every edit refuses what the code page cannot hold
    edit->setReadOnly(c.style & kReadOnly);
    if (c.style & kPassword) edit->setEchoMode(QLineEdit::Password);
    return edit;
}

QWidget* MakeButtonLike(const ControlTemplate& c, QWidget* parent) {
    const QString text = QString::fromUtf8(c.text);
    switch (c.kind) {
        case Kind::CheckBox:
            return MakeCheckable<WholeRectButton<QCheckBox>>(parent, text, QAccessible::CheckBox);
        case Kind::Radio:
            if (c.style & kPushLike) {
                return MakeCheckable<QPushButton>(parent, text, QAccessible::RadioButton);
            } else {
                auto* radio = MakeCheckable<WholeRectButton<QRadioButton>>(
                    parent, text, QAccessible::RadioButton);
                radio->setAutoExclusive(false);  // exclusivity comes from the template's groups
                return radio;
            }
        case Kind::BitmapButton:
            return new BitmapButton(parent, text);
        default: {
            auto* button = new QPushButton(text, parent);
            button->setAutoDefault(false);
            button->setDefault(c.style & kDefault);
            return button;
        }
    }
}

}  // namespace

QWidget* CreateControl(const ControlTemplate& c, QWidget* parent, const DialogUnits& units) {
    InstallAccessibleFactory();
    const QString text = QString::fromUtf8(c.text);
    QWidget* widget = nullptr;
    switch (c.kind) {
        case Kind::Static: {
            auto* label = new QLabel(parent);
            // A unit's or a language file's text is shown as it is, never as markup.
            label->setTextFormat(Qt::PlainText);
            label->setText(text);
            label->setWordWrap(true);
            label->setAlignment((c.style & kCenter ? Qt::AlignHCenter : Qt::AlignLeft) |
                                Qt::AlignTop);
            widget = label;
            break;
        }
        case Kind::Picture: {
            auto* picture = new PictureLabel(parent);
            if (c.image) picture->SetResource(QString::fromUtf8(c.image));
            widget = picture;
            break;
        }
        case Kind::Edit:
            widget = MakeEdit(c, parent);
            break;
        case Kind::GroupBox:
            widget = new QGroupBox(text, parent);
            break;
        case Kind::ComboList:
        case Kind::ComboEdit: {
            auto* combo = new QComboBox(parent);
            combo->setEditable(c.kind == Kind::ComboEdit);
            // As a Windows drop-down, text typed into the edit part never becomes an entry.
            combo->setInsertPolicy(QComboBox::NoInsert);
            if (combo->lineEdit()) EditRules::Of(combo->lineEdit());
            widget = combo;
            break;
        }
        case Kind::ListView:
            widget = new ListViewControl(parent, c.style);
            break;
        case Kind::ProgressBar: {
            auto* bar = new QProgressBar(parent);
            bar->setTextVisible(false);
            widget = bar;
            break;
        }
        default:
            widget = MakeButtonLike(c, parent);
            break;
    }
    widget->setGeometry(units.ToPixels(c.x, c.y, c.w, c.h));
    SetAccessibleName(widget, text);
    widget->setEnabled(!(c.style & kDisabled));
    widget->setVisible(!(c.style & kHidden));
    return widget;
}

void SetAccessibleName(QWidget* control, const QString& name) {
    control->setAccessibleName(name);
    if (QWidget* inner = control->focusProxy()) inner->setAccessibleName(name);
}

bool PressesDefault(const QKeyEvent& event) {
    const bool enter = event.key() == Qt::Key_Return || event.key() == Qt::Key_Enter;
    return enter && (event.modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
}

bool ClickFocusedPushButton(QWidget* window) {
    auto* button = qobject_cast<QAbstractButton*>(window->focusWidget());
    const bool push = qobject_cast<QPushButton*>(button) || dynamic_cast<BitmapButton*>(button);
    if (!push || button->isCheckable() || !button->isEnabled()) return false;
    button->click();
    return true;
}

}  // namespace ui
