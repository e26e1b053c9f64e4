#include "controls/common_dialog.h"

#include "platform/late_bound.h"

#include <vector>

namespace {
// Long enough for any path the platform allows, so a long path is never taken for a cancel.
constexpr DWORD PathBufferChars = 32768;
} // namespace

CommonDialog::CommonDialog(HWND owner) : owner_(owner) {}

bool CommonDialog::ShowOpen(std::wstring& fileName) {
    return Show(fileName, false);
}

bool CommonDialog::ShowSave(std::wstring& fileName) {
    return Show(fileName, true);
}

bool CommonDialog::Show(std::wstring& fileName, bool save) {
    std::vector<wchar_t> file(PathBufferChars, L'\0');
    std::vector<wchar_t> title(MAX_PATH, L'\0');
    // The filter's own NULs separate the pairs; the string's terminator completes the double NUL.
    std::wstring filter = filter_;
    filter.push_back(L'\0');

    OPENFILENAMEW request{};
    request.lStructSize = sizeof request;
    request.hwndOwner = owner_;
    request.hInstance = GetModuleHandleW(nullptr);
    request.lpstrFilter = filter_.empty() ? nullptr : filter.c_str();
    request.nFilterIndex = filterIndex_;
    request.lpstrFile = file.data();
    request.nMaxFile = PathBufferChars;
    request.lpstrFileTitle = title.data();
    request.nMaxFileTitle = MAX_PATH;
    request.lpstrTitle = title_.empty() ? nullptr : title_.c_str();
    request.Flags =
        OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST | (save ? OFN_OVERWRITEPROMPT : 0);

    auto* show = LateBound<decltype(GetOpenFileNameW)>(L"comdlg32.dll",
                                                       save ? "GetSaveFileNameW" : "GetOpenFileNameW");
    const BOOL chosen = show ? show(&request) : FALSE;
    filterIndex_ = request.nFilterIndex;
    fileName = chosen ? std::wstring(file.data()) : std::wstring();
    return chosen != FALSE;
}
