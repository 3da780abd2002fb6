#include "ui/ListView.h"

namespace ui {

int ImageList::Add(std::string_view resource) {
    m_resources.emplace_back(resource);
    return count() - 1;
}

std::string ImageList::resource(int index) const {
    return index >= 0 && index < count() ? m_resources[static_cast<std::size_t>(index)]
                                         : std::string();
}

void ListView::DeleteAllItems() {
    while (GetItemCount() > 0) DeleteItem(GetItemCount() - 1);
    SetSelectionMark(-1);
}

}  // namespace ui
