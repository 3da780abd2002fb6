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

class ListView {
  public:
    virtual ~ListView() = default;

    virtual int InsertItem(int index, std::string_view text, int image, std::intptr_t data) = 0;
    virtual bool DeleteItem(int index) = 0;
    void DeleteAllItems();
    virtual int GetItemCount() const = 0;
    virtual std::string GetItemText(int index) const = 0;
    virtual void SetItemText(int index, std::string_view text) = 0;
    virtual int GetItemImage(int index) const = 0;
    virtual std::intptr_t GetItemData(int index) const = 0;

    virtual int GetSelectionMark() const = 0;
    virtual void SetSelectionMark(int index) = 0;
    // Selected rows, top to bottom.
    virtual std::vector<int> GetSelectedItems() const = 0;
    virtual void SetItemSelected(int index, bool selected) = 0;

    virtual void SetImageList(const ImageList* images) = 0;
    virtual const ImageList* GetImageList() const = 0;
    // The width is in pixels at 96 DPI, as the image sizes are.
    virtual void InsertColumn(std::string_view header, int widthPixels) = 0;
    // Starts an in-place edit of a row's text.
    virtual void EditLabel(int index) = 0;
    virtual void ActivateItem(int index) = 0;

    // Notifications.
    std::function<void(int index)> onItemActivate;  // double click or Enter
    std::function<void(int index)> onItemChanging;  // a row is about to change state
    std::function<void(int index)> onItemInserted;
    std::function<void(int index)> onItemDeleting;  // the row is still counted
    std::function<void(int index, const std::string& text)> onEndLabelEdit;
};

}  // namespace ui
