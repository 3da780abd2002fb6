// The Win32 backend's list view and owner-drawn controls, and the program's bitmaps and icons.
#pragma once

#include "ui/win32/Win32.h"

#include <string>
#include <string_view>

#include "ui/ListView.h"

namespace ui {

// A bundled image by its resource name: "bitmap/226", "bitmap/LEFTU" or "icon/194".
struct ResourceImage {
    bool icon = false;
    const wchar_t* name = nullptr;  // MAKEINTRESOURCE or the name itself
    std::wstring text;              // holds a named resource's name
};
ResourceImage ParseResource(std::string_view resource);
HICON LoadIconResource(std::string_view resource, int size);
// Draws a bitmap or icon into `area`, as large as fits with its proportions, centred.
void DrawResource(HDC dc, const RECT& area, std::string_view resource);

// Owner-drawn controls: a picture fills its control; a bitmap button shows its face
// <name>U, <name>D when pressed, <name>X when disabled.
void DrawPicture(const DRAWITEMSTRUCT& item, std::string_view resource);
void DrawBitmapButton(const DRAWITEMSTRUCT& item, std::string_view faceName);

// The list view control: the common controls' list view. Texts cross in the code page. The
// list view destroys the image list it holds when its window goes.
struct ListView::Impl {
    Impl(HWND control, bool report);
    // The list's notifications to `list`, from its parent's WM_NOTIFY; the answer to return.
    LRESULT OnNotify(ListView& list, const NMHDR& header);
    // Loads into the image list the images added to `images` since.
    void SyncImages(const ImageList* images);

    HWND hwnd;
    HIMAGELIST imageList = nullptr;
    int markMovedTo = -1;  // the row a focus change just marked, before its click arrives
};

}  // namespace ui
