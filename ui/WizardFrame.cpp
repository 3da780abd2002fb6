#include "ui/WizardFrame.h"

#include "ui/Template.h"

namespace ui::wizard {

namespace {

struct Wording {
    std::string_view language;
    const char* back;
    const char* next;
    const char* finish;
    const char* cancel;
};

// As Windows words its wizards in each language; the first is the fallback.
constexpr std::array kWordings{
    Wording{"en", "< &Back", "&Next >", "&Finish", "Cancel"},
    Wording{"de", "< &Zurück", "&Weiter >", "Fertig stellen", "Abbrechen"},
    Wording{"fr", "< &Précédent", "&Suivant >", "Terminer", "Annuler"},
};

const Wording& WordingOf(std::string_view language) {
    const std::string_view primary = language.substr(0, language.find_first_of("-_"));
    for (const Wording& wording : kWordings)
        if (wording.language == primary) return wording;
    return kWordings.front();
}

}  // namespace

FrameButtons ButtonsFor(std::string_view language) {
    const Wording& w = WordingOf(language);
    return {{
        {Role::Back, kBackId, "back", w.back},
        {Role::Next, kNextId, "next", w.next},
        {Role::Finish, kFinishId, "finish", w.finish},
        {Role::Cancel, IDCANCEL, "cancel", w.cancel},
    }};
}

}  // namespace ui::wizard
