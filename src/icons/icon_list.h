#pragma once
// The model behind one icon tab: up to 19 items in insertion order and the selected row.
// It answers every member the rest of the system calls; `ListBoxIcons` draws it and turns mouse and
// keys into selections. Items are never removed or reordered.
#include "themes/path_macros.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

struct IconListItem {
    std::wstring Caption; // whole; shortened only when drawn
    std::wstring IconPath;
    std::int16_t IconIndex = 0;
    std::wstring Key;
    std::wstring Position; // the item's position in decimal, set when added
    // The shell's tooltip beside a renamable item's name: as staged, as read at start (what "&Restore"
    // puts back) and as the registry holds it now (Apply writes only one that differs).
    std::wstring Tooltip;
    std::wstring TooltipAtStart;
    std::wstring TooltipStored;
};

class IconListModel {
public:
    static constexpr int Capacity = 19;
    static constexpr int RowHeight = 50;
    static constexpr int InitialRows = 5; // the surface's height before a sixth item arrives

    // What a view must redraw. `row` is -1 for "everything".
    struct Observer {
        virtual ~Observer() = default;
        virtual void ItemAdded(int row) = 0;
        virtual void SelectionChanged(int oldRow, int newRow) = 0;
        virtual void Redraw(int row) = 0;
    };

    // ownExePath marks pointer items that use the Windows default pointer; folders expand theme macros in
    // Change.
    explicit IconListModel(std::wstring ownExePath = {}, const ThemeFolders* folders = nullptr);

    void SetObserver(Observer* observer) { observer_ = observer; }

    // Appends an item; false (and nothing changes) when the list already holds 19.
    bool AddItem(const std::wstring& caption, const std::wstring& iconPath, std::int16_t iconIndex,
                 const std::wstring& key);

    // Selection by surface pixel: y outside 0 .. surface height - 1 changes nothing.
    void SelectAt(int y);
    void SelItemKey(const std::wstring& key);
    void SelItemIndex(std::int16_t index);

    std::wstring Key() const;
    int ListCount() const { return static_cast<int>(items_.size()); }
    std::wstring SeledKey() const { return Key(); }
    std::wstring SeledCaption() const;
    std::wstring SeledListIndex() const;
    std::wstring SeledIconPath() const;
    std::int16_t SeledIconIndex() const;
    std::wstring SeledFullIconPath() const;
    double ListIndex() const { return SelectedRow(); }

    std::wstring ItemFullPath(const std::wstring& key) const;
    // The item's file alone; empty when it is the program's own file (the Windows default pointer).
    std::wstring ItemFullPathmouse(const std::wstring& key) const;
    std::wstring ItemCaption(const std::wstring& key) const;

    // Empty caption or path and index -1 leave that field as it is. With index -1 the path is an icon
    // reference: it is split at its last comma and a leading theme macro expanded. A reference whose
    // index part is not a 16-bit decimal number changes nothing. False when nothing changed.
    bool Change(const std::wstring& key, const std::wstring& caption, const std::wstring& iconPath,
                std::int16_t iconIndex = -1);

    // The tooltip as read at start: staged, start and stored texts all become it.
    void ReadTooltip(const std::wstring& key, const std::wstring& text);
    // Stages a tooltip; false when the key is unknown or the text is what is staged already.
    bool SetTooltip(const std::wstring& key, const std::wstring& text);
    // After Apply has written the staged tooltip.
    void TooltipWritten(const std::wstring& key);

    // Ask the view to draw the selected item, or every item, again.
    void ItemRefresh();
    void ListRefresh();

    int SelectedRow() const { return selectionTop_ / RowHeight; }
    int SurfaceHeight() const;
    const std::vector<IconListItem>& Items() const { return items_; }
    const IconListItem* Find(std::wstring_view key) const;
    const std::wstring& OwnExePath() const { return ownExePath_; }

private:
    const IconListItem* Selected() const;
    IconListItem* FindMutable(const std::wstring& key);

    std::vector<IconListItem> items_;
    int selectionTop_ = 0;
    std::wstring ownExePath_;
    const ThemeFolders* folders_;
    Observer* observer_ = nullptr;
};
