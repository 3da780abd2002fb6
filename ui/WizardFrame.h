// The frame around a wizard's pages, as the system's own wizards draw it: a separator under the
// page area, then Back and Next side by side (Finish takes Next's place on the last page), a gap
// and Cancel, each worded in the desktop's language. Both backends build their frame from this.
#pragma once

#include <array>
#include <string_view>

namespace ui::wizard {

enum class Role { Back, Next, Finish, Cancel };

struct FrameButton {
    Role role;
    int id;
    const char* name;  // what tests and the Qt backend find it by
    const char* text;  // UTF-8, the mnemonic marked with '&'
};

// comctl32's ids for its wizard buttons; Cancel is IDCANCEL.
inline constexpr int kBackId = 0x3023;
inline constexpr int kNextId = 0x3024;
inline constexpr int kFinishId = 0x3025;

// Left to right, as the row shows them.
using FrameButtons = std::array<FrameButton, 4>;

// The buttons worded for a language tag ("de", "de-DE", "de_DE"); English where we have no
// wording of that language.
FrameButtons ButtonsFor(std::string_view language);

// The button the frame starts with as its default; Finish is once it is shown.
inline constexpr Role kFirstDefault = Role::Next;

// Dialog units. Back and Next touch; the gap stands before Cancel alone.
inline constexpr int kMargin = 7;
inline constexpr int kCancelGap = 7;
inline constexpr int kButtonWidth = 50;
inline constexpr int kButtonHeight = 14;
// The separator runs this far below the page area, a margin's half above the buttons.
inline constexpr int kSeparatorOffset = kMargin / 2;

}  // namespace ui::wizard
