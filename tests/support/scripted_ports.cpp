#include "support/scripted_ports.h"

bool RecordingSystemPort::SetSystemParameter(UINT action, UINT uiParam, const SpiParam& pvParam,
                                             UINT winIni) {
    parameters.push_back(action);
    std::wstring pv = L"-";
    if (auto* number = std::get_if<UINT_PTR>(&pvParam))
        pv = std::to_wstring(*number);
    else if (auto* text = std::get_if<std::wstring>(&pvParam))
        pv = L"\"" + *text + L"\"";
    else if (auto* a = std::get_if<ANIMATIONINFO>(&pvParam))
        pv = L"{" + std::to_wstring(a->cbSize) + L"," + std::to_wstring(a->iMinAnimate) + L"}";
    calls.push_back(L"SPI " + std::to_wstring(action) + L" " + std::to_wstring(uiParam) + L" " + pv + L" " +
                    std::to_wstring(winIni));
    return true;
}

void RecordingSystemPort::BroadcastSettingChange(WPARAM wParam, const std::wstring& section) {
    broadcasts.push_back(wParam);
    calls.push_back(L"BROADCAST " + std::to_wstring(wParam) + (section.empty() ? L"" : L" " + section));
}

void RecordingSystemPort::NotifyAssociationsChanged() {
    ++associationNotices;
    calls.push_back(L"ASSOCCHANGED");
}

bool RecordingSystemPort::EnableShutdownPrivilege() {
    ++privilegeRequests;
    calls.push_back(L"PRIVILEGE");
    return true;
}

bool RecordingSystemPort::ExitSystem(UINT flags) {
    exits.push_back(flags);
    calls.push_back(L"EXIT " + std::to_wstring(flags));
    return true;
}

void RecordingSystemPort::RunProgram(const std::wstring& commandLine, int showCommand) {
    programs.push_back({commandLine, showCommand});
    calls.push_back(L"RUN " + commandLine + L" " + std::to_wstring(showCommand));
}

void RecordingSystemPort::OpenDocument(const std::wstring& target) {
    documents.push_back(target);
    calls.push_back(L"OPEN " + target);
}

void RecordingSystemPort::OpenHelp(const std::wstring& helpFile, UINT command, const std::wstring& keyword,
                                   ULONG_PTR topic) {
    help.push_back({helpFile, command, keyword, topic});
    calls.push_back(L"HELP " + helpFile + L" " + std::to_wstring(command) + L" " +
                    (keyword.empty() ? std::to_wstring(topic) : keyword));
}

void RecordingSystemPort::SetBusy(bool busy) {
    busyCalls.push_back(busy);
    calls.push_back(busy ? L"BUSY" : L"IDLE");
}

void RecordingSystemPort::Beep() {
    ++beeps;
    calls.push_back(L"BEEP");
}
