#pragma once
// `Main`: the program's one main window, from start to end. It shows the session and turns the user's
// actions into commands; it keeps no state a command needs.
#include "controls/common_dialog.h"
#include "controls/list_box_icons.h"
#include "controls/settings_tree.h"
#include "icons/catalogue.h"
#include "platform/ports.h"
#include "platform/window.h"

#include <array>
#include <memory>
#include <string_view>

class Session;

inline constexpr wchar_t MainWindowClass[] = L"TessalyMain";

// The tab strip's captions in order; tab index 1 is "Shell".
inline constexpr std::array<std::wstring_view, 8> TabCaptions = {
    L"Shell", L"Desktop", L"Start", L"Folders", L"Drives", L"Others", L"System", L"Pointer"};

// Control ids, for tests that drive the window as a user would.
enum MainControlId : int {
    IdTabStrip = 100,
    IdSystemTree = 101,
    IdInfoBar = 102,
    IdOk = IDOK,
    IdCancel = IDCANCEL,
    IdApply = 110,
    IdFirstList = 120, // + tab index - 2
};

class MainWindow : public Window {
public:
    MainWindow(Session& session, SystemPort& system, PromptPort& prompts);
    ~MainWindow() override;
    // Creates the window and its controls; false when the system refuses.
    bool Create();

    HWND TabStrip() const { return TabStrip_; }
    HWND cmdApply() const { return cmdApply_; }
    HWND InfoBar() const { return InfoBar_; }
    ListBoxIcons& List(IconCategory category);
    SettingsTree& Tree() { return *SystemTree_; }
    // Selects a tab (1 to 8) as a click on it does.
    void SelectTab(int tab);

    void cmdApply_Click();
    void cmdOK_Click();
    void cmdCancel_Click();
    // Start-up with a theme path on the command line (main_window_themes.cpp).
    void OpenCommandLineTheme(const std::wstring& commandLine);

private:
    void Form_Load();
    void Form_Resize();
    bool Form_QueryUnload();
    void TabStrip_Click();
    void List_Click(IconCategory category);
    void List_KeyDown(IconCategory category, int keyCode);
    HWND CreateButton(const wchar_t* caption, int id, DWORD style = 0);
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
    HWND InfoBar_ = nullptr;
    HWND cmdOK_ = nullptr;
    HWND cmdCancel_ = nullptr;
    HWND cmdApply_ = nullptr;
    std::unique_ptr<SettingsTree> SystemTree_;
    std::array<std::unique_ptr<ListBoxIcons>, IconCategories.size()> lists_;
    CommonDialog CDialog_; // opens and saves themes
};
