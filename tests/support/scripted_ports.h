#pragma once
// Ports for tests: a prompt port that answers from a script and records what it was shown, and a system
// port that records the calls a command makes instead of touching the running system.
#include "platform/ports.h"

#include <deque>
#include <string>
#include <vector>

class ScriptedPromptPort : public PromptPort {
public:
    // Answers in order; once the script is used up every prompt counts as closed without a button.
    void Answer(int button, bool ticked = false) { answers_.push_back({button, ticked}); }
    PromptResult ShowPrompt(const Prompt& prompt) override {
        shown.push_back(prompt);
        if (answers_.empty()) return {};
        PromptResult next = answers_.front();
        answers_.pop_front();
        return next;
    }

    std::vector<Prompt> shown;
    std::vector<std::wstring> ShownMessages() const {
        std::vector<std::wstring> messages;
        for (const Prompt& prompt : shown) messages.push_back(prompt.message);
        return messages;
    }

private:
    std::deque<PromptResult> answers_;
};

// The message of the prompt a message function shows, to check which prompt a command showed without
// restating its text.
template <typename Show> std::wstring MessageOf(Show show) {
    ScriptedPromptPort port;
    show(port);
    return port.shown.empty() ? L"" : port.shown[0].message;
}

// File dialogs that answer from a script (a path, or empty for Cancel) and record each call as
// "OPEN title|filter" or "SAVE title|filter", the filter's NULs shown as "|".
class ScriptedFileDialogPort : public FileDialogPort {
public:
    void Filter(const std::wstring& pairs) override { filter_ = pairs; }
    void Title(const std::wstring& title) override { title_ = title; }
    bool ShowOpen(std::wstring& fileName) override { return Show(L"OPEN ", fileName); }
    bool ShowSave(std::wstring& fileName) override { return Show(L"SAVE ", fileName); }

    std::deque<std::wstring> answers;
    std::vector<std::wstring> calls;

private:
    bool Show(const wchar_t* kind, std::wstring& fileName) {
        std::wstring call = kind + title_ + L"|" + filter_;
        for (wchar_t& c : call)
            if (c == L'\0') c = L'|';
        calls.push_back(call);
        fileName.clear();
        if (answers.empty()) return false;
        fileName = answers.front();
        answers.pop_front();
        return !fileName.empty();
    }
    std::wstring filter_, title_;
};

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
    void OpenHelp(const std::wstring& helpFile, UINT command, const std::wstring& keyword,
                  ULONG_PTR topic) override {
        calls.push_back(L"HELP " + helpFile + L" " + std::to_wstring(command) + L" " +
                        (keyword.empty() ? std::to_wstring(topic) : keyword));
    }
    void SetBusy(bool busy) override { calls.push_back(busy ? L"BUSY" : L"IDLE"); }
    void Beep() override {
        ++beeps;
        calls.push_back(L"BEEP");
    }

    // Every call in order, one line each: "SPI 87 0 - 0", "BROADCAST 46", "ASSOCCHANGED", "EXIT 2", ...
    std::vector<std::wstring> calls;
    int beeps = 0;
};
