#include "platform/ports.h"

#include "platform/late_bound.h"
#include "platform/unique_handle.h"

#include <shellapi.h>
#include <shlobj.h>

void RealMessageBoxPort::ShowMessage(const std::wstring& text) {
    MessageBoxW(GetActiveWindow(), text.c_str(), L"Tessaly", MB_OK);
}

bool RealSystemPort::SetSystemParameter(UINT action, UINT uiParam, const SpiParam& pvParam, UINT winIni) {
    void* pv = nullptr;
    std::wstring textCopy;
    ANIMATIONINFO animation{};
    if (auto* record = std::get_if<ANIMATIONINFO>(&pvParam)) {
        animation = *record;
        pv = &animation;
    } else if (auto* number = std::get_if<UINT_PTR>(&pvParam)) {
        pv = reinterpret_cast<void*>(*number);
    } else if (auto* text = std::get_if<std::wstring>(&pvParam)) {
        textCopy = *text;
        pv = textCopy.data();
    }
    return SystemParametersInfoW(action, uiParam, pv, winIni) != FALSE;
}

void RealSystemPort::BroadcastSettingChange(WPARAM wParam, const std::wstring& section) {
    DWORD_PTR result = 0;
    SendMessageTimeoutW(HWND_BROADCAST, WM_SETTINGCHANGE, wParam,
                        section.empty() ? 0 : reinterpret_cast<LPARAM>(section.c_str()), SMTO_ABORTIFHUNG,
                        5000, &result);
}

void RealSystemPort::NotifyAssociationsChanged() {
    if (auto* notify = LateBound<decltype(SHChangeNotify)>(L"shell32.dll", "SHChangeNotify"))
        notify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, nullptr, nullptr);
}

bool RealSystemPort::EnableShutdownPrivilege() {
    UniqueKernelHandle token;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, token.put())) {
        token.abandon();
        return false;
    }
    TOKEN_PRIVILEGES privileges{};
    if (!LookupPrivilegeValueW(nullptr, SE_SHUTDOWN_NAME, &privileges.Privileges[0].Luid)) return false;
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    return AdjustTokenPrivileges(token.get(), FALSE, &privileges, 0, nullptr, nullptr) != FALSE;
}

bool RealSystemPort::ExitSystem(UINT flags) {
    return ExitWindowsEx(flags, 0) != FALSE;
}

void RealSystemPort::RunProgram(const std::wstring& commandLine, int showCommand) {
    std::wstring line = commandLine;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = static_cast<WORD>(showCommand);
    PROCESS_INFORMATION process{};
    if (CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                       &process)) {
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
}

void RealSystemPort::OpenDocument(const std::wstring& target) {
    if (auto* execute = LateBound<decltype(ShellExecuteW)>(L"shell32.dll", "ShellExecuteW"))
        execute(owner, L"Open", target.c_str(), L"0", target.c_str(), SW_SHOWNORMAL);
}

// The help is carried inside the program: current systems no longer open the old help files.
void RealSystemPort::OpenHelp(const std::wstring&, UINT command, const std::wstring& keyword,
                              ULONG_PTR topic) {
    if (helpViewer) helpViewer(command, keyword, topic);
}

void RealSystemPort::SetBusy(bool busy) {
    SetCursor(LoadCursorW(nullptr, busy ? IDC_WAIT : IDC_ARROW));
}

void RealSystemPort::Beep() {
    MessageBeep(MB_OK);
}
