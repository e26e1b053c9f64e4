#include "ui/rename_dialog.h"

#include "platform/file_icon.h"
#include "prompts/messages.h"
#include "session/session.h"
#include "ui/prompt_dialog.h"

namespace {
constexpr int ClientWidth = 340, ClientHeight = 184;

std::wstring TextOf(HWND control) {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
    return text;
}
} // namespace

frmRename::frmRename(Session& session, PromptPort& prompts) : session_(session), prompts_(prompts) {
    On(WM_INITDIALOG, [this](WPARAM, LPARAM) {
        Form_Load();
        return FALSE;
    });
    On(WM_CLOSE, [this](WPARAM, LPARAM) {
        EndModal(IDCANCEL);
        return TRUE;
    });
    On(WM_DRAWITEM, [this](WPARAM id, LPARAM item) {
        if (id != IdIcon) return FALSE;
        const auto& draw = *reinterpret_cast<const DRAWITEMSTRUCT*>(item);
        FillRect(draw.hDC, &draw.rcItem, GetSysColorBrush(COLOR_BTNFACE));
        if (icon_) DrawIcon(draw.hDC, draw.rcItem.left, draw.rcItem.top, icon_.get());
        return TRUE;
    });
    On(WM_APP, [this](WPARAM, LPARAM) {
        if (OnShown) OnShown(*this);
        return TRUE;
    });
    OnCommand(IdOK, [this] { cmdOK_Click(); });
    OnCommand(IdCancel, [this] { EndModal(IDCANCEL); });
    OnCommand(IdRestore, [this] { cmdRestore_Click(); });
}

bool frmRename::Show(HWND owner) {
    target_ = RenameTargetOf(session_);
    if (!target_) return false;
    staged_ = false;
    DialogTemplate layout(RenameCaption, WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME);
    const DWORD label = SS_LEFT | SS_NOPREFIX | WS_VISIBLE;
    const DWORD edit = ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP | WS_VISIBLE;
    layout.AddControl(L"STATIC", L"", IdIcon, SS_OWNERDRAW | WS_VISIBLE);
    layout.AddControl(L"STATIC", L"", IdLabel, label);
    layout.AddControl(L"STATIC", L"&Name:", IdNameLabel, SS_LEFT | WS_VISIBLE);
    layout.AddControl(L"EDIT", L"", IdTextbox, edit);
    layout.AddControl(L"STATIC", TooltipNote, IdNote, label);
    layout.AddControl(L"STATIC", L"&Tooltip:", IdTooltipLabel, SS_LEFT | WS_VISIBLE);
    layout.AddControl(L"EDIT", L"", IdTooltip, edit);
    layout.AddControl(L"BUTTON", L"&Restore", IdRestore, BS_PUSHBUTTON | WS_TABSTOP | WS_VISIBLE);
    layout.AddControl(L"BUTTON", L"OK", IdOK, BS_DEFPUSHBUTTON | WS_TABSTOP | WS_VISIBLE);
    layout.AddControl(L"BUTTON", L"Cancel", IdCancel, BS_PUSHBUTTON | WS_TABSTOP | WS_VISIBLE);
    RunModal(layout, owner);
    icon_.reset();
    return staged_;
}

void frmRename::Form_Load() {
    HWND dialog = hwnd();
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(MessageFont()), FALSE);
    auto place = [dialog](int id, int x, int y, int w, int h) {
        MoveWindow(GetDlgItem(dialog, id), x, y, w, h, FALSE);
    };
    place(IdIcon, 10, 10, 32, 32);
    place(IdLabel, 52, 18, 278, 20);
    place(IdNameLabel, 10, 58, 60, 16);
    place(IdTextbox, 75, 55, 255, 22);
    place(IdNote, 10, 90, 320, 16);
    place(IdTooltipLabel, 10, 115, 60, 16);
    place(IdTooltip, 75, 112, 170, 22);
    place(IdRestore, 255, 111, 75, 25);
    place(IdOK, 174, 150, 75, 25);
    place(IdCancel, 255, 150, 75, 25);

    SizeAndCentreOverOwner(dialog, ClientWidth, ClientHeight);

    SetDlgItemTextW(dialog, IdLabel, (L"Type a new name for " + target_->key).c_str());
    HWND textbox = GetDlgItem(dialog, IdTextbox);
    SetWindowTextW(textbox, target_->name.c_str());
    SetDlgItemTextW(dialog, IdTooltip, target_->tooltip.c_str());
    icon_.reset(ExtractFileIcon(target_->iconPath, target_->iconIndex));
    SendMessageW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(textbox), TRUE); // selects the whole text
    ShowWindow(dialog, SW_SHOW);
    PostMessageW(dialog, WM_APP, 0, 0);
}

void frmRename::cmdOK_Click() {
    HWND textbox = GetDlgItem(hwnd(), IdTextbox);
    const RenameOutcome outcome =
        StageRename(session_, *target_, TextOf(textbox), TextOf(GetDlgItem(hwnd(), IdTooltip)));
    if (outcome == RenameOutcome::EmptyName) {
        Messages::ShowEmptyIconName(prompts_);
        SendMessageW(textbox, WM_UNDO, 0, 0);
        SendMessageW(hwnd(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(textbox), TRUE);
        return;
    }
    staged_ = outcome == RenameOutcome::Staged;
    EndModal(IDOK);
}

void frmRename::cmdRestore_Click() {
    SetDlgItemTextW(hwnd(), IdTooltip, target_->tooltipAtStart.c_str());
}
