#include "support/scripted_ports.h"

bool RecordingSystemPort::SetSystemParameter(UINT action, UINT uiParam, const SpiParam& pvParam,
                                             UINT winIni) {
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
    calls.push_back(L"BROADCAST " + std::to_wstring(wParam) + (section.empty() ? L"" : L" " + section));
}
