#include "ui/win32/Controls.h"

#include <algorithm>
#include <map>

#include "ui/EditRules.h"
#include "ui/win32/Dpi.h"
#include "ui/win32/Text.h"

namespace ui {

// --- resources ---

ResourceImage ParseResource(std::string_view resource) {
    ResourceImage image;
    const auto slash = resource.find('/');
    if (slash == std::string_view::npos) return image;
    image.icon = resource.substr(0, slash) == "icon";
    const std::string_view id = resource.substr(slash + 1);
    const bool numeric = !id.empty() && std::all_of(id.begin(), id.end(),
                                                    [](char c) { return c >= '0' && c <= '9'; });
    if (numeric) {
        int number = 0;
        for (const char c : id) number = number * 10 + (c - '0');
        image.name = MAKEINTRESOURCEW(number);
    } else {
        image.text = WidenAnsi(id);
        image.name = image.text.c_str();
    }
    return image;
}

namespace {

// Between a bitmap button's edge and its focus rectangle, in pixels at 96 DPI.
constexpr int kFocusInset = 3;

// A bitmap with an alpha channel has its colours premultiplied, as AlphaBlend takes them.
void Premultiply(HBITMAP bitmap) {
    DIBSECTION dib{};
    if (GetObjectW(bitmap, sizeof dib, &dib) != sizeof dib || dib.dsBm.bmBitsPixel != 32) return;
    auto* pixel = static_cast<BYTE*>(dib.dsBm.bmBits);
    const long count = static_cast<long>(dib.dsBm.bmWidth) * std::abs(dib.dsBm.bmHeight);
    for (long i = 0; i < count; ++i, pixel += 4)
        for (int c = 0; c < 3; ++c) pixel[c] = static_cast<BYTE>(pixel[c] * pixel[3] / 255);
}

// Bitmaps are loaded once and kept for the whole run.
HBITMAP LoadBitmapResource(std::string_view resource) {
    static std::map<std::string, HBITMAP, std::less<>> loaded;
    const auto found = loaded.find(resource);
    if (found != loaded.end()) return found->second;
    const ResourceImage image = ParseResource(resource);
    auto bitmap =
        static_cast<HBITMAP>(image.name ? LoadImageW(GetModuleHandleW(nullptr), image.name,
                                                     IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)
                                        : nullptr);
    if (bitmap) Premultiply(bitmap);
    loaded.emplace(std::string(resource), bitmap);
    return bitmap;
}

RECT Fit(const RECT& area, int width, int height) {
    const int areaW = area.right - area.left;
    const int areaH = area.bottom - area.top;
    if (width <= 0 || height <= 0) return area;
    int w = areaW;
    int h = static_cast<int>(static_cast<long long>(height) * areaW / width);
    if (h > areaH) {
        h = areaH;
        w = static_cast<int>(static_cast<long long>(width) * areaH / height);
    }
    const int x = area.left + (areaW - w) / 2;
    const int y = area.top + (areaH - h) / 2;
    return {x, y, x + w, y + h};
}

void DrawBitmap(HDC dc, const RECT& area, HBITMAP bitmap) {
    BITMAP info{};
    if (!GetObjectW(bitmap, sizeof info, &info)) return;
    const RECT to = Fit(area, info.bmWidth, info.bmHeight);
    HDC source = CreateCompatibleDC(dc);
    const HGDIOBJ old = SelectObject(source, bitmap);
    if (info.bmBitsPixel == 32) {
        const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
        AlphaBlend(dc, to.left, to.top, to.right - to.left, to.bottom - to.top, source, 0, 0,
                   info.bmWidth, info.bmHeight, blend);
    } else {
        SetStretchBltMode(dc, HALFTONE);
        SetBrushOrgEx(dc, 0, 0, nullptr);
        StretchBlt(dc, to.left, to.top, to.right - to.left, to.bottom - to.top, source, 0, 0,
                   info.bmWidth, info.bmHeight, SRCCOPY);
    }
    SelectObject(source, old);
    DeleteDC(source);
}

}  // namespace

HICON LoadIconResource(std::string_view resource, int size) {
    const ResourceImage image = ParseResource(resource);
    if (!image.icon || !image.name) return nullptr;
    return static_cast<HICON>(
        LoadImageW(GetModuleHandleW(nullptr), image.name, IMAGE_ICON, size, size, 0));
}

void DrawResource(HDC dc, const RECT& area, std::string_view resource) {
    if (ParseResource(resource).icon) {
        const RECT square = Fit(area, 1, 1);
        const int size = square.right - square.left;
        if (HICON icon = LoadIconResource(resource, size)) {
            DrawIconEx(dc, square.left, square.top, icon, size, size, 0, nullptr, DI_NORMAL);
            DestroyIcon(icon);
        }
    } else if (HBITMAP bitmap = LoadBitmapResource(resource)) {
        DrawBitmap(dc, area, bitmap);
    }
}

void DrawPicture(const DRAWITEMSTRUCT& item, std::string_view resource) {
    FillRect(item.hDC, &item.rcItem, GetSysColorBrush(COLOR_BTNFACE));
    if (!resource.empty()) DrawResource(item.hDC, item.rcItem, resource);
}

void DrawBitmapButton(const DRAWITEMSTRUCT& item, std::string_view faceName) {
    const char face = (item.itemState & ODS_DISABLED)   ? 'X'
                      : (item.itemState & ODS_SELECTED) ? 'D'
                                                        : 'U';
    FillRect(item.hDC, &item.rcItem, GetSysColorBrush(COLOR_BTNFACE));
    DrawResource(item.hDC, item.rcItem, "bitmap/" + std::string(faceName) + face);
    if (item.itemState & ODS_FOCUS) {
        RECT focus = item.rcItem;
        const int inset = ScalePixels(item.hwndItem, kFocusInset);
        InflateRect(&focus, -inset, -inset);
        DrawFocusRect(item.hDC, &focus);
    }
}

// --- list view ---

ListView::Impl::Impl(HWND control, bool report) : hwnd(control) {
    SendMessageW(hwnd, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER);
    if (!report) return;
    RECT client{};
    GetClientRect(hwnd, &client);
    LVCOLUMNW column{};
    column.mask = LVCF_WIDTH;
    column.cx = client.right - client.left;
    SendMessageW(hwnd, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
}

ListView::ListView(std::unique_ptr<Impl> impl) : m_impl(std::move(impl)) {}

ListView::~ListView() = default;

void ListView::Impl::SyncImages(const ImageList* images) {
    if (!images || !imageList) return;
    for (int i = ImageList_GetImageCount(imageList); i < images->count(); ++i) {
        HICON icon = LoadIconResource(images->resource(i), ScalePixels(hwnd, images->size()));
        ImageList_ReplaceIcon(imageList, -1, icon);
        if (icon) DestroyIcon(icon);
    }
}

int ListView::InsertRow(int index, std::string_view bytes, int image, std::intptr_t itemData) {
    m_impl->SyncImages(GetImageList());
    std::wstring text = WidenAnsi(bytes);
    LVITEMW item{};
    item.mask = LVIF_TEXT | LVIF_PARAM | LVIF_IMAGE;
    item.iItem = index;
    item.pszText = text.data();
    item.iImage = image;
    item.lParam = itemData;
    return static_cast<int>(
        SendMessageW(m_impl->hwnd, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
}

void ListView::RemoveRow(int index) {
    SendMessageW(m_impl->hwnd, LVM_DELETEITEM, static_cast<WPARAM>(index), 0);
}

int ListView::GetItemCount() const {
    return static_cast<int>(SendMessageW(m_impl->hwnd, LVM_GETITEMCOUNT, 0, 0));
}

std::string ListView::GetItemText(int index) const {
    if (!HasRow(index)) return {};
    std::wstring buffer(256, L'\0');
    for (;;) {
        LVITEMW item{};
        item.iSubItem = 0;
        item.pszText = buffer.data();
        item.cchTextMax = static_cast<int>(buffer.size());
        const auto length = static_cast<std::size_t>(SendMessageW(m_impl->hwnd, LVM_GETITEMTEXTW,
                                                                  static_cast<WPARAM>(index),
                                                                  reinterpret_cast<LPARAM>(&item)));
        if (length + 1 < buffer.size()) return NarrowAnsi(std::wstring_view(buffer.data(), length));
        buffer.resize(buffer.size() * 2);
    }
}

void ListView::SetItemText(int index, std::string_view bytes) {
    if (!HasRow(index)) return;
    std::wstring text = WidenAnsi(bytes);
    LVITEMW item{};
    item.iSubItem = 0;
    item.pszText = text.data();
    SendMessageW(m_impl->hwnd, LVM_SETITEMTEXTW, static_cast<WPARAM>(index),
                 reinterpret_cast<LPARAM>(&item));
}

int ListView::GetItemImage(int index) const {
    if (!HasRow(index)) return -1;
    LVITEMW item{};
    item.mask = LVIF_IMAGE;
    item.iItem = index;
    SendMessageW(m_impl->hwnd, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    return item.iImage;
}

std::intptr_t ListView::GetItemData(int index) const {
    if (!HasRow(index)) return 0;
    LVITEMW item{};
    item.mask = LVIF_PARAM;
    item.iItem = index;
    SendMessageW(m_impl->hwnd, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    return item.lParam;
}

void ListView::ShowSelectionMark(int index) {
    SendMessageW(m_impl->hwnd, LVM_SETSELECTIONMARK, 0, index);
}

std::vector<int> ListView::GetSelectedItems() const {
    std::vector<int> rows;
    int row = -1;
    while ((row = static_cast<int>(SendMessageW(m_impl->hwnd, LVM_GETNEXTITEM,
                                                static_cast<WPARAM>(row), LVNI_SELECTED))) >= 0)
        rows.push_back(row);
    return rows;
}

void ListView::SetItemSelected(int index, bool selected) {
    if (!HasRow(index)) return;
    LVITEMW item{};
    item.stateMask = LVIS_SELECTED;
    item.state = selected ? LVIS_SELECTED : 0;
    SendMessageW(m_impl->hwnd, LVM_SETITEMSTATE, static_cast<WPARAM>(index),
                 reinterpret_cast<LPARAM>(&item));
}

void ListView::ShowImages(const ImageList* images) {
    const int size = images ? ScalePixels(m_impl->hwnd, images->size()) : 0;
    HIMAGELIST list =
        images ? ImageList_Create(size, size, ILC_COLOR32 | ILC_MASK, images->count(), 4) : nullptr;
    m_impl->imageList = list;
    m_impl->SyncImages(images);
    const auto previous = reinterpret_cast<HIMAGELIST>(
        SendMessageW(m_impl->hwnd, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(list)));
    if (previous) ImageList_Destroy(previous);
}

void ListView::InsertColumn(std::string_view header, int widthPixels) {
    std::wstring text = WidenAnsi(header);
    const int width = ScalePixels(m_impl->hwnd, widthPixels);
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.pszText = text.data();
    column.cx = width;
    if (!SendMessageW(m_impl->hwnd, LVM_SETCOLUMNW, 0, reinterpret_cast<LPARAM>(&column)))
        SendMessageW(m_impl->hwnd, LVM_SETCOLUMNWIDTH, 0, width);  // list mode has no header
}

void ListView::EditLabel(int index) {
    if (!HasRow(index)) return;
    SetFocus(m_impl->hwnd);
    SendMessageW(m_impl->hwnd, LVM_EDITLABELW, static_cast<WPARAM>(index), 0);
}

LRESULT ListView::Impl::OnNotify(ListView& list, const NMHDR& header) {
    switch (header.code) {
        case LVN_ITEMCHANGED: {
            // The focused row moved, by the keyboard or by a click whose own report follows.
            const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
            const bool focused =
                (change.uNewState & LVIS_FOCUSED) && !(change.uOldState & LVIS_FOCUSED);
            if (!(change.uChanged & LVIF_STATE) || !focused || change.iItem < 0 ||
                change.iItem == list.GetSelectionMark())
                return 0;
            markMovedTo = (GetKeyState(VK_LBUTTON) < 0) ? change.iItem : -1;
            list.MoveMark(change.iItem);
            return 0;
        }
        case NM_CLICK: {
            const int row = reinterpret_cast<const NMITEMACTIVATE&>(header).iItem;
            const bool reported = row == markMovedTo;
            markMovedTo = -1;
            if (row >= 0 && !reported) list.MoveMark(row);
            return 0;
        }
        case LVN_ITEMACTIVATE:
            list.ActivateItem(reinterpret_cast<const NMITEMACTIVATE&>(header).iItem);
            return 0;
        case LVN_ENDLABELEDITW: {
            // The owner decides whether the row takes the new text.
            const auto& edit = reinterpret_cast<const NMLVDISPINFOW&>(header);
            if (!edit.item.pszText || !list.onEndLabelEdit) return FALSE;
            if (HoldsForeignCharacter(std::wstring_view(edit.item.pszText))) {
                MessageBeep();
                return FALSE;
            }
            const std::string text = NarrowAnsi(edit.item.pszText);
            if (text != list.GetItemText(edit.item.iItem))
                list.onEndLabelEdit(edit.item.iItem, text);
            return FALSE;
        }
        default:
            return 0;
    }
}

}  // namespace ui
