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
    void Answer(int button, bool ticked = false) { answers.push_back({button, ticked}); }
    PromptResult ShowPrompt(const Prompt& prompt) override {
        shown.push_back(prompt);
        if (answers.empty()) return {};
        PromptResult next = answers.front();
        answers.pop_front();
        return next;
    }

    std::deque<PromptResult> answers;
    std::vector<Prompt> shown;
};

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
    struct ProgramRun {
        std::wstring commandLine;
        int showCommand = 0;
    };
    struct HelpCall {
        std::wstring helpFile;
        UINT command = 0;
        std::wstring keyword;
        ULONG_PTR topic = 0;
    };

    bool SetSystemParameter(UINT action, UINT uiParam, const SpiParam& pvParam, UINT winIni) override;
    void BroadcastSettingChange(WPARAM wParam, const std::wstring& section) override;
    void NotifyAssociationsChanged() override;
    bool EnableShutdownPrivilege() override;
    bool ExitSystem(UINT flags) override;
    void RunProgram(const std::wstring& commandLine, int showCommand) override;
    void OpenDocument(const std::wstring& target) override;
    void OpenHelp(const std::wstring& helpFile, UINT command, const std::wstring& keyword,
                  ULONG_PTR topic) override;
    void SetBusy(bool busy) override;

    // Every call in order, one line each: "SPI 87 0 - 0", "BROADCAST 46", "ASSOCCHANGED", "EXIT 2", ...
    std::vector<std::wstring> calls;

    std::vector<UINT> parameters;
    std::vector<WPARAM> broadcasts;
    int associationNotices = 0;
    int privilegeRequests = 0;
    std::vector<UINT> exits;
    std::vector<ProgramRun> programs;
    std::vector<std::wstring> documents;
    std::vector<HelpCall> help;
    std::vector<bool> busyCalls;
};
