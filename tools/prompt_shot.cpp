// Shows the real prompt in one of a few shapes, captures it from the screen into a .bmp once it has
// painted, and closes it.
//   prompt_shot one|three|check|network|overwrite out.bmp
#include "platform/ports.h"
#include "ui/messages.h"
#include "ui/prompt_dialog.h"

#include <windows.h>

#include <cstdio>
#include <optional>
#include <string>

namespace {

std::wstring outPath;
bool saved = false;

bool SaveWindow(HWND window, const std::wstring& path) {
    RECT r;
    GetWindowRect(window, &r);
    const int w = r.right - r.left, h = r.bottom - r.top;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
    SelectObject(memory, old);
    GdiFlush();

    const DWORD stride = ((w * 3 + 3) / 4) * 4;
    BITMAPFILEHEADER file{0x4d42, 0, 0, 0, sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER)};
    file.bfSize = file.bfOffBits + stride * h;
    bool ok = false;
    if (FILE* out = _wfopen(path.c_str(), L"wb")) {
        fwrite(&file, sizeof file, 1, out);
        fwrite(&info.bmiHeader, sizeof info.bmiHeader, 1, out);
        fwrite(bits, stride, h, out);
        ok = fclose(out) == 0;
    }
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return ok;
}

HWND FindPrompt() {
    HWND found = nullptr;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND w, LPARAM out) {
            wchar_t className[32]{};
            GetClassNameW(w, className, 32);
            if (std::wstring(className) == L"#32770" && IsWindowVisible(w)) {
                *reinterpret_cast<HWND*>(out) = w;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

// The first ticks let the prompt paint; then it is captured and closed.
void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    static int ticks = 0;
    HWND prompt = FindPrompt();
    if (!prompt || ++ticks < 8) return;
    if (!saved) {
        RedrawWindow(prompt, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        saved = SaveWindow(prompt, outPath);
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
        fwprintf(stderr, L"usage: prompt_shot one|three|check|network|overwrite out.bmp\n");
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
