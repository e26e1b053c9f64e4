// The main window's help: the contents (Help menu, F1, the "&Help" button, toolbar button 9), the
// help-select mode (Help menu, Shift+F1, toolbar button 8) and the settings tree's "&What's This?".
#include "help/help_book.h"
#include "session/session.h"
#include "settings/settings_catalogue.h"
#include "ui/command_ids.h"
#include "ui/main_window.h"
#include "ui/whats_this.h"

#include <commctrl.h>

#include <cstring>

namespace {
// What's This topics of the main window's own controls, by control id.
struct ControlTopic {
    int id;
    int topic;
};
constexpr ControlTopic ControlTopics[] = {
    {IdSystemTree, HelpTopics::SettingsTree}, {IdInfoBar, HelpTopics::InformationBar},
    {IdCmdOk, HelpTopics::OkButton},          {IdCmdCancel, HelpTopics::CancelButton},
    {IdCmdApply, HelpTopics::ApplyButton},    {IdCmdHelp, HelpTopics::HelpButton},
    {IdCmdChange, HelpTopics::ChangeButton},  {IdCmdDefault, HelpTopics::DefaultIconButton},
    {IdCmdRename, HelpTopics::RenameButton},
};
} // namespace

void MainWindow::WireHelpCommands() {
    OnCommand(IdMenuHelpContents, [this] { OpenHelpContents(); });
    OnCommand(IdCmdHelp, [this] { OpenHelpContents(); });
    OnCommand(IdMenuWhatsThis, [this] { EnterWhatsThisMode(); });
    OnCommand(IdMenuNodeWhatsThis, [this] { ShowNodeWhatsThis(HelpTopic(Tree().SelectedKey())); });
    // F1 where no accelerator catches it first, from any control of the window or a prompt over it.
    On(WM_HELP, [this](WPARAM, LPARAM) {
        OpenHelpContents();
        return TRUE;
    });
}

void MainWindow::OpenHelpContents() {
    system_.OpenHelp(session_.Facts.HelpFile, HELP_FINDER, L"", 0);
}

void MainWindow::EnterWhatsThisMode() {
    const auto click = RunWhatsThisMode(hwnd());
    if (!click) return;
    RECT anchor;
    GetWindowRect(click->control, &anchor);
    // Large controls get the pop-up beside the pointer rather than beyond their far edge.
    if (anchor.right - anchor.left > 200)
        anchor = {click->screen.x, click->screen.y, click->screen.x + 8, click->screen.y + 8};
    ShowHelpPopup(hwnd(), anchor, TopicOfControl(click->control, click->screen));
}

int MainWindow::TopicOfControl(HWND control, POINT screen) const {
    if (control == TabStrip_) {
        TCHITTESTINFO hit{screen, 0};
        ScreenToClient(TabStrip_, &hit.pt);
        const auto tab = SendMessageW(TabStrip_, TCM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
        return HelpTopics::Tab(tab >= 0 ? static_cast<int>(tab) + 1 : session_.SelectedTab);
    }
    const int id = control && control != hwnd() ? GetDlgCtrlID(control) : 0;
    // Clicks land on the window's own children; the panels stand for what they hold: the tree, or the list
    // of the selected tab.
    if (id == IdSettingsPanel) return HelpTopics::SettingsTree;
    if (id == IdIconPanel) return HelpTopics::Tab(session_.SelectedTab);
    for (const ControlTopic& row : ControlTopics)
        if (row.id == id) return row.topic;
    return 0;
}

void MainWindow::ShowNodeWhatsThis(int topic) {
    RECT anchor{};
    SettingsTree& settings = Tree();
    HWND tree = settings.SystemTree();
    GetWindowRect(tree, &anchor);
    // Beside the selected node when there is one in view.
    if (HTREEITEM item = settings.Item(settings.SelectedKey())) {
        RECT node{};
        std::memcpy(&node, &item, sizeof item); // the item goes in, its rectangle comes out
        if (SendMessageW(tree, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&node))) {
            MapWindowPoints(tree, nullptr, reinterpret_cast<POINT*>(&node), 2);
            anchor = node;
        }
    }
    ShowHelpPopup(hwnd(), anchor, topic);
}
