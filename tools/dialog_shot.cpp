// Shows one of the icon dialogs, captures it from the screen into a .bmp once it has painted, and closes it.
//   dialog_shot picker|pointers|rename out.bmp
#include "controls/common_dialog.h"
#include "icons/catalogue_variants.h"
#include "icons/change.h"
#include "session/session.h"
#include "ui/change_icon_dialog.h"
#include "ui/rename_dialog.h"

#include "screen_capture.h"

#include <windows.h>

#include <cstdio>
#include <string>

namespace {

std::wstring outPath;
bool saved = false;

// The first ticks let the dialog paint; then it is captured and closed.
void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    static int ticks = 0;
    HWND dialog = VisibleDialogOfThread();
    if (!dialog || ++ticks < 10) return;
    if (!saved) {
        RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        saved = SaveWindowBitmap(dialog, outPath);
    }
    PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
}

std::wstring SystemFile(const wchar_t* name) {
    wchar_t folder[MAX_PATH]{};
    GetSystemDirectoryW(folder, MAX_PATH);
    return std::wstring(folder) + L"\\" + name;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 3) {
        fwprintf(stderr, L"usage: dialog_shot picker|pointers|rename out.bmp\n");
        return 2;
    }
    const std::wstring shape = argv[1];
    outPath = argv[2];
    HWND owner = CreateWindowExW(0, L"STATIC", L"Owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 200, 120, 620, 520,
                                 nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    SetTimer(nullptr, 0, 100, &Tick);
    CommonDialog files(owner);
    if (shape == L"picker") {
        frmChangeIcon picker(files);
        picker.ChooseIcon(owner, SystemFile(L"shell32.dll"), 19);
    } else if (shape == L"pointers") {
        files.Title(PointerBrowseTitle);
        files.Filter(PointerFilter());
        std::wstring path;
        files.ShowOpen(path);
    } else if (shape == L"rename") {
        StartupFacts facts;
        facts.OsName = L"Windows NT";
        facts.SystemDir = SystemFile(L"").substr(0, SystemFile(L"").size() - 1);
        Session session(facts, CatalogueVariants{});
        IconListModel& desktop = session.Lists[IconCategory::Desktop];
        desktop.AddItem(L"My Computer", SystemFile(L"shell32.dll"), 15, L"My Computer");
        desktop.ReadTooltip(L"My Computer", L"Shows the drives and folders of this computer");
        session.SelectedTab = TabIndex(IconCategory::Desktop);
        class NoPrompts : public PromptPort {
            PromptResult ShowPrompt(const Prompt&) override { return {}; }
        } prompts;
        frmRename(session, prompts).Show(owner);
    } else {
        fwprintf(stderr, L"dialog_shot: unknown dialog %ls\n", shape.c_str());
        return 2;
    }
    DestroyWindow(owner);
    if (!saved) fwprintf(stderr, L"dialog_shot: the dialog was not captured\n");
    return saved ? 0 : 1;
}
