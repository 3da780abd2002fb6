// Dialog templates as data: controls with numeric ids, positions in dialog units and style
// flags. Pages and dialogs are built from these, and code and tests find controls by id.
#pragma once

#include <map>
#include <vector>

namespace ui {

enum class Kind {
    Static,     // text label
    Picture,    // bitmap or icon resource drawn to fill the control
    Edit,       // one-line edit (multi-line with kMultiLine)
    Button,     // push button
    CheckBox,   // automatic check box
    Radio,      // automatic radio button; radios of one kGroup run are exclusive
    GroupBox,   // frame with a caption
    ComboList,  // drop-down list that cannot be edited
    ComboEdit,  // drop-down with an edit part
    ListView,   // list view (list mode, or report mode with kReport)
    ProgressBar,
    BitmapButton,  // owner-drawn button whose faces are bitmaps <caption>U / D / X
};

enum Style : unsigned {
    kHidden = 1u << 0,
    kDisabled = 1u << 1,
    kCenter = 1u << 2,
    kMultiLine = 1u << 3,
    kPassword = 1u << 4,
    kReadOnly = 1u << 5,
    kNumber = 1u << 6,    // digits only
    kPushLike = 1u << 7,  // radio or check box drawn as a push button
    kGroup = 1u << 8,     // starts a new group of radios
    kReport = 1u << 9,    // list view with columns
    kSingleSel = 1u << 10,
    kEditLabels = 1u << 11,
    kSortAscending = 1u << 12,
    kDefault = 1u << 13,  // the default push button
    kVScroll = 1u << 14,
};

struct ControlTemplate {
    int id;
    Kind kind;
    const char* text;  // the caption; for a picture, an edit or a list its accessible name
    int x, y, w, h;    // dialog units
    unsigned style = 0;
    const char* image = nullptr;  // resource name for pictures ("bitmap/226", "icon/194")
};

struct DialogTemplate {
    int id;
    const char* caption;
    int width, height;  // dialog units
    std::vector<ControlTemplate> controls;
};

// What a template says between its controls, for every backend alike. A label (a text with an
// id) names the control right after it when that control shows no name of its own; radios in a
// row are one group until one of them starts another.
struct TemplateLinks {
    std::map<int, int> labelOf;  // control id -> the id of the label naming it
    std::map<int, int> groupOf;  // radio id -> the id of its group's first radio
};

TemplateLinks LinksOf(const DialogTemplate& t);

// Controls that show no name of their own (a picture, or one whose text is its content): a
// screen reader reads them under their label, else under their template text.
bool IsNamedByLabel(Kind kind);

// Control ids shared by every dialog.
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;
inline constexpr int IDC_STATIC = -1;

}  // namespace ui
