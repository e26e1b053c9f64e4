#pragma once
// The main window's commands. A menu entry, a command button and a toolbar button that do the same thing
// send the same WM_COMMAND id, so each command has one handler, registered with OnCommand wherever the
// command is wired. An entry whose command has no handler yet is shown disabled.
#include <array>

enum CommandId : int {
    // Command buttons (IDOK and IDCANCEL are the dialog manager's own).
    IdCmdOk = 1,
    IdCmdCancel = 2,
    IdCmdApply = 110,
    IdCmdHelp = 111,
    IdCmdChange = 112,
    IdCmdDefault = 113,
    IdCmdRename = 114,

    // "&File"
    IdMenuOpenTheme = 200,
    IdMenuSaveTheme,
    IdMenuSaveThemeAs,
    IdMenuRebuildIconCache,
    IdMenuRecentTheme1, // slots "1" to "4" under the themes key
    IdMenuRecentTheme2,
    IdMenuRecentTheme3,
    IdMenuRecentTheme4,
    IdMenuExit,

    // "&Tools"
    IdMenuRestoreSettings = 220,
    IdMenuRestoreIcons,
    IdMenuRestorePointers,
    IdMenuUndoLastApply,

    // "&Help" and its "TS on the &Web" submenu
    IdMenuHelpContents = 240,
    IdMenuWhatsThis,
    IdMenuEmailAuthor,
    IdMenuHomePage,
    IdMenuIconThemes,
    IdMenuAbout,

    // The settings tree's "Right Click" menu
    IdMenuNodeWhatsThis = 260,
    IdMenuNodeToggle,
    IdMenuNodeExpandAll,
    IdMenuNodeCollapseAll,

    // Toolbar buttons with no menu entry
    IdToolBack = 280,
    IdToolForward,
};

// What each of the toolbar's twelve buttons runs, by button index.
inline constexpr std::array<int, 12> ToolbarCommands = {
    IdMenuOpenTheme,        IdMenuSaveTheme,    IdToolBack,     IdToolForward,
    IdMenuRebuildIconCache, IdMenuRestoreIcons, IdMenuHomePage, IdMenuEmailAuthor,
    IdMenuWhatsThis,        IdMenuHelpContents, IdMenuAbout,    IdMenuExit,
};
