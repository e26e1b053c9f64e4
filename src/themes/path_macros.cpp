#include "themes/path_macros.h"

#include "platform/text.h"

namespace {

// The rest of the reference after "folder\" when it begins so (letter case counting).
bool AfterFolder(std::wstring_view reference, std::wstring_view folder, std::wstring_view& rest) {
    if (folder.empty() || reference.size() <= folder.size() || !reference.starts_with(folder) ||
        reference[folder.size()] != L'\\')
        return false;
    rest = reference.substr(folder.size() + 1);
    return true;
}

} // namespace

std::wstring CompressThemePath(std::wstring_view reference, const ThemeFolders& folders) {
    std::wstring_view rest;
    if (AfterFolder(reference, folders.SystemDir, rest)) return L"%WinSysDir%" + std::wstring(rest);
    if (AfterFolder(reference, folders.WindowsDir, rest)) return L"%WinDir%" + std::wstring(rest);
    if (size_t slash = reference.rfind(L'\\'); slash != std::wstring_view::npos) {
        if (text::EqualsNoCase(reference.substr(0, slash + 1), folders.ThemeFolder + L"\\"))
            return L"%ThemeDir%" + std::wstring(reference.substr(slash + 1));
    }
    if (AfterFolder(reference, folders.AppDir, rest)) return L"%AppDir%" + std::wstring(rest);
    return std::wstring(reference);
}

std::wstring ExpandThemePath(std::wstring_view stored, const ThemeFolders& folders) {
    const std::pair<std::wstring_view, const std::wstring*> macros[] = {
        {L"%ThemeDir%", &folders.ThemeFolder}, {L"%WinSysDir%", &folders.SystemDir},
        {L"%WinDir%", &folders.WindowsDir},    {L"%AppDir%", &folders.AppDir},
        {L"%Folder%", &folders.ThemeFolder},
    };
    for (const auto& [macro, folder] : macros)
        if (stored.starts_with(macro)) return *folder + L"\\" + std::wstring(stored.substr(macro.size()));
    return std::wstring(stored);
}
