#include "icons/icon_location.h"

#include "platform/text.h"

#include <windows.h>

#include <chrono>

SplitLocation SplitIconLocation(std::wstring_view reference) {
    size_t comma = reference.rfind(L',');
    if (comma == std::wstring_view::npos) return {std::wstring(reference), std::int16_t{0}, false};
    return {std::wstring(reference.substr(0, comma)), text::ParseInt16(reference.substr(comma + 1)), true};
}

std::wstring FormatIconLocation(std::wstring_view file, std::int16_t index) {
    return std::wstring(file) + L"," + std::to_wstring(index);
}

std::wstring ExpandSystemRoot(std::wstring_view reference, std::wstring_view windowsDir) {
    constexpr std::wstring_view macro = L"%SystemRoot%";
    if (!text::StartsWithNoCase(reference, macro)) return std::wstring(reference);
    return std::wstring(windowsDir) + std::wstring(reference.substr(macro.size()));
}

bool FileExists(const std::wstring& path) {
    if (path.empty() || path.find_first_of(L"*?") != std::wstring::npos) return false;
    DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::wstring FileTitle(std::wstring_view path) {
    if (size_t slash = path.rfind(L'\\'); slash != std::wstring_view::npos)
        return std::wstring(path.substr(slash + 1));
    if (path.size() >= 2 && path[1] == L':') return std::wstring(path.substr(2));
    return std::wstring(path);
}

namespace {
std::wstring CurrentFolder() {
    DWORD n = GetCurrentDirectoryW(0, nullptr);
    std::wstring folder(n, L'\0');
    folder.resize(GetCurrentDirectoryW(n, folder.data()));
    return folder;
}
} // namespace

std::wstring FolderOfPath(std::wstring_view path) {
    if (size_t slash = path.rfind(L'\\'); slash != std::wstring_view::npos)
        return std::wstring(path.substr(0, slash + 1));
    if (path.size() >= 2 && path[1] == L':') {
        // The drive's own current folder, which the platform keeps per drive. It ends in a backslash like
        // every other result, so that folder and file title join into the file's path.
        std::wstring drive(path.substr(0, 2));
        wchar_t buffer[MAX_PATH];
        DWORD n = GetFullPathNameW(drive.c_str(), MAX_PATH, buffer, nullptr);
        if (n > 0 && n < MAX_PATH) {
            std::wstring folder(buffer, n);
            if (folder.back() != L'\\') folder += L'\\';
            return folder;
        }
    }
    return CurrentFolder() + L"\\";
}

std::wstring FileBaseName(std::wstring_view path) {
    std::wstring title = FileTitle(path);
    if (size_t dot = title.find(L'.'); dot != std::wstring::npos) title.resize(dot);
    return title;
}

bool DoEvents() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            return false;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return true;
}

void Pause(float seconds) {
    using clock = std::chrono::steady_clock;
    if (!(seconds > 0)) return;
    const auto end =
        clock::now() + std::chrono::duration_cast<clock::duration>(std::chrono::duration<float>(seconds));
    for (;;) {
        if (!DoEvents()) return;
        auto now = clock::now();
        if (now >= end) return;
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - now).count();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(left) + 1, QS_ALLINPUT);
    }
}
