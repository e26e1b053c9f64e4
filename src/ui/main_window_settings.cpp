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

UniqueHMenu BuildRightClickMenu() {
    UniqueHMenu menu(CreatePopupMenu());
    if (!menu) return menu;
    AppendMenuW(menu.get(), MF_STRING | MF_GRAYED, IdMenuNodeWhatsThis, L"&What's This?");
    AppendMenuW(menu.get(), MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu.get(), MF_STRING, IdMenuNodeToggle, L"&Toggle");
    AppendMenuW(menu.get(), MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu.get(), MF_STRING, IdMenuNodeExpandAll, L"Expand &All");
    AppendMenuW(menu.get(), MF_STRING, IdMenuNodeCollapseAll, L"&Collapse All");
    return menu;
}

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

    mnuMenu_ = BuildRightClickMenu();
    // "&What's This?" has no handler until the pop-up help exists, so it stays disabled.
    OnCommand(IdMenuNodeToggle, [this] { mnuRClickItem_Click(NodeItem); });
    OnCommand(IdMenuNodeExpandAll, [this] { mnuRClickItem_Click(ExpandAllItem); });
    OnCommand(IdMenuNodeCollapseAll, [this] { mnuRClickItem_Click(CollapseAllItem); });
    OnCommand(IdMenuRestoreSettings, [this] { mnuToolsRestoreSettings_Click(); });
}

void MainWindow::SystemTree_NodeClick(const std::wstring& key) {
    const EditorContent shown = SelectSettingNode(session_, system_, key);
    ValueEditor& editor = SystemTree_->Editor();
    switch (shown.kind) {
    case EditorKind::Number:
        editor.ShowNumber(shown.caption, shown.unit, shown.value);
        SystemTree_->ShowEditorBelow(NumberTreeTwips);
        break;
    case EditorKind::Choice:
        editor.ShowChoice(shown.caption, shown.unit, shown.text);
        SystemTree_->ShowEditorBelow(ChoiceTreeTwips);
        break;
    case EditorKind::None:
        SystemTree_->ShowEditorBelow(FullTreeTwips);
        break;
    }
    SystemTree_->EnsureNodeVisible(key);
}

void MainWindow::SystemTree_DblClick() {
    const std::wstring key = SystemTree_->SelectedKey();
    if (!key.empty()) ToggleSetting(session_, prompts_, key);
}

void MainWindow::SystemTree_MouseDown(int button, POINT point) {
    const std::wstring key = SystemTree_->NodeAt(point);
    if (key.empty()) return;
    // A press on the selected node selects nothing new, yet the editor is shown afresh.
    if (SystemTree_->SelectedKey() == key)
        SystemTree_NodeClick(key);
    else
        SystemTree_->SelectNode(key);

    const SettingNode* node = session_.Settings.Find(key);
    if (!node || !mnuMenu_) return;
    const NodeMenuItem item = NodeMenuItemFor(*node, SystemTree_->IsExpanded(key));
    const std::wstring caption(item.caption);
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_STRING | MIIM_STATE;
    info.dwTypeData = const_cast<wchar_t*>(caption.c_str());
    info.fState = (item.enabled ? MFS_ENABLED : MFS_GRAYED) | MFS_DEFAULT;
    SetMenuItemInfoW(mnuMenu_.get(), NodeItem, TRUE, &info);
    if (button != VK_RBUTTON) return;
    POINT screen = point;
    ClientToScreen(SystemTree_->SystemTree(), &screen);
    TrackPopupMenu(mnuMenu_.get(), TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON, screen.x, screen.y, 0,
                   hwnd(), nullptr);
}

void MainWindow::mnuRClickItem_Click(int index) {
    const std::wstring key = SystemTree_->SelectedKey();
    switch (index) {
    case WhatsThisItem:
        return; // comes with the pop-up help
    case NodeItem: {
        const SettingNode* node = session_.Settings.Find(key);
        if (!node) return;
        switch (NodeMenuItemFor(*node, SystemTree_->IsExpanded(key)).action) {
        case NodeAction::Toggle:
            ToggleSetting(session_, prompts_, key);
            break;
        case NodeAction::Expand:
            SystemTree_->Expand(key);
            break;
        case NodeAction::Collapse:
            SystemTree_->Collapse(key);
            break;
        case NodeAction::None:
            break;
        }
        return;
    }
    case ExpandAllItem:
        SystemTree_->ExpandAll();
        if (!key.empty()) SystemTree_->EnsureNodeVisible(key);
        return;
    case CollapseAllItem:
        SystemTree_->ShowEditorBelow(FullTreeTwips);
        SystemTree_->CollapseAll();
        return;
    default:
        return;
    }
}

void MainWindow::SystemScroll_Change(int value) {
    if (auto shown = ChangeNumber(session_, system_, SystemTree_->SelectedKey(), value))
        SystemTree_->Editor().ShowValue(*shown);
}

void MainWindow::SystemText_KeyUp() {
    ValueEditor& editor = SystemTree_->Editor();
    const std::wstring typed = editor.Text();
    const auto value = TypeNumber(session_, system_, SystemTree_->SelectedKey(), typed);
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
    const std::wstring key = SystemTree_->SelectedKey();
    if (session_.SelectedTab == 1 && !key.empty()) SystemTree_NodeClick(key);
}
