// The menu bar, the settings tree's "Right Click" menu, the shortcut keys, and the File menu's mirror of
// the recent-theme list.
#include "apply/undo.h"
#include "icons/icon_location.h"
#include "session/session.h"
#include "themes/recent_themes.h"
#include "ui/main_window.h"

#include <initializer_list>

namespace {

// One menu entry: a command id and its caption, a separator (id 0), or a submenu (entries of its own).
struct MenuEntry {
    int id = 0;
    const wchar_t* caption = nullptr;
    std::initializer_list<MenuEntry> submenu = {};
};

constexpr int Separator = 0;

// File entries before the recent themes, and how many follow them (a separator and "&Exit").
constexpr int RecentThemesAt = 6;

HMENU BuildPopup(std::initializer_list<MenuEntry> entries) {
    HMENU menu = CreatePopupMenu();
    for (const MenuEntry& entry : entries) {
        if (entry.submenu.size() > 0)
            AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(BuildPopup(entry.submenu)), entry.caption);
        else if (entry.id == Separator)
            AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
        else
            AppendMenuW(menu, MF_STRING, static_cast<UINT_PTR>(entry.id), entry.caption);
    }
    return menu;
}

} // namespace

HMENU MainWindow::CreateMenus() {
    // A shortcut follows its caption after a tab.
    HMENU file = BuildPopup({{IdMenuOpenTheme, L"&Open Theme...\tCtrl+O"},
                             {Separator},
                             {IdMenuSaveTheme, L"&Save Theme\tCtrl+S"},
                             {IdMenuSaveThemeAs, L"Save Theme &As...\tCtrl+A"},
                             {Separator},
                             {IdMenuRebuildIconCache, L"Rebuild Icon &Cache"},
                             {Separator},
                             {IdMenuExit, L"&Exit"}});
    HMENU tools = BuildPopup({{IdMenuRestoreSettings, L"Restore all &Settings"},
                              {IdMenuRestoreIcons, L"Restore all &Icons"},
                              {IdMenuRestorePointers, L"Restore all &Pointers"},
                              {Separator},
                              {IdMenuUndoLastApply, L"&Undo Last Apply"}});
    HMENU help = BuildPopup({{IdMenuHelpContents, L"&Contents and Index\tF1"},
                             {IdMenuWhatsThis, L"What's &This?\tShift+F1"},
                             {0,
                              L"TS on the &Web",
                              {{IdMenuEmailAuthor, L"&Email Author"},
                               {IdMenuHomePage, L"Tessaly &Home Page"},
                               {Separator},
                               {IdMenuIconThemes, L"Additional &Icon Themes"}}},
                             {Separator},
                             {IdMenuAbout, L"&About Tessaly"}});
    HMENU bar = CreateMenu();
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), L"&File");
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(tools), L"&Tools");
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(help), L"&Help");
    mnuFile_ = file;

    RightClick_.reset(BuildPopup({{IdMenuNodeWhatsThis, L"&What's This?"},
                                  {Separator},
                                  {IdMenuNodeToggle, L"&Toggle"},
                                  {Separator},
                                  {IdMenuNodeExpandAll, L"Expand &All"},
                                  {IdMenuNodeCollapseAll, L"&Collapse All"}}));

    ACCEL keys[] = {{FCONTROL | FVIRTKEY, 'O', IdMenuOpenTheme},
                    {FCONTROL | FVIRTKEY, 'S', IdMenuSaveTheme},
                    {FCONTROL | FVIRTKEY, 'A', IdMenuSaveThemeAs},
                    {FVIRTKEY, VK_F1, IdMenuHelpContents},
                    {FSHIFT | FVIRTKEY, VK_F1, IdMenuWhatsThis}};
    accelerators_.reset(CreateAcceleratorTableW(keys, static_cast<int>(std::size(keys))));
    return bar;
}

// An entry is enabled exactly when its command is wired.
void MainWindow::RefreshMenuStates(HMENU menu, bool lookForUndo) {
    if (menu == RightClick_.get()) return; // the settings editor sets its entries per node
    const int count = GetMenuItemCount(menu);
    for (int position = 0; position < count; ++position) {
        if (HMENU submenu = GetSubMenu(menu, position)) {
            RefreshMenuStates(submenu, lookForUndo);
            continue;
        }
        const UINT id = GetMenuItemID(menu, position);
        if (id == 0 || id == static_cast<UINT>(-1)) continue; // separators
        bool enabled = HasCommand(static_cast<int>(id));
        if (id == IdMenuUndoLastApply) enabled = enabled && lookForUndo && LastApplyRecordExists();
        EnableMenuItem(menu, position, MF_BYPOSITION | (enabled ? MF_ENABLED : MF_GRAYED));
    }
}

void MainWindow::ShowThemes() {
    if (!hwnd()) return;
    // Setting the caption goes to the window server and the display even when nothing changes.
    const std::wstring caption = MainCaption(session_.CurrentThemePath);
    std::wstring shown(static_cast<size_t>(GetWindowTextLengthW(hwnd())), L'\0');
    GetWindowTextW(hwnd(), shown.data(), static_cast<int>(shown.size()) + 1);
    if (caption != shown) SetWindowTextW(hwnd(), caption.c_str());
    ShowRecentThemes();
}

// Entries appear as slots fill and are never taken away while the program runs; an entry whose slot was
// emptied behind our back keeps its last caption.
void MainWindow::ShowRecentThemes() {
    if (!mnuFile_) return;
    const auto paths = ReadRecentThemes();
    for (size_t slot = 0; slot < paths.size(); ++slot)
        if (!paths[slot].empty()) recentShown_[slot] = FileTitle(paths[slot]);
    if (recentShown_[0]) recentSeparatorShown_ = true;

    while (GetMenuItemCount(mnuFile_) > RecentThemesAt + 2)
        DeleteMenu(mnuFile_, RecentThemesAt, MF_BYPOSITION);
    UINT position = RecentThemesAt;
    if (recentSeparatorShown_) InsertMenuW(mnuFile_, position++, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
    for (size_t slot = 0; slot < recentShown_.size(); ++slot) {
        if (!recentShown_[slot]) continue;
        const int id = IdMenuRecentTheme1 + static_cast<int>(slot);
        InsertMenuW(mnuFile_, position++,
                    MF_BYPOSITION | MF_STRING | (HasCommand(id) ? MF_ENABLED : MF_GRAYED),
                    static_cast<UINT_PTR>(id), recentShown_[slot]->c_str());
    }
    // The entries are in the File menu, not on the bar: the bar needs no redrawing.
}

void MainWindow::OpenRecentTheme(int slot) {
    // The slot is read again: another copy of the program may have moved the list.
    const std::wstring path = ReadRecentTheme(slot);
    if (!path.empty() && openTheme_) openTheme_(path, false);
}
