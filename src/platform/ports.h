#pragma once
// The ways commands and models reach the user and the system. The main window implements them with real
// windows and calls; tests implement scripted ones that answer and record.
#include <windows.h>

#include <array>
#include <functional>
#include <string>
#include <variant>

// A plain message box with an OK button (the registry layer's format complaint).
class MessageBoxPort {
public:
    virtual ~MessageBoxPort() = default;
    virtual void ShowMessage(const std::wstring& text) = 0;
};

// Shows MessageBoxW captioned with the program's name, owned by the active window.
class RealMessageBoxPort : public MessageBoxPort {
public:
    void ShowMessage(const std::wstring& text) override;
};

// The standard icons a prompt shows.
enum PromptIcon : int {
    PromptIconError = 32513,
    PromptIconQuestion = 32514,
    PromptIconExclamation = 32515,
    PromptIconInformation = 32516,
};

// One question or notice: message (line feeds break lines), up to three buttons laid out right to left
// (an empty caption hides a button), a standard icon, an optional check box, the message width in twips
// and the help keyword its "&Help" button opens.
struct Prompt {
    std::wstring message;
    std::array<std::wstring, 3> buttons;
    int icon = PromptIconInformation;
    std::wstring checkCaption;
    int width = 0; // 0 means 4200
    std::wstring helpKeyword{};
};

// The last button pressed, "&Help" and "&Settings..." included, and the check box.
struct PromptResult {
    static constexpr int Closed = 4; // the dialog was closed before any button was pressed
    int button = Closed;
    bool ticked = false;
};

class PromptPort {
public:
    virtual ~PromptPort() = default;
    virtual PromptResult ShowPrompt(const Prompt& prompt) = 0;
};

// The third argument of SystemParametersInfo: nothing, a number passed by value, a text, or the
// animation record of SPI_SETANIMATION.
using SpiParam = std::variant<std::monostate, UINT_PTR, std::wstring, ANIMATIONINFO>;

// The open and save file dialogs. The filter is pairs of description and pattern list, each followed by
// one NUL character; filter and title are kept between calls, and so is the filter pair chosen last.
class FileDialogPort {
public:
    virtual ~FileDialogPort() = default;
    virtual void Filter(const std::wstring& pairs) = 0;
    virtual void Title(const std::wstring& title) = 0;
    // True when the user chose a file, whose path goes to fileName; otherwise fileName becomes empty.
    virtual bool ShowOpen(std::wstring& fileName) = 0;
    virtual bool ShowSave(std::wstring& fileName) = 0;
};

// The running system: settings calls, broadcasts, restart, programs, documents and help.
class SystemPort {
public:
    virtual ~SystemPort() = default;
    virtual bool SetSystemParameter(UINT action, UINT uiParam, const SpiParam& pvParam, UINT winIni) = 0;
    // WM_SETTINGCHANGE to every top-level window, waiting a bounded time for hung ones.
    virtual void BroadcastSettingChange(WPARAM wParam, const std::wstring& section) = 0;
    // Tells the shell that file associations changed, so it drops cached icons.
    virtual void NotifyAssociationsChanged() = 0;
    virtual bool EnableShutdownPrivilege() = 0;
    virtual bool ExitSystem(UINT flags) = 0;
    virtual void RunProgram(const std::wstring& commandLine, int showCommand) = 0;
    // Opens a file or address with the shell ("Open" verb).
    virtual void OpenDocument(const std::wstring& target) = 0;
    // Help in the manner of WinHelp: the help file, the command (HELP_FINDER, HELP_PARTIALKEY, HELP_CONTEXT)
    // and its keyword or topic number.
    virtual void OpenHelp(const std::wstring& helpFile, UINT command, const std::wstring& keyword,
                          ULONG_PTR topic) = 0;
    // The hourglass over the main window while a long command runs.
    virtual void SetBusy(bool busy) = 0;
    // The default beep, for input the program corrects or refuses.
    virtual void Beep() = 0;
};

// The real system, for the program itself.
class RealSystemPort : public SystemPort {
public:
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
    void Beep() override;

    HWND owner = nullptr; // the main window, once it exists
    // The program's own help viewer, which the help calls open; without one they do nothing.
    std::function<void(UINT command, const std::wstring& keyword, ULONG_PTR topic)> helpViewer;
};
