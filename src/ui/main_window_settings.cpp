// The Shell tab's events: selecting, toggling and editing settings in the tree and its value editor, the
// tree's "Right Click" menu, and Tools "Restore all &Settings". The rules are the settings commands'; this
// file only carries events to them and shows what they decide.
#include "session/session.h"
#include "settings/settings_editor.h"
#include "settings/settings_restore.h"
#include "ui/command_ids.h"
#include "ui/main_window.h"

namespace {

// Menu positions, which the menu's own captions follow.
constexpr int WhatsThisItem = 0, NodeItem = 2, ExpandAllItem = 4, CollapseAllItem = 5;

} // namespace

void MainWindow::WireSettingsCommands() {
    SettingsTree::Events tree;
    tree.NodeClick = [this](const std::wstring& key) { SystemTree_NodeClick(key); };
    tree.DblClick = [this](const std::wstring&) { SystemTree_DblClick(); };
    // The space bar toggles as a double-click does.
    tree.KeyDown = [this](const std::wstring&, WORD key) {
        if (key != VK_SPACE) return false;
        SystemTree_DblClick();
        return true;
    };
    tree.MouseDown = [this](int button, POINT point) { SystemTree_MouseDown(button, point); };
    SystemTree_->SetEvents(std::move(tree));

    ValueEditor::Events editor;
    editor.ScrollChange = [this](int value) { SystemScroll_Change(value); };
    editor.TextKeyUp = [this] { SystemText_KeyUp(); };
    editor.ComboChange = [this](const std::wstring& text) { SystemCombo_Click(text); };
    SystemTree_->Editor().SetEvents(std::move(editor));

    // "&What's This?" is the help's own command.
    OnCommand(IdMenuNodeToggle, [this] { mnuRClickItem_Click(NodeItem); });
    OnCommand(IdMenuNodeExpandAll, [this] { mnuRClickItem_Click(ExpandAllItem); });
    OnCommand(IdMenuNodeCollapseAll, [this] { mnuRClickItem_Click(CollapseAllItem); });
    OnCommand(IdMenuRestoreSettings, [this] { mnuToolsRestoreSettings_Click(); });
}

void MainWindow::SystemTree_NodeClick(const std::wstring& key) {
    const EditorContent shown = SelectSettingNode(session_, system_, key);
    ValueEditor& editor = Tree().Editor();
    switch (shown.kind) {
    case EditorKind::Number:
        editor.ShowNumber(shown.caption, shown.unit, shown.value);
        Tree().ShowEditorBelow(NumberTreeTwips);
        break;
    case EditorKind::Choice:
        editor.ShowChoice(shown.caption, shown.unit, shown.text);
        Tree().ShowEditorBelow(ChoiceTreeTwips);
        break;
    case EditorKind::None:
        Tree().ShowEditorBelow(FullTreeTwips);
        break;
    }
    Tree().EnsureNodeVisible(key);
}

void MainWindow::SystemTree_DblClick() {
    const std::wstring key = Tree().SelectedKey();
    if (!key.empty()) ToggleSetting(session_, prompts_, key);
}

void MainWindow::SystemTree_MouseDown(int button, POINT point) {
    const std::wstring key = Tree().NodeAt(point);
    if (key.empty()) return;
    // A press on the selected node selects nothing new, yet the editor is shown afresh.
    if (Tree().SelectedKey() == key)
        SystemTree_NodeClick(key);
    else
        Tree().SelectNode(key);

    const SettingNode* node = session_.Settings.Find(key);
    HMENU menu = RightClickMenu();
    if (!node || !menu) return;
    const NodeMenuItem item = NodeMenuItemFor(*node, Tree().IsExpanded(key));
    const std::wstring caption(item.caption);
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_STRING | MIIM_STATE;
    info.dwTypeData = const_cast<wchar_t*>(caption.c_str());
    info.fState = (item.enabled ? MFS_ENABLED : MFS_GRAYED) | MFS_DEFAULT;
    SetMenuItemInfoW(menu, NodeItem, TRUE, &info);
    EnableMenuItem(menu, WhatsThisItem,
                   MF_BYPOSITION | (HasCommand(IdMenuNodeWhatsThis) ? MF_ENABLED : MF_GRAYED));
    if (button != VK_RBUTTON) return;
    POINT screen = point;
    ClientToScreen(Tree().SystemTree(), &screen);
    TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON, screen.x, screen.y, 0, hwnd(),
                   nullptr);
}

void MainWindow::mnuRClickItem_Click(int index) {
    const std::wstring key = Tree().SelectedKey();
    switch (index) {
    case WhatsThisItem:
        return; // the help's own command
    case NodeItem: {
        const SettingNode* node = session_.Settings.Find(key);
        if (!node) return;
        switch (NodeMenuItemFor(*node, Tree().IsExpanded(key)).action) {
        case NodeAction::Toggle:
            ToggleSetting(session_, prompts_, key);
            break;
        case NodeAction::Expand:
            Tree().Expand(key);
            break;
        case NodeAction::Collapse:
            Tree().Collapse(key);
            break;
        case NodeAction::None:
            break;
        }
        return;
    }
    case ExpandAllItem:
        Tree().ExpandAll();
        if (!key.empty()) Tree().EnsureNodeVisible(key);
        return;
    case CollapseAllItem:
        Tree().ShowEditorBelow(FullTreeTwips);
        Tree().CollapseAll();
        return;
    default:
        return;
    }
}

void MainWindow::SystemScroll_Change(int value) {
    if (auto shown = ChangeNumber(session_, system_, Tree().SelectedKey(), value))
        Tree().Editor().ShowValue(*shown);
}

void MainWindow::SystemText_KeyUp() {
    ValueEditor& editor = Tree().Editor();
    const std::wstring typed = editor.Text();
    const auto value = TypeNumber(session_, system_, Tree().SelectedKey(), typed);
    if (!value) {
        editor.UndoTyping();
        return;
    }
    // What was typed stays where the user is typing, unless the rule changed it.
    if (typed == std::to_wstring(*value))
        editor.SetScrollValue(*value);
    else
        editor.ShowValue(*value);
    editor.KeepTyping();
}

void MainWindow::SystemCombo_Click(const std::wstring& text) {
    StageFolderVerb(session_, text);
}

void MainWindow::mnuToolsRestoreSettings_Click() {
    if (!RestoreAllSettings(session_, prompts_, system_)) return;
    // An open value editor shows the restored value.
    const std::wstring key = Tree().SelectedKey();
    if (session_.SelectedTab == 1 && !key.empty()) SystemTree_NodeClick(key);
}
