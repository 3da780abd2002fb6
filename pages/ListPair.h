// Two lists that share one set of items, each item in the one or the other or, filtered out,
// in neither: the communication page's installed and available protocols, the event list's
// events sent and not sent.
#pragma once

#include <cstdint>
#include <string_view>

#include "ui/ListView.h"

struct ListPair {
    ui::ListView* first;
    ui::ListView* second;

    // Both emptied, to be filled anew from the record.
    void Clear() const {
        first->DeleteAllItems();
        second->DeleteAllItems();
    }
    // At the end of the first list or of the second.
    void Append(bool toFirst, std::string_view text, int image, std::intptr_t data) const {
        ui::ListView* list = toFirst ? first : second;
        list->InsertItem(list->GetItemCount(), text, image, data);
    }
};
