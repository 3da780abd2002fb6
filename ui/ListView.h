// A list view in list mode or report mode, and the image list its rows draw from. Rows carry
// a text, an image index and item data; the selection mark is kept as the list view keeps it;
// a sorted list inserts by text; rows can be renamed in place.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace ui {

// Images by resource name ("icon/194"), all drawn at one size, in pixels at 96 DPI (the
// backend draws them larger on a screen of more dots per inch).
class ImageList {
  public:
    explicit ImageList(int size) : m_size(size) {}
    int Add(std::string_view resource);
    int size() const { return m_size; }
    int count() const { return static_cast<int>(m_resources.size()); }
    // The resource of an image, empty for an index the list does not have.
    std::string resource(int index) const;

  private:
    int m_size;
    std::vector<std::string> m_resources;
};

// One class for both backends, as Window is. ui/ListView.cpp defines InsertItem, DeleteItem,
// DeleteAllItems, SetSelectionMark, MoveMark, SetImageList and ActivateItem: the selection mark,
// the image list and the notifications around inserts and deletes. Each backend (ui/qt,
// ui/win32) owes Impl, the constructor and destructor, every control call from GetItemCount to
// EditLabel and the private control calls from InsertRow to ShowSelectionMark, in its
// Controls.cpp.
class ListView {
  public:
    // The backend's side of the list: the control it drives. Only the backend knows it.
    struct Impl;
    explicit ListView(std::unique_ptr<Impl> impl);
    ~ListView();
    ListView(const ListView&) = delete;
    ListView& operator=(const ListView&) = delete;
    Impl& impl() const { return *m_impl; }

    // The row lands at `index` (in a sorted list where its text belongs); its row, or -1.
    int InsertItem(int index, std::string_view text, int image, std::intptr_t data);
    bool DeleteItem(int index);
    void DeleteAllItems();
    bool HasRow(int index) const { return index >= 0 && index < GetItemCount(); }
    int GetItemCount() const;
    std::string GetItemText(int index) const;
    void SetItemText(int index, std::string_view text);
    int GetItemImage(int index) const;
    std::intptr_t GetItemData(int index) const;

    // The mark follows its row as rows come and go above it; -1 once its row is deleted.
    int GetSelectionMark() const { return m_mark; }
    void SetSelectionMark(int index);
    // Selected rows, top to bottom.
    std::vector<int> GetSelectedItems() const;
    void SetItemSelected(int index, bool selected);

    void SetImageList(const ImageList* images);
    const ImageList* GetImageList() const { return m_images; }
    // The width is in pixels at 96 DPI, as the image sizes are.
    void InsertColumn(std::string_view header, int widthPixels);
    // Starts an in-place edit of a row's text.
    void EditLabel(int index);
    void ActivateItem(int index);

    // Notifications.
    std::function<void(int index)> onItemActivate;  // double click or Enter
    std::function<void(int index)> onItemChanging;  // a row is about to change state
    std::function<void(int index)> onItemInserted;
    std::function<void(int index)> onItemDeleting;  // the row is still counted
    std::function<void(int index, const std::string& text)> onEndLabelEdit;

  private:
    // The control takes a row at `index` (0..count); the row it landed on, or -1.
    int InsertRow(int index, std::string_view text, int image, std::intptr_t data);
    // The control drops a row it has.
    void RemoveRow(int index);
    // The control draws its rows' images from `images` (nullptr: none) from now on.
    void ShowImages(const ImageList* images);
    // A control with a mark of its own (the anchor of a shift-click) follows ours.
    void ShowSelectionMark(int index);
    // The user moved the mark to `row`, by a click or a key: onItemChanging hears of it. The
    // backend's Impl calls it from the control's notifications.
    void MoveMark(int row);

    std::unique_ptr<Impl> m_impl;
    const ImageList* m_images = nullptr;
    int m_mark = -1;
};

}  // namespace ui
