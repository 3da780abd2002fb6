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

// The list view control. Texts cross in the code page.
class ListViewControl : public ListView {
  public:
    ListViewControl(HWND list, bool report);
    ~ListViewControl() override;
    ListViewControl(const ListViewControl&) = delete;
    ListViewControl& operator=(const ListViewControl&) = delete;

    int GetItemCount() const override;
    std::string GetItemText(int index) const override;
    void SetItemText(int index, std::string_view text) override;
    int GetItemImage(int index) const override;
    std::intptr_t GetItemData(int index) const override;
    std::vector<int> GetSelectedItems() const override;
    void SetItemSelected(int index, bool selected) override;
    void InsertColumn(std::string_view header, int widthPixels) override;
    void EditLabel(int index) override;

    // The list's notifications, from its parent's WM_NOTIFY; the answer to return.
    LRESULT OnNotify(const NMHDR& header);
    HWND hwnd() const { return m_list; }

  protected:
    int InsertRow(int index, std::string_view text, int image, std::intptr_t data) override;
    void RemoveRow(int index) override;
    void ShowImages(const ImageList* images) override;
    void ShowSelectionMark(int index) override;

  private:
    void SyncImages();

    HWND m_list;
    HIMAGELIST m_imageList = nullptr;
    int m_markMovedTo = -1;  // the row a focus change just marked, before its click arrives
};

}  // namespace ui
