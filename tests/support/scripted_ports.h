#pragma once
// Ports that answer from a script and record what they were asked, so commands run without windows.
#include "platform/ports.h"

#include <deque>
#include <string>
#include <vector>

class ScriptedPromptPort : public PromptPort {
public:
    // Answers in order; once the script is used up every prompt is closed without a button.
    void Answer(int button, bool ticked = false) { answers_.push_back({button, ticked}); }
    PromptResult ShowPrompt(const Prompt& prompt) override {
        shown.push_back(prompt);
        if (answers_.empty()) return {};
        PromptResult r = answers_.front();
        answers_.pop_front();
        return r;
    }
    std::vector<Prompt> shown;

private:
    std::deque<PromptResult> answers_;
};

// Every call, written as one line ("SPI 87 0 - 0", "BROADCAST 46", "EXIT 2"...), in order.
class RecordingSystemPort : public SystemPort {
public:
    bool SetSystemParameter(UINT action, UINT uiParam, const SpiParam& pvParam, UINT winIni) override;
    void BroadcastSettingChange(WPARAM wParam, const std::wstring& section) override;
    void NotifyAssociationsChanged() override { calls.push_back(L"ASSOCCHANGED"); }
    bool EnableShutdownPrivilege() override {
        calls.push_back(L"PRIVILEGE");
        return true;
    }
    bool ExitSystem(UINT flags) override {
        calls.push_back(L"EXIT " + std::to_wstring(flags));
        return true;
    }
    void RunProgram(const std::wstring& commandLine, int showCommand) override {
        calls.push_back(L"RUN " + commandLine + L" " + std::to_wstring(showCommand));
    }
    void OpenDocument(const std::wstring& target) override { calls.push_back(L"OPEN " + target); }
    void OpenHelp(const std::wstring& helpFile, UINT command, const std::wstring& keyword, ULONG_PTR topic) override {
        calls.push_back(L"HELP " + helpFile + L" " + std::to_wstring(command) + L" " +
                        (keyword.empty() ? std::to_wstring(topic) : keyword));
    }
    void SetBusy(bool busy) override { calls.push_back(busy ? L"BUSY" : L"IDLE"); }

    std::vector<std::wstring> calls;
};
