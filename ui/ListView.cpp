#include "ui/ListView.h"

#include <algorithm>

namespace ui {

int ImageList::Add(std::string_view resource) {
    m_resources.emplace_back(resource);
    return count() - 1;
}

std::string ImageList::resource(int index) const {
    return index >= 0 && index < count() ? m_resources[static_cast<std::size_t>(index)]
                                         : std::string();
}

int ListView::InsertItem(int index, std::string_view text, int image, std::intptr_t data) {
    const int row = InsertRow(std::clamp(index, 0, GetItemCount()), text, image, data);
    if (row < 0) return -1;
    if (m_mark >= row) ++m_mark;
    if (onItemInserted) onItemInserted(row);
    return row;
}

bool ListView::DeleteItem(int index) {
    if (!HasRow(index)) return false;
    if (onItemDeleting) onItemDeleting(index);
    RemoveRow(index);
    if (m_mark == index)
        m_mark = -1;
    else if (m_mark > index)
        --m_mark;
    return true;
}

void ListView::DeleteAllItems() {
    while (GetItemCount() > 0) DeleteItem(GetItemCount() - 1);
    SetSelectionMark(-1);
}

void ListView::SetSelectionMark(int index) {
    m_mark = index;
    ShowSelectionMark(index);
}

void ListView::MoveMark(int row) {
    m_mark = row;
    if (onItemChanging) onItemChanging(row);
}

void ListView::SetImageList(const ImageList* images) {
    m_images = images;
    ShowImages(images);
}

void ListView::ActivateItem(int index) {
    if (onItemActivate && HasRow(index)) onItemActivate(index);
}

}  // namespace ui
