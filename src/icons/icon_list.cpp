#include "icons/icon_list.h"

#include "icons/icon_location.h"

#include <algorithm>

IconListModel::IconListModel(std::wstring ownExePath, const ThemeFolders* folders)
    : ownExePath_(std::move(ownExePath)), folders_(folders) {
    items_.reserve(Capacity);
}

bool IconListModel::AddItem(const std::wstring& caption, const std::wstring& iconPath, std::int16_t iconIndex,
                            const std::wstring& key) {
    if (ListCount() >= Capacity) return false;
    const int row = ListCount();
    items_.push_back({caption, iconPath, iconIndex, key, std::to_wstring(row), {}, {}, {}});
    selectionTop_ = 0;
    if (observer_) observer_->ItemAdded(row);
    return true;
}

int IconListModel::SurfaceHeight() const {
    return std::max(InitialRows, ListCount()) * RowHeight;
}

void IconListModel::SelectAt(int y) {
    if (y < 0 || y >= SurfaceHeight()) return;
    const int oldRow = SelectedRow();
    selectionTop_ = y / RowHeight * RowHeight;
    if (observer_) observer_->SelectionChanged(oldRow, SelectedRow());
}

void IconListModel::SelItemKey(const std::wstring& key) {
    auto it = std::find_if(items_.begin(), items_.end(), [&](const IconListItem& i) { return i.Key == key; });
    // No match: y = the item count, which lies in the first row.
    SelectAt(it == items_.end() ? ListCount() : static_cast<int>(it - items_.begin()) * RowHeight);
}

void IconListModel::SelItemIndex(std::int16_t index) {
    SelectAt(index * RowHeight);
}

const IconListItem* IconListModel::Selected() const {
    const int row = SelectedRow();
    return row < ListCount() ? &items_[row] : nullptr;
}

std::wstring IconListModel::Key() const {
    return Selected() ? Selected()->Key : std::wstring();
}
std::wstring IconListModel::SeledCaption() const {
    return Selected() ? Selected()->Caption : std::wstring();
}
std::wstring IconListModel::SeledListIndex() const {
    return Selected() ? Selected()->Position : std::wstring();
}
std::wstring IconListModel::SeledIconPath() const {
    return Selected() ? Selected()->IconPath : std::wstring();
}
std::int16_t IconListModel::SeledIconIndex() const {
    return Selected() ? Selected()->IconIndex : 0;
}
std::wstring IconListModel::SeledFullIconPath() const {
    return Selected() ? FormatIconLocation(Selected()->IconPath, Selected()->IconIndex) : std::wstring();
}

const IconListItem* IconListModel::Find(std::wstring_view key) const {
    for (const auto& item : items_)
        if (item.Key == key) return &item;
    return nullptr;
}

std::wstring IconListModel::ItemFullPath(const std::wstring& key) const {
    const IconListItem* item = Find(key);
    return item ? FormatIconLocation(item->IconPath, item->IconIndex) : std::wstring();
}

std::wstring IconListModel::ItemFullPathmouse(const std::wstring& key) const {
    const IconListItem* item = Find(key);
    if (!item || item->IconPath == ownExePath_) return {};
    return item->IconPath;
}

std::wstring IconListModel::ItemCaption(const std::wstring& key) const {
    const IconListItem* item = Find(key);
    return item ? item->Caption : std::wstring();
}

bool IconListModel::Change(const std::wstring& key, const std::wstring& caption, const std::wstring& iconPath,
                           std::int16_t iconIndex) {
    std::wstring path = iconPath;
    std::int16_t index = iconIndex;
    if (!path.empty() && index == -1) {
        SplitLocation split = SplitIconLocation(path);
        if (!split.usable()) return false;
        path = folders_ ? ExpandThemePath(split.file, *folders_) : split.file;
        index = *split.index;
    }
    auto it = std::find_if(items_.begin(), items_.end(), [&](const IconListItem& i) { return i.Key == key; });
    if (it == items_.end()) return false;
    bool changed = false;
    if (!caption.empty() && it->Caption != caption) it->Caption = caption, changed = true;
    if (!path.empty() && it->IconPath != path) it->IconPath = path, changed = true;
    if (index != -1 && it->IconIndex != index) it->IconIndex = index, changed = true;
    return changed;
}

IconListItem* IconListModel::FindMutable(const std::wstring& key) {
    auto it = std::find_if(items_.begin(), items_.end(), [&](const IconListItem& i) { return i.Key == key; });
    return it == items_.end() ? nullptr : &*it;
}

void IconListModel::ReadTooltip(const std::wstring& key, const std::wstring& text) {
    if (IconListItem* item = FindMutable(key))
        item->Tooltip = item->TooltipAtStart = item->TooltipStored = text;
}

bool IconListModel::SetTooltip(const std::wstring& key, const std::wstring& text) {
    IconListItem* item = FindMutable(key);
    if (!item || item->Tooltip == text) return false;
    item->Tooltip = text;
    return true;
}

void IconListModel::TooltipWritten(const std::wstring& key) {
    if (IconListItem* item = FindMutable(key)) item->TooltipStored = item->Tooltip;
}

void IconListModel::ItemRefresh() {
    SelectAt(selectionTop_);
}

void IconListModel::ListRefresh() {
    if (observer_) observer_->Redraw(-1);
    SelectAt(selectionTop_);
}
