#pragma once
// `SystemTree`: the settings tree of the Shell tab, drawn from a SettingsState. A plain host window holds the
// tree view control so that the control's notifications come here and not to whoever places it. The tree
// shows every node the state holds, in its order, and follows every image change at once. It keeps no
// state of its own beyond which groups are open and which node is selected. Below the tree, when asked,
// it shows the value editor.
#include "controls/value_editor.h"
#include "platform/unique_handle.h"
#include "platform/window.h"
#include "settings/settings_state.h"

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

inline constexpr wchar_t SettingsTreeClass[] = L"TessalySettingsTree";

// The tree's height in twips: full, and shortened for the number editor and for the folder verb's. The
// editor takes what the tree gives up.
inline constexpr int FullTreeTwips = 3450;
inline constexpr int NumberTreeTwips = 2690;
inline constexpr int ChoiceTreeTwips = 2700;

class SettingsTree : public Window, private SettingsState::Observer {
public:
    // What the editor hears. Each names the node concerned by its key.
    struct Events {
        // A node became selected, by mouse, keys or code.
        std::function<void(const std::wstring& key)> NodeClick;
        // A double-click in the tree; the key is the selected node's (empty when none).
        std::function<void(const std::wstring& key)> DblClick;
        // A key pressed in the tree, with the selected node's key; true keeps the tree from using it
        // (its incremental search, for example).
        std::function<bool(const std::wstring& key, WORD virtualKey)> KeyDown;
        // A mouse button (VK_LBUTTON, VK_RBUTTON or VK_MBUTTON) pressed at a point of the tree control's
        // client area, before the tree acts on it. A right press goes no further than this.
        std::function<void(int button, POINT point)> MouseDown;
    };

    explicit SettingsTree(SettingsState& state);
    ~SettingsTree() override;

    // Creates the host and the tree inside it and shows every node already in the state.
    bool Create(HWND parent, int id, const RECT& bounds);
    // The tree view control itself.
    HWND SystemTree() const { return tree_; }
    void SetEvents(Events events) { events_ = std::move(events); }
    ValueEditor& Editor() { return editor_; }
    // Gives the tree `treeTwips` of its full height (FullTreeTwips) and shows the editor in the rest;
    // FullTreeTwips hides the editor.
    void ShowEditorBelow(int treeTwips);

    std::wstring SelectedKey() const;
    // Selects the node and scrolls it into view; false when there is no such node.
    bool SelectNode(const std::wstring& key);
    // The node at a point in the tree control's client area; empty where there is none.
    std::wstring NodeAt(POINT point) const;
    bool EnsureNodeVisible(const std::wstring& key);

    bool Expand(const std::wstring& key);
    bool Collapse(const std::wstring& key);
    bool IsExpanded(const std::wstring& key) const;
    // Every node, first to last.
    void ExpandAll();
    void CollapseAll();

    // The tree item of a node; null when there is none.
    HTREEITEM Item(const std::wstring& key) const;

private:
    void NodeAdded(int index) override;
    void ImageChanged(int index) override;
    void StagedTextChanged(const std::wstring&) override {}
    void OnDestroyed() override;
    void Layout();
    static LRESULT CALLBACK TreeProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);

    void InsertNode(int index);
    // Puts the node's pictures on its item: open groups show the open picture.
    void ShowImages(int index);
    std::wstring KeyOf(HTREEITEM item) const;
    int IndexOf(HTREEITEM item) const;

    SettingsState& state_;
    HWND tree_ = nullptr;
    UniqueHImageList images_;
    std::vector<HTREEITEM> items_; // by node index
    Events events_;
    ValueEditor editor_;
    int treeTwips_ = FullTreeTwips;
};
