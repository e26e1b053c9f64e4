#include "ui/startup.h"

#include "registry/registry.h"

#include <windows.h>

std::wstring ModulePath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n == 0) return {};
        if (n < path.size()) {
            path.resize(n);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

namespace {

std::wstring FolderFrom(UINT (*get)(LPWSTR, UINT)) {
    wchar_t buffer[MAX_PATH + 1];
    UINT n = get(buffer, MAX_PATH + 1);
    return n > 0 && n <= MAX_PATH ? std::wstring(buffer, n) : std::wstring();
}

UINT WindowsFolder(LPWSTR b, UINT n) {
    return GetWindowsDirectoryW(b, n);
}
UINT SystemFolder(LPWSTR b, UINT n) {
    return GetSystemDirectoryW(b, n);
}

} // namespace

StartupFacts FindStartupFacts() {
    StartupFacts f;

    OSVERSIONINFOW version{};
    version.dwOSVersionInfoSize = sizeof version;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    BOOL gotVersion = GetVersionExW(&version);
#pragma GCC diagnostic pop
    if (gotVersion && version.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS) {
        f.OsKind = L"Win 95";
        f.OsName = L"Windows 95";
    } else if (gotVersion && version.dwPlatformId == VER_PLATFORM_WIN32_NT) {
        f.OsKind = L"Win NT";
        f.OsName = L"Windows NT";
    }

    f.HasPlus = !(Registry::ReadString(L"HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Plus!\\Setup",
                                       L"COOL.DLL") == Registry::ErrorText &&
                  !f.IsNT());

    f.WindowsDir = FolderFrom(WindowsFolder);
    f.SystemDir = FolderFrom(SystemFolder);

    if (HDC screen = GetDC(nullptr)) {
        f.ColourDepth = GetDeviceCaps(screen, BITSPIXEL);
        f.ScreenWidth = GetDeviceCaps(screen, HORZRES);
        f.ScreenHeight = GetDeviceCaps(screen, VERTRES);
        ReleaseDC(nullptr, screen);
    }

    f.IEVersion =
        Registry::ReadString(L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Internet Explorer", L"Version");
    f.HasIE4Shell = IsIE4ShellVersion(f.IEVersion);

    std::wstring module = ModulePath();
    size_t slash = module.rfind(L'\\');
    f.AppDir = slash == std::wstring::npos ? std::wstring() : module.substr(0, slash);
    std::wstring name = slash == std::wstring::npos ? module : module.substr(slash + 1);
    if (size_t dot = name.rfind(L'.'); dot != std::wstring::npos) name.resize(dot);
    f.OwnExePath = f.AppDir + L"\\" + name + L".exe";
    f.HelpFile = f.AppDir + L"\\Help.hlp";
    return f;
}
