#pragma once
// Scripted stand-ins for the icon commands' ports: a picker and a file dialog that answer from a script
// and record what they were asked, and a view that records what the window was told.
#include "icons/icon_ports.h"
#include "platform/ports.h"

#include <optional>
#include <string>
#include <vector>

class ScriptedFileDialog : public FileDialogPort {
public:
    void Filter(const std::wstring& pairs) override { filter = pairs; }
    void Title(const std::wstring& text) override { title = text; }
    bool ShowOpen(std::wstring& fileName) override {
        ++opens;
        fileName = answer.value_or(L"");
        return answer.has_value();
    }
    bool ShowSave(std::wstring& fileName) override { return ShowOpen(fileName); }

    std::optional<std::wstring> answer; // none: the user cancels
    std::wstring filter, title;
    int opens = 0;
};

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
