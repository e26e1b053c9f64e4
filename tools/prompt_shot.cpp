// Shows the real prompt in one of a few shapes, captures it from the screen into a .bmp once it has
// painted, and closes it.
//   prompt_shot one|three|check|network|overwrite|missing out.bmp
#include "platform/ports.h"
#include "prompts/messages.h"
#include "ui/prompt_dialog.h"

#include "screen_capture.h"

#include <windows.h>

#include <cstdio>
#include <optional>
#include <string>

namespace {

std::wstring outPath;
bool saved = false;

// The first ticks let the prompt paint; then it is captured and closed.
void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    static int ticks = 0;
    HWND prompt = VisibleDialogOfThread();
    if (!prompt || ++ticks < 8) return;
    if (!saved) {
        RedrawWindow(prompt, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        saved = SaveWindowBitmap(prompt, outPath);
    }
    PostMessageW(prompt, WM_CLOSE, 0, 0);
}

class CapturingPort : public PromptPort {
public:
    PromptResult ShowPrompt(const Prompt& shown) override {
        prompt = shown;
        return {};
    }
    std::optional<Prompt> prompt;
};

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 3) {
        fwprintf(stderr, L"usage: prompt_shot one|three|check|network|overwrite|failed|missing out.bmp\n");
        return 2;
    }
    const std::wstring shape = argv[1];
    outPath = argv[2];

    // The catalogue fills in the prompt; the suppressible ones read the user's preferences, so they are
    // asked with an empty registry in place of the user's.
    CapturingPort captured;
    HKEY empty = nullptr;
    RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Korvath\\TessalyPromptShot", 0, nullptr,
                    REG_OPTION_VOLATILE, KEY_ALL_ACCESS, nullptr, &empty, nullptr);
    if (empty) RegOverridePredefKey(HKEY_CURRENT_USER, empty);
    if (shape == L"one")
        Messages::ShowEmptyIconName(captured);
    else if (shape == L"three")
        Messages::AskSaveChanges(captured);
    else if (shape == L"check")
        Messages::ShowRebuildNotice(captured, L"Windows 95");
    else if (shape == L"network")
        Messages::ConfirmHideNetwork(captured);
    else if (shape == L"failed")
        Messages::ShowFailedWrites(
            captured,
            {L"Beep On Errors: access denied", L"Programs: access denied", L"Favorites: access denied",
             L"Documents: access denied", L"Settings: access denied", L"Find: access denied",
             L"Help: access denied", L"Run...: access denied", L"Log Off...: access denied",
             L"Suspend: access denied", L"Shut Down...: access denied", L"Closed Folder: access denied"});
    else if (shape == L"missing")
        Messages::ShowMissingIcons(captured);
    else if (shape == L"overwrite")
        Messages::AskOverwriteTheme(captured, L"C:\\Documents\\Themes\\Collections\\Autumn_Leaves_And_Winter_"
                                              L"Frost_Complete_Set.tstheme");
    if (empty) {
        RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
        RegCloseKey(empty);
        RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\Korvath\\TessalyPromptShot");
    }
    if (!captured.prompt) {
        fwprintf(stderr, L"prompt_shot: unknown shape %ls\n", shape.c_str());
        return 2;
    }

    // An owner in the middle of the screen, as the main window would be.
    HWND owner = CreateWindowExW(0, L"STATIC", L"Owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 200, 120, 620, 520,
                                 nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    RealSystemPort system;
    RealPromptPort prompts(system, L"Help.hlp", owner);
    SetTimer(nullptr, 0, 100, &Tick);
    prompts.ShowPrompt(*captured.prompt);
    DestroyWindow(owner);
    if (!saved) fwprintf(stderr, L"prompt_shot: the prompt was not captured\n");
    return saved ? 0 : 1;
}
