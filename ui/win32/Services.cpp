#include "ui/win32/Text.h"
#include "ui/win32/WindowImpl.h"

// After the backend's own headers, which tame the Windows macros.
#include <knownfolders.h>
#include <shlobj.h>

namespace ui {

void MessageBox(Hwnd parent, std::string_view text, std::string_view caption, MessageIcon icon) {
    if (automation().onMessageBox)
        return automation().onMessageBox(std::string(text), std::string(caption));
    const UINT type = icon == MessageIcon::Error         ? MB_ICONERROR
                      : icon == MessageIcon::Information ? MB_ICONINFORMATION
                                                         : MB_ICONEXCLAMATION;
    MessageBoxW(OwnerOf(parent), WidenAnsi(text).c_str(), WidenAnsi(caption).c_str(), MB_OK | type);
}

void MessageBeep() {
    if (automation().onBeep) automation().onBeep();
    ::MessageBeep(0xFFFFFFFF);
}

std::string TextFromPath(const std::filesystem::path& path) {
    return NarrowAnsi(path.wstring());
}

std::filesystem::path PathFromText(std::string_view text) {
    return std::filesystem::path(WidenAnsi(text));
}

// The system's narrow texts (error messages) are in its ANSI code page, which need not be ours.
std::string TextFromSystem(std::string_view text) {
    if (text.empty()) return {};
    const int size = static_cast<int>(text.size());
    const int length = MultiByteToWideChar(CP_ACP, 0, text.data(), size, nullptr, 0);
    if (length <= 0) return {};
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), size, wide.data(), length);
    return NarrowAnsi(wide);
}

namespace {

std::filesystem::path ModulePath() {
    std::wstring name(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, name.data(), static_cast<DWORD>(name.size()));
        if (length < name.size()) {
            name.resize(length);
            return name;
        }
        name.resize(name.size() * 2);
    }
}

}  // namespace

std::filesystem::path ApplicationDirectory() {
    return ModulePath().parent_path();
}

std::string ApplicationName() {
    return NarrowAnsi(ModulePath().stem().wstring());
}

std::filesystem::path UserStateDirectory() {
    // Empty when the system knows none: the program's own folder is no user's to write in.
    wchar_t* folder = nullptr;
    std::filesystem::path state;
    if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_LocalAppData, 0, nullptr, &folder))) state = folder;
    CoTaskMemFree(folder);
    return state;
}

namespace {

constexpr DWORD kMaxFileName = 32768;

std::filesystem::path RunFileDialog(Hwnd parent, const FileDialogOptions& options, bool save) {
    // "label\0pattern\0\0"; the label shows the pattern once.
    const std::wstring label = WidenAnsi(options.filterLabel);
    const std::wstring pattern = WidenAnsi(options.filterPattern);
    std::wstring filter =
        label.find(pattern) == std::wstring::npos ? label + L" (" + pattern + L")" : label;
    filter.push_back(L'\0');
    filter += pattern;
    filter.push_back(L'\0');
    const std::wstring extension = WidenAnsi(options.defaultExtension);
    std::wstring file = save ? WidenAnsi(options.proposedName) : std::wstring();
    file.resize(kMaxFileName, L'\0');
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = OwnerOf(parent);
    dialog.lpstrFilter = filter.c_str();
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = kMaxFileName;
    dialog.lpstrDefExt = extension.empty() ? nullptr : extension.c_str();
    const std::wstring folder = options.startFolder.wstring();
    dialog.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
    dialog.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_NOCHANGEDIR |
                   (save ? OFN_OVERWRITEPROMPT : OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST);
    const BOOL chosen = save ? GetSaveFileNameW(&dialog) : GetOpenFileNameW(&dialog);
    if (!chosen) return {};
    file.resize(wcsnlen(file.c_str(), kMaxFileName));
    return std::filesystem::path(file);
}

}  // namespace

std::filesystem::path ShowFileDialog(Hwnd parent, const FileDialogOptions& options, bool save) {
    return RunFileDialog(parent, options, save);
}

std::filesystem::path UserDocumentsDirectory() {
    wchar_t* folder = nullptr;
    std::filesystem::path documents;
    if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_Documents, 0, nullptr, &folder)))
        documents = folder;
    CoTaskMemFree(folder);
    if (documents.empty()) documents = UserStateDirectory();
    return documents;
}

void NotifyModalStarted(Window& dialog) {
    // Runs inside the dialog's own loop, as a person would act on it.
    if (automation().onModal && dialog.impl().hwnd)
        PostMessageW(dialog.impl().hwnd, kMsgModalStarted, 0, 0);
}

// A message-only window of the UI thread; a message posted to it after it is destroyed is
// dropped by Windows.
struct UiWakeup::Impl {
    static constexpr UINT kMsgWake = WM_APP + 4;

    explicit Impl(std::function<void()> run) : handler(std::move(run)) {
        static const ATOM windowClass = [] {
            WNDCLASSW cls{};
            cls.lpfnWndProc = Proc;
            cls.hInstance = GetModuleHandleW(nullptr);
            cls.lpszClassName = L"QubsetWakeup";
            return RegisterClassW(&cls);
        }();
        window = CreateWindowExW(0, MAKEINTATOM(windowClass), L"", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                 nullptr, GetModuleHandleW(nullptr), nullptr);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    ~Impl() { ::DestroyWindow(window); }
    Impl(const Impl&) = delete;
    Impl& operator=(const Impl&) = delete;

    static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        auto* self = reinterpret_cast<Impl*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        if (message != kMsgWake || !self) return DefWindowProcW(hwnd, message, wParam, lParam);
        self->handler();
        return 0;
    }

    std::function<void()> handler;
    HWND window = nullptr;
};

UiWakeup::UiWakeup(std::function<void()> handler)
    : m_impl(std::make_unique<Impl>(std::move(handler))) {}

UiWakeup::~UiWakeup() = default;

void UiWakeup::Post() {
    PostMessageW(m_impl->window, Impl::kMsgWake, 0, 0);
}

}  // namespace ui
