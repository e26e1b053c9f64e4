#include "controls/settings_tree.h"

#include "controls/tree_pictures.h"
#include "settings/settings_catalogue.h"

#include <windowsx.h>

#include <algorithm>

namespace {
constexpr int IdTree = 1, IdEditor = 2;

int PictureIndex(SettingImage image) {
    return static_cast<int>(image) - 1;
}
} // namespace

SettingsTree::SettingsTree(SettingsState& state) : state_(state) {
    On(WM_SIZE, [this](WPARAM, LPARAM) {
        Layout();
        return 0;
    });
    On(WM_SETFOCUS, [this](WPARAM, LPARAM) {
        if (tree_) SetFocus(tree_);
        return 0;
    });
    OnNotify(IdTree, TVN_SELCHANGEDW, [this](NMHDR* header) {
        auto* change = reinterpret_cast<NMTREEVIEWW*>(header);
        if (events_.NodeClick && change->itemNew.hItem) events_.NodeClick(KeyOf(change->itemNew.hItem));
        return 0;
    });
    // The user opened or closed a group (code that does so shows the pictures itself).
    OnNotify(IdTree, TVN_ITEMEXPANDEDW, [this](NMHDR* header) {
        const int index = IndexOf(reinterpret_cast<NMTREEVIEWW*>(header)->itemNew.hItem);
        if (index >= 0) ShowImages(index);
        return 0;
    });
    OnNotify(IdTree, NM_DBLCLK, [this](NMHDR*) {
        if (events_.DblClick) events_.DblClick(SelectedKey());
        return 0;
    });
    OnNotify(IdTree, TVN_KEYDOWN, [this](NMHDR* header) {
        const WORD key = reinterpret_cast<NMTVKEYDOWN*>(header)->wVKey;
        return static_cast<LRESULT>(events_.KeyDown && events_.KeyDown(SelectedKey(), key));
    });
    state_.AddObserver(this);
}

SettingsTree::~SettingsTree() {
    state_.RemoveObserver(this);
    // Whoever listens may be going too: nothing the tree does while it goes is reported.
    events_ = {};
    editor_.SetEvents({});
    // The tree must go before the image list it draws with.
    if (hwnd()) DestroyWindow(hwnd());
}

bool SettingsTree::Create(HWND parent, int id, const RECT& bounds) {
    RegisterWindowClass(SettingsTreeClass, 0, GetSysColorBrush(COLOR_WINDOW));
    const int width = bounds.right - bounds.left, height = bounds.bottom - bounds.top;
    if (!CreateWindowFor(SettingsTreeClass, L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, bounds.left,
                         bounds.top, width, height, parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id))))
        return false;
    constexpr DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | TVS_HASBUTTONS | TVS_HASLINES |
                            TVS_LINESATROOT | TVS_SHOWSELALWAYS | TVS_TRACKSELECT;
    tree_ = CreateWindowExW(WS_EX_CLIENTEDGE, WC_TREEVIEWW, L"", style, 0, 0, width, height, hwnd(),
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(IdTree)), GetModuleHandleW(nullptr),
                            nullptr);
    if (!tree_) return false;
    SendMessageW(tree_, WM_SETFONT, reinterpret_cast<WPARAM>(MessageFont()), FALSE);
    images_ = MakeTreeImageList();
    SendMessageW(tree_, TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(images_.get()));
    SetWindowSubclass(tree_, &SettingsTree::TreeProc, 1, reinterpret_cast<DWORD_PTR>(this));
    items_.clear();
    for (int i = 0; i < state_.Count(); ++i) InsertNode(i);
    const std::vector<std::wstring> verbs(std::begin(FolderVerbChoices), std::end(FolderVerbChoices));
    if (!editor_.Create(hwnd(), IdEditor, verbs)) return false;
    Layout();
    return true;
}

void SettingsTree::ShowEditorBelow(int treeTwips) {
    treeTwips_ = std::min(treeTwips, FullTreeTwips);
    Layout();
}

void SettingsTree::Layout() {
    if (!tree_) return;
    RECT client;
    GetClientRect(hwnd(), &client);
    const int given = MulDiv(FullTreeTwips - treeTwips_, ScreenPixelsPerInch().cy, 1440);
    const int treeHeight = std::max(0, static_cast<int>(client.bottom) - given);
    MoveWindow(tree_, 0, 0, client.right, treeHeight, TRUE);
    if (!editor_.hwnd()) return;
    MoveWindow(editor_.hwnd(), 0, treeHeight, client.right, client.bottom - treeHeight, TRUE);
    ShowWindow(editor_.hwnd(), given > 0 ? SW_SHOW : SW_HIDE);
}

// Mouse presses reach the editor before the tree's own handling, which for the right button would wait for
// the release: the right-click menu opens on the press.
LRESULT CALLBACK SettingsTree::TreeProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                        DWORD_PTR self) {
    try {
        if (message == WM_NCDESTROY) RemoveWindowSubclass(window, &SettingsTree::TreeProc, id);
        auto* tree = reinterpret_cast<SettingsTree*>(self);
        int button = 0;
        if (message == WM_LBUTTONDOWN) button = VK_LBUTTON;
        if (message == WM_RBUTTONDOWN) button = VK_RBUTTON;
        if (message == WM_MBUTTONDOWN) button = VK_MBUTTON;
        if (button && tree->events_.MouseDown) {
            if (button == VK_RBUTTON) SetFocus(window);
            tree->events_.MouseDown(button, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
            if (button == VK_RBUTTON) return 0;
        }
        return DefSubclassProc(window, message, wParam, lParam);
    } catch (...) {
        return 0;
    }
}

void SettingsTree::OnDestroyed() {
    tree_ = nullptr;
    items_.clear();
}

void SettingsTree::NodeAdded(int index) {
    if (tree_ && index == static_cast<int>(items_.size())) InsertNode(index);
}

void SettingsTree::ImageChanged(int index) {
    if (index >= 0 && index < static_cast<int>(items_.size())) ShowImages(index);
}

void SettingsTree::InsertNode(int index) {
    const SettingNode& node = state_.Node(index);
    std::wstring caption = node.Caption;
    TVINSERTSTRUCTW insert{};
    insert.hParent = node.Parent.empty() ? TVI_ROOT : Item(node.Parent);
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT | TVIF_PARAM;
    insert.item.pszText = caption.data();
    insert.item.lParam = index;
    auto item = reinterpret_cast<HTREEITEM>(
        SendMessageW(tree_, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
    items_.push_back(item);
    ShowImages(index);
}

void SettingsTree::ShowImages(int index) {
    HTREEITEM item = items_[static_cast<size_t>(index)];
    if (!item || !tree_) return;
    const SettingNode& node = state_.Node(index);
    const bool open = (SendMessageW(tree_, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(item), TVIS_EXPANDED) &
                       TVIS_EXPANDED) != 0;
    TVITEMW update{};
    update.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    update.hItem = item;
    update.iImage = PictureIndex(open ? node.ExpandedImage() : node.Image);
    update.iSelectedImage = PictureIndex(node.SelectedImage());
    SendMessageW(tree_, TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&update));
}

HTREEITEM SettingsTree::Item(const std::wstring& key) const {
    const int index = state_.IndexOf(key);
    if (index < 0 || index >= static_cast<int>(items_.size())) return nullptr;
    return items_[static_cast<size_t>(index)];
}

int SettingsTree::IndexOf(HTREEITEM item) const {
    if (!item || !tree_) return -1;
    TVITEMW read{};
    read.mask = TVIF_PARAM;
    read.hItem = item;
    if (!SendMessageW(tree_, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&read))) return -1;
    const auto index = static_cast<int>(read.lParam);
    return index >= 0 && index < state_.Count() ? index : -1;
}

std::wstring SettingsTree::KeyOf(HTREEITEM item) const {
    const int index = IndexOf(item);
    return index < 0 ? std::wstring() : state_.Node(index).Key;
}

std::wstring SettingsTree::SelectedKey() const {
    if (!tree_) return {};
    return KeyOf(reinterpret_cast<HTREEITEM>(SendMessageW(tree_, TVM_GETNEXTITEM, TVGN_CARET, 0)));
}

bool SettingsTree::SelectNode(const std::wstring& key) {
    HTREEITEM item = Item(key);
    if (!item) return false;
    SendMessageW(tree_, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
    SendMessageW(tree_, TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(item));
    return true;
}

std::wstring SettingsTree::NodeAt(POINT point) const {
    if (!tree_) return {};
    TVHITTESTINFO hit{};
    hit.pt = point;
    auto item =
        reinterpret_cast<HTREEITEM>(SendMessageW(tree_, TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
    return (hit.flags & TVHT_ONITEM) ? KeyOf(item) : std::wstring();
}

bool SettingsTree::EnsureNodeVisible(const std::wstring& key) {
    HTREEITEM item = Item(key);
    if (!item) return false;
    SendMessageW(tree_, TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(item));
    return true;
}

bool SettingsTree::Expand(const std::wstring& key) {
    HTREEITEM item = Item(key);
    if (!item) return false;
    // The control tells nobody about expansions asked for by code.
    SendMessageW(tree_, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(item));
    ShowImages(state_.IndexOf(key));
    return IsExpanded(key);
}

bool SettingsTree::Collapse(const std::wstring& key) {
    HTREEITEM item = Item(key);
    if (!item) return false;
    SendMessageW(tree_, TVM_EXPAND, TVE_COLLAPSE, reinterpret_cast<LPARAM>(item));
    ShowImages(state_.IndexOf(key));
    return !IsExpanded(key);
}

bool SettingsTree::IsExpanded(const std::wstring& key) const {
    HTREEITEM item = Item(key);
    if (!item) return false;
    return (SendMessageW(tree_, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(item), TVIS_EXPANDED) &
            TVIS_EXPANDED) != 0;
}

void SettingsTree::ExpandAll() {
    for (const SettingNode& node : state_.Nodes())
        if (node.Kind == SettingKind::Group) Expand(node.Key);
}

void SettingsTree::CollapseAll() {
    for (const SettingNode& node : state_.Nodes())
        if (node.Kind == SettingKind::Group) Collapse(node.Key);
}
