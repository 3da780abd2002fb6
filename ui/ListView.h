// A list view in list mode or report mode, and the image list its rows draw from. Rows carry
// a text, an image index and item data; the selection mark is kept as the list view keeps it;
// a sorted list inserts by text; rows can be renamed in place.
#pragma once

#include <cstdint>
#include <functional>
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

// The shared half (ListView.cpp) keeps the selection mark, the image list and the notifications
// around inserts and deletes; a backend owes every pure member, the protected ones included.
class ListView {
  public:
    virtual ~ListView() = default;

    // The row lands at `index` (in a sorted list where its text belongs); its row, or -1.
    int InsertItem(int index, std::string_view text, int image, std::intptr_t data);
    bool DeleteItem(int index);
    void DeleteAllItems();
    bool HasRow(int index) const { return index >= 0 && index < GetItemCount(); }
    virtual int GetItemCount() const = 0;
    virtual std::string GetItemText(int index) const = 0;
    virtual void SetItemText(int index, std::string_view text) = 0;
    virtual int GetItemImage(int index) const = 0;
    virtual std::intptr_t GetItemData(int index) const = 0;

    // The mark follows its row as rows come and go above it; -1 once its row is deleted.
    int GetSelectionMark() const { return m_mark; }
    void SetSelectionMark(int index);
    // Selected rows, top to bottom.
    virtual std::vector<int> GetSelectedItems() const = 0;
    virtual void SetItemSelected(int index, bool selected) = 0;

    void SetImageList(const ImageList* images);
    const ImageList* GetImageList() const { return m_images; }
    // The width is in pixels at 96 DPI, as the image sizes are.
    virtual void InsertColumn(std::string_view header, int widthPixels) = 0;
    // Starts an in-place edit of a row's text.
    virtual void EditLabel(int index) = 0;
    void ActivateItem(int index);

    // Notifications.
    std::function<void(int index)> onItemActivate;  // double click or Enter
    std::function<void(int index)> onItemChanging;  // a row is about to change state
    std::function<void(int index)> onItemInserted;
    std::function<void(int index)> onItemDeleting;  // the row is still counted
    std::function<void(int index, const std::string& text)> onEndLabelEdit;

  protected:
    // The control takes a row at `index` (0..count); the row it landed on, or -1.
    virtual int InsertRow(int index, std::string_view text, int image, std::intptr_t data) = 0;
    // The control drops a row it has.
    virtual void RemoveRow(int index) = 0;
    // The control draws its rows' images from `images` (nullptr: none) from now on.
    virtual void ShowImages(const ImageList* images) = 0;
    // A control with a mark of its own (the anchor of a shift-click) follows ours.
    virtual void ShowSelectionMark(int /*index*/) {}
    // The user moved the mark to `row`, by a click or a key: onItemChanging hears of it.
    void MoveMark(int row);

  private:
    const ImageList* m_images = nullptr;
    int m_mark = -1;
};

}  // namespace ui
