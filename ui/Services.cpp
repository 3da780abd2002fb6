#include "ui/Services.h"

namespace ui {

Automation& automation() {
    static Automation hooks;
    return hooks;
}

}  // namespace ui
