// The main window's start and end: the start-up steps, placement, and what closing asks and stores.
#include "controls/buffered_paint.h"
#include "icons/icon_location.h"
#include "platform/gdi_guards.h"
#include "platform/text.h"
#include "prompts/messages.h"
#include "registry/program_keys.h"
#include "registry/registry.h"
#include "session/session.h"
#include "themes/recent_themes.h"
#include "ui/about.h"
#include "ui/main_window.h"

#include <cmath>
#include <cwchar>
#include <utility>

namespace {

constexpr float SplashSeconds = 2.0f;

// Twips per pixel across and down: 15 on a display of 96 pixels per inch.
POINT TwipsPerPixel() {
    const SIZE perInch = ScreenPixelsPerInch();
    return {perInch.cx > 0 ? 1440 / perInch.cx : 15, perInch.cy > 0 ? 1440 / perInch.cy : 15};
}

std::optional<double> StoredTwips(const wchar_t* name) {
    const std::wstring value = Registry::ReadString(ProgramSettingsKey, name);
    if (!text::IsNumeric(value)) return std::nullopt;
    return std::wcstod(text::TrimSpaces(value).c_str(), nullptr);
}

} // namespace

void MainWindow::StepDone(const char* step) {
    if (StartupStepDone) StartupStepDone(step);
}

// Each step stands alone: one that finds nothing to do leaves the window as the design made it.
void MainWindow::Form_Load() {
    // 1. The start-up facts were found before the session, which holds them.
    // 2. Each list is read, and its window made, when it is first shown: the lists nobody looks at are
    //    never read.
    StepDone("icon lists");
    // 3. The bevelled frame is painted on every WM_PAINT.
    // 4. A theme named on the command line is opened in place of placement and splash.
    bool splashShown = false;
    if (!session_.CommandLine.empty()) {
        if (openTheme_) {
            openTheme_(session_.CommandLine, true);
            if (!hwnd()) return; // the theme's load may have ended the window
        }
    } else {
        // 5. The window was made where it belongs.
        // 6.
        const int splash = Registry::ReadDword(ProgramSettingsKey, SplashValue);
        if ((splash == 1 || splash == Registry::ErrorNumber) && ShowSplash()) {
            splashShown = true;
            Pause(SplashSeconds);
        }
        StepDone("splash");
    }
    // 7.
    SetCurrentTheme(session_, StoredThemeRequest);
    StepDone("caption");
    // 8. The tree's window is made when the Shell tab is first shown, with steps 10 and 12.
    if (session_.SelectedTab == 1) Tree();
    StepDone("settings tree");
    // 9. The recent entries are wired once Open Theme is there to open them.
    for (int slot = 1; slot <= 4 && openTheme_; ++slot)
        OnCommand(IdMenuRecentTheme1 + slot - 1, [this, slot] { OpenRecentTheme(slot); });
    AddRecentTheme(session_, L"");
    StepDone("recent themes");
    // 11. The session read the stored tab. It is shown before the window is, so everything is drawn once.
    SelectTab(session_.SelectedTab);
    RefreshCommandStates();
    // Shown without the immediate erasing of every child: the first paint draws the window and every control
    // in it at once.
    SetWindowPos(hwnd(), HWND_TOP, 0, 0, 0, 0, SWP_SHOWWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOREDRAW);
    RedrawWindow(hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
    paintAllAtOnce_ = true;
    StepDone("tab");
    // 13.
    if (splashShown) CloseSplash();
}

SettingsTree& MainWindow::Tree() {
    if (SystemTree_->hwnd()) return *SystemTree_;
    RECT page{};
    GetClientRect(SettingsPanel_, &page);
    SystemTree_->Create(SettingsPanel_, IdSystemTree, page);
    // 10. A key that names no node is ignored.
    std::wstring selected = Registry::ReadString(ProgramSettingsKey, SelectedNodeValue);
    if (selected.empty() || selected == Registry::ErrorText) selected = L"General";
    SystemTree_->SelectNode(selected);
    // 12. The tree draws in its own font and follows the pointer.
    HWND tree = SystemTree_->SystemTree();
    SendMessageW(tree, WM_SETFONT, 0, TRUE);
    SetWindowLongPtrW(tree, GWL_STYLE, GetWindowLongPtrW(tree, GWL_STYLE) | TVS_TRACKSELECT);
    return *SystemTree_;
}

std::optional<POINT> MainWindow::StartPosition(int width, int height) const {
    const int positions = Registry::ReadDword(ProgramSettingsKey, PositionsValue);
    const auto left = StoredTwips(LeftValue), top = StoredTwips(TopValue);
    const bool stored = positions == 1 || (positions == Registry::ErrorNumber && left && top);
    if (stored) {
        if (!left || !top) return std::nullopt; // stays where the system puts it
        const POINT twips = TwipsPerPixel();
        const int x = static_cast<int>(std::lround(*left / twips.x));
        const int y = static_cast<int>(std::lround(*top / twips.y));
        // A position that no monitor shows any more (one was removed, the resolution shrank) is centred.
        const RECT there{x, y, x + width, y + height};
        if (MonitorFromRect(&there, MONITOR_DEFAULTTONULL)) return POINT{x, y};
    }
    return POINT{(GetSystemMetrics(SM_CXSCREEN) - width) / 2, (GetSystemMetrics(SM_CYSCREEN) - height) / 2};
}

bool MainWindow::Form_QueryUnload() {
    if (!session_.HasUnappliedChanges()) return true;
    switch (Messages::AskSaveChanges(prompts_)) {
    case 0:
        return false; // "&Cancel": the window stays, changes still staged
    case 2:
        cmdApply_Click();
        return true;
    default:
        return true; // "No", or closed without a button
    }
}

void MainWindow::Form_Unload() {
    if (session_.RestartDeclined) Messages::ShowNextStartNotice(prompts_);
    // A stored 0 means the tab is not to be remembered; an absent value records it from the first close.
    if (Registry::ReadDword(ProgramSettingsKey, ActiveTabValue) != 0)
        Registry::WriteDword(ProgramSettingsKey, ActiveTabValue, session_.SelectedTab);
    // A tree never shown still has the stored node selected.
    if (SystemTree_->hwnd())
        Registry::WriteString(ProgramSettingsKey, SelectedNodeValue, SystemTree_->SelectedKey());
    // The resting place, also when the window is minimized.
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    RECT frame{};
    if (IsIconic(hwnd()) && GetWindowPlacement(hwnd(), &placement))
        frame = placement.rcNormalPosition;
    else
        GetWindowRect(hwnd(), &frame);
    const POINT twips = TwipsPerPixel();
    Registry::WriteString(ProgramSettingsKey, LeftValue, std::to_wstring(frame.left * twips.x));
    Registry::WriteString(ProgramSettingsKey, TopValue, std::to_wstring(frame.top * twips.y));
}

void MainWindow::Form_Paint() {
    PaintGuard paint(hwnd());
    const bool allAtOnce = std::exchange(paintAllAtOnce_, false);
    if (allAtOnce && PaintWithChildren(hwnd(), [this](HDC dc) { PaintBorder(dc); })) return;
    PaintBorder(paint.dc());
}

void MainWindow::Form_MouseMove() {
    ToolbarDropHover();
}

// --- The toolbar, the bevelled frame, the splash and About windows.

void MainWindow::CreateToolbar() {
    toolbar_ = std::make_unique<ToolBarIcons>();
    if (!toolbar_->Create(hwnd(), IdToolbar, 0, 0)) return;
    toolbar_->events().Click = [this](int index) {
        RunCommandId(ToolbarCommands[static_cast<size_t>(index)]);
    };
}

bool MainWindow::ShowSplash() {
    splash_ = std::make_unique<frmSplash>();
    if (splash_->Show(hwnd())) return true;
    splash_.reset();
    return false;
}

void MainWindow::CloseSplash() {
    if (splash_) splash_->Close();
    splash_.reset();
}

void MainWindow::ShowAbout() {
    frmAbout about;
    about.Show(hwnd(), system_);
}

void MainWindow::PaintBorder(HDC dc) {
    RECT client;
    GetClientRect(hwnd(), &client);
    border_.SetCanvas(dc);
    border_.SetLeft(10);
    border_.SetTop(440);
    border_.SetWidth(static_cast<std::int16_t>(client.right * border_.TwipsPerPixelX() - 10));
    border_.SetHeight(static_cast<std::int16_t>(client.bottom * border_.TwipsPerPixelY() - 440));
    border_.SetStyle3D(8);
    border_.SetBevelOuter(0);
    border_.SetBevelInner(1);
    border_.SetBevelWidth(1);
    border_.SetBorderWidth(0);
    border_.Refresh(); // the frame's settings are fixed and valid, so it reports nothing
}

void MainWindow::ToolbarDropHover() {
    if (toolbar_) toolbar_->DropHover();
}
