#include "ui/Template.h"

namespace ui {

bool IsNamedByLabel(Kind kind) {
    return kind == Kind::Edit || kind == Kind::ListView || kind == Kind::ComboList ||
           kind == Kind::ComboEdit || kind == Kind::ProgressBar || kind == Kind::Picture;
}

TemplateLinks LinksOf(const DialogTemplate& t) {
    TemplateLinks links;
    int label = 0;
    int group = 0;
    bool lastWasRadio = false;
    for (const ControlTemplate& c : t.controls) {
        if (c.kind == Kind::Radio) {
            if (!lastWasRadio || (c.style & kGroup)) group = c.id;
            links.groupOf[c.id] = group;
        }
        lastWasRadio = c.kind == Kind::Radio;
        if (label && c.id != IDC_STATIC && IsNamedByLabel(c.kind)) links.labelOf[c.id] = label;
        label = c.kind == Kind::Static && c.id != IDC_STATIC ? c.id : 0;
    }
    return links;
}

}  // namespace ui
