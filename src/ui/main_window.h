#pragma once
// `Main`: the program's one main window, from start to end. It shows the session and turns the user's
// actions into commands; it keeps no state a command needs.
#include "controls/border_3d.h"
#include "controls/common_dialog.h"
#include "controls/list_box_icons.h"
#include "controls/settings_tree.h"
#include "controls/tool_bar_icons.h"
#include "icons/catalogue.h"
#include "icons/icon_ports.h"
#include "platform/ports.h"
#include "platform/unique_handle.h"
#include "platform/window.h"
#include "ui/command_ids.h"
#include "ui/splash.h"

#include <array>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

class Session;

inline constexpr wchar_t MainWindowClass[] = L"TessalyMain";

// The tab strip's captions in order; tab index 1 is "Shell".
inline constexpr std::array<std::wstring_view, 8> TabCaptions = {
    L"Shell", L"Desktop", L"Start", L"Folders", L"Drives", L"Others", L"System", L"Pointer"};

// Control ids, for tests that drive the window as a user would. The buttons use their command ids.
enum MainControlId : int {
    IdTabStrip = 100,
    IdSystemTree = 101,
    IdInfoBar = 102,
    IdSettingsPanel = 103,
    IdIconPanel = 104,
    IdToolbar = 105,
    IdOk = IdCmdOk,
    IdCancel = IdCmdCancel,
    IdApply = IdCmdApply,
    IdFirstList = 120, // + tab index - 2
};

// The strip across the top of the client area that the toolbar fills, in pixels.
inline constexpr int ToolbarStripHeight = 29;

class MainWindow : public Window {
public:
    MainWindow(Session& session, SystemPort& system, PromptPort& prompts);
    ~MainWindow() override;
    // Creates the window and its controls and runs the start-up steps; false when the system refuses.
    // beforeLoad hears of the new window before the steps run (the ports take it as their owner).
    bool Create(const std::function<void(HWND)>& beforeLoad = {});

    HWND TabStrip() const { return TabStrip_; }
    HWND cmdApply() const { return cmdApply_; }
    HWND InfoBar() const { return InfoBar_; }
    // A command button by its command id (IdCmdOk ... IdCmdRename).
    HWND Button(int id) const { return GetDlgItem(hwnd(), id); }
    // A list's window is made the first time it is asked for (its tab is first shown).
    ListBoxIcons& List(IconCategory category);
    // The tree's window is made the first time it is asked for (the Shell tab is first shown).
    SettingsTree& Tree();
    // The settings tree's context menu; never shown by the window itself.
    HMENU RightClickMenu() const { return RightClick_.get(); }
    // Ctrl+O, Ctrl+S, Ctrl+A, F1 and Shift+F1, for the message loop to translate.
    HACCEL Accelerators() const { return accelerators_.get(); }

    // Selects a tab (1 to 8) as a click on it does.
    void SelectTab(int tab);
    // Runs the command registered for id, as its menu entry, button or toolbar button does; false when the
    // command is not wired yet.
    bool RunCommandId(int id);

    // Told the name of each start-up step as it ends (the start-up benchmark listens).
    std::function<void(const char* step)> StartupStepDone;

    void cmdApply_Click();
    void cmdOK_Click();
    void cmdCancel_Click();

    // Shows a settings node's help topic in the pop-up beside the selected node (topic 0: no help).
    void ShowNodeWhatsThis(int topic);
    // The icon commands' ports, for tests that answer the picker and the pointer browser themselves.
    void UseIconPorts(IconChooserPort& chooser, FileDialogPort& pointerFiles);

protected:
    // Open Theme (a path, and whether it came from the command line). The theme commands set it when they
    // wire themselves; until then a command line is only kept and the recent entries stay disabled.
    std::function<void(const std::wstring& path, bool fromCommandLine)> openTheme_;

private:
    // The Shell tab's editor, the right-click menu and Tools "Restore all &Settings"
    // (main_window_settings.cpp).
    void WireSettingsCommands();
    void SystemTree_NodeClick(const std::wstring& key);
    void SystemTree_DblClick();
    void SystemTree_MouseDown(int button, POINT point);
    void mnuRClickItem_Click(int index);
    void SystemScroll_Change(int value);
    void SystemText_KeyUp();
    void SystemCombo_Click(const std::wstring& text);
    void mnuToolsRestoreSettings_Click();

    struct IconCommandParts; // main_window_icons.cpp
    void WireIconCommands();
    // The design: tab strip, panels, information bar, buttons and menus.
    void CreateControls();
    void WireUndoCommands(); // main_window_undo.cpp
    void Form_Load();
    void Form_Resize();
    void Form_Paint();
    void Form_MouseMove();
    bool Form_QueryUnload();
    void Form_Unload();
    // Where the window opens unless a theme is named on the command line; nothing when it stays where the
    // system puts it.
    std::optional<POINT> StartPosition(int width, int height) const;
    void StepDone(const char* step);

    void WireRoutingCommands();
    void TabStrip_Click();
    // A hidden window keeps the control for its activation to focus.
    void FocusControl(HWND control);
    void List_Click(IconCategory category);
    void List_KeyDown(IconCategory category, int keyCode);
    void List_DblClick();
    void GoBack();
    void GoForward();
    // The routing's word on a button; the button is enabled when the routing allows it and its command
    // is wired.
    void AllowButton(int id, bool allowed);
    void RefreshCommandStates();
    HWND CreateButton(const wchar_t* caption, int id, const RECT& at, DWORD style = 0);
    // Help: contents, the "&Help" button, What's This (main_window_help.cpp).
    void WireHelpCommands();
    void OpenHelpContents();
    void EnterWhatsThisMode();
    int TopicOfControl(HWND control, POINT screen) const;

    // Menus (main_window_menu.cpp).
    HMENU CreateMenus(); // the menu bar, for the window to own
    // Whether there is an Apply to undo is looked up only for a menu being opened (lookForUndo): finding
    // the record's folder loads the shell's library, which starting the program should not wait for.
    void RefreshMenuStates(HMENU menu, bool lookForUndo = true);
    void ShowThemes();
    void ShowRecentThemes();
    void OpenRecentTheme(int slot);

    // Filled in by the toolbar, border, splash and About windows.
    void CreateToolbar();     // the toolbar in the strip at the top, reporting Click(index)
    bool ShowSplash();        // shows the splash over the window; true when one is shown
    void CloseSplash();       // closes the splash if one is shown
    void ShowAbout();         // the About window, modal, centred over the window
    void PaintBorder(HDC dc); // the bevelled frame below the toolbar
    void ToolbarDropHover();  // the toolbar drops its hover frame (a move over index 100)

    void OnDestroyed() override;

    // Theme commands (main_window_themes.cpp).
    void WireThemeCommands();
    void OpenThemeFile(const std::wstring& path, bool fromCommandLine = false);
    void SaveThemeFile(bool toCurrent);
    void Theme_BecameCurrent(const std::wstring& path);

    Session& session_;
    SystemPort& system_;
    PromptPort& prompts_;
    HWND TabStrip_ = nullptr;
    HWND SettingsPanel_ = nullptr;
    HWND IconPanel_ = nullptr;
    HWND InfoBar_ = nullptr;
    HWND cmdOK_ = nullptr;
    HWND cmdCancel_ = nullptr;
    HWND cmdApply_ = nullptr;
    HWND focusedControl_ = nullptr; // where the focus returns when the window is activated again
    SIZE laidOut_{-1, -1};          // the client size the controls were last placed for
    bool paintAllAtOnce_ = false;   // the next paint draws every control too: all of them wait for it
    std::unique_ptr<SettingsTree> SystemTree_;
    std::unique_ptr<ToolBarIcons> toolbar_;
    std::unique_ptr<frmSplash> splash_;
    CBorder3D border_;
    std::array<std::unique_ptr<ListBoxIcons>, IconCategories.size()> lists_;
    std::map<int, bool> buttonAllowed_; // the routing's word on the icon command buttons
    HMENU mnuFile_ = nullptr;           // owned by the menu bar, which the window owns
    UniqueHMenu RightClick_;            // the settings tree's "Right Click" menu
    UniqueHAccel accelerators_;
    // What the File menu shows of the recent list: an entry, once shown, stays while the program runs.
    std::array<std::optional<std::wstring>, 4> recentShown_;
    bool recentSeparatorShown_ = false;
    std::shared_ptr<IconCommandParts> iconParts_;
    CommonDialog CDialog_; // opens and saves themes
};
