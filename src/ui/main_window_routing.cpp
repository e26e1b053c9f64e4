// What the window's controls run: tabs, lists, buttons, Back and Forward, and the commands that need no
// later piece (rebuild, web entries, About, Exit).
#include "apply/shell_refresh.h"
#include "icons/icon_location.h"
#include "platform/program_info.h"
#include "session/session.h"
#include "ui/main_window.h"

#include <commctrl.h>

#include <algorithm>

namespace {

constexpr int FirstTab = 1, LastTab = static_cast<int>(TabCaptions.size());
// Folders whose names the shell keeps for itself.
constexpr std::wstring_view FixedNameFolders[] = {L"Closed Folder", L"Open Folder", L"Program Group",
                                                  L"Users Program Group"};
// The file type that has no default icon to go back to.
constexpr std::wstring_view NoDefaultType = L"Zip File";
constexpr float DoubleClickPause = 0.1f;

} // namespace

void MainWindow::WireRoutingCommands() {
    OnNotify(IdTabStrip, TCN_SELCHANGE, [this](NMHDR*) {
        TabStrip_Click();
        return 0;
    });
    OnCommand(IdCmdApply, [this] { cmdApply_Click(); });
    OnCommand(IdCmdOk, [this] { cmdOK_Click(); });
    OnCommand(IdCmdCancel, [this] { cmdCancel_Click(); });
    OnCommand(IdToolBack, [this] { GoBack(); });
    OnCommand(IdToolForward, [this] { GoForward(); });
    OnCommand(IdMenuRebuildIconCache, [this] { RebuildIconCache(session_, system_, prompts_); });
    OnCommand(IdMenuExit, [this] { PostMessageW(hwnd(), WM_CLOSE, 0, 0); });
    OnCommand(IdMenuEmailAuthor,
              [this] { system_.OpenDocument(std::wstring(MailtoPrefix).append(ProgramEmail)); });
    OnCommand(IdMenuHomePage, [this] { system_.OpenDocument(std::wstring(ProgramWebSite)); });
    OnCommand(IdMenuIconThemes,
              [this] { system_.OpenDocument(std::wstring(ProgramWebSite).append(IconThemesPage)); });
    OnCommand(IdMenuAbout, [this] { ShowAbout(); });
}

void MainWindow::SelectTab(int tab) {
    SendMessageW(TabStrip_, TCM_SETCURSEL, tab - 1, 0);
    TabStrip_Click();
}

void MainWindow::GoBack() {
    if (session_.SelectedTab > FirstTab) SelectTab(session_.SelectedTab - 1);
}

void MainWindow::GoForward() {
    if (session_.SelectedTab < LastTab) SelectTab(session_.SelectedTab + 1);
}

void MainWindow::TabStrip_Click() {
    const int tab = static_cast<int>(SendMessageW(TabStrip_, TCM_GETCURSEL, 0, 0)) + 1;
    session_.SelectedTab = tab;
    const auto shown = CategoryOfTab(tab);
    // Folders leave it to the selected folder.
    AllowButton(IdCmdRename, shown == IconCategory::Desktop);
    if (!shown) {
        // "&Default Icon" keeps what the last icon tab left.
        EnableWindow(IconPanel_, FALSE);
        ShowWindow(IconPanel_, SW_HIDE);
        EnableWindow(SettingsPanel_, TRUE);
        SetWindowPos(SettingsPanel_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
        SetWindowTextW(InfoBar_, L"");
        FocusControl(Tree().SystemTree());
        return;
    }
    EnableWindow(SettingsPanel_, FALSE);
    ShowWindow(SettingsPanel_, SW_HIDE);
    EnableWindow(IconPanel_, TRUE);
    SetWindowPos(IconPanel_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    for (auto& list : lists_)
        if (list) ShowWindow(list->hwnd(), SW_HIDE);
    AllowButton(IdCmdDefault, true);
    ListBoxIcons& list = List(*shown);
    SetWindowPos(list.hwnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    List_Click(*shown);
    FocusControl(list.lstMainHwnd());
}

void MainWindow::FocusControl(HWND control) {
    if (IsWindowVisible(hwnd()))
        SetFocus(control);
    else
        focusedControl_ = control;
}

void MainWindow::List_Click(IconCategory category) {
    const IconListModel& model = session_.Lists[category];
    std::wstring info = model.SeledFullIconPath();
    const std::wstring key = model.Key();
    switch (category) {
    case IconCategory::Folders:
        AllowButton(IdCmdRename, std::find(std::begin(FixedNameFolders), std::end(FixedNameFolders), key) ==
                                     std::end(FixedNameFolders));
        break;
    case IconCategory::Apps:
        AllowButton(IdCmdDefault, key != NoDefaultType);
        break;
    case IconCategory::Pointers: {
        const bool systemDefault = model.SeledIconPath() == session_.Facts.OwnExePath;
        info = systemDefault ? L"Windows Default Cursor" : model.SeledIconPath();
        AllowButton(IdCmdDefault, !systemDefault);
        break;
    }
    default:
        break;
    }
    SetWindowTextW(InfoBar_, info.c_str());
}

void MainWindow::List_KeyDown(IconCategory category, int keyCode) {
    if (keyCode == VK_PRIOR || keyCode == VK_NEXT || keyCode == VK_UP || keyCode == VK_DOWN)
        List_Click(category);
}

void MainWindow::List_DblClick() {
    // Lets the second click's release reach the list before the picker opens over it.
    Pause(DoubleClickPause);
    if (hwnd()) RunCommandId(IdCmdChange);
}

void MainWindow::AllowButton(int id, bool allowed) {
    buttonAllowed_[id] = allowed;
    EnableWindow(Button(id), allowed && HasCommand(id));
}

void MainWindow::RefreshCommandStates() {
    for (int id : {IdCmdHelp, IdCmdChange, IdCmdDefault, IdCmdRename}) {
        auto it = buttonAllowed_.find(id);
        EnableWindow(Button(id), HasCommand(id) && (it == buttonAllowed_.end() || it->second));
    }
    if (HMENU bar = GetMenu(hwnd())) RefreshMenuStates(bar, false);
    if (toolbar_)
        for (int i = 0; i < ToolBarIcons::ButtonCount; ++i)
            toolbar_->SetButtonEnabled(i, HasCommand(ToolbarCommands[static_cast<size_t>(i)]));
}
