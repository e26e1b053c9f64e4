#pragma once
// Scripted stand-ins for the icon commands' ports: a picker that answers from a script and records what it
// was asked, and a view that records what the window was told. File dialogs: ScriptedFileDialogPort.
#include "icons/icon_ports.h"
#include "support/scripted_ports.h"

#include <optional>
#include <string>
#include <vector>

class ScriptedIconChooser : public IconChooserPort {
public:
    std::optional<ChosenIcon> ChooseIcon(const std::wstring& file, std::int16_t index) override {
        asked.push_back({file, index});
        return answer;
    }
    std::optional<ChosenIcon> answer; // none: the user cancels
    std::vector<ChosenIcon> asked;
};

// "BAR text", "CLICK tab", "CAPTION CLEARED", in order.
class RecordingIconView : public IconCommandView {
public:
    void SetInfoBar(const std::wstring& text) override { calls.push_back(L"BAR " + text); }
    void ListClick(IconCategory category) override {
        calls.push_back(L"CLICK " + std::to_wstring(TabIndex(category)));
    }
    void CaptionCleared() override { calls.push_back(L"CAPTION CLEARED"); }
    std::vector<std::wstring> calls;
};
