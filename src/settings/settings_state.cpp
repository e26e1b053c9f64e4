#include "settings/settings_state.h"

#include <algorithm>
#include <utility>

void SettingsState::FillOnFirstUse(Filler filler) {
    filler_ = std::move(filler);
}

SettingsState& SettingsState::Ready() {
    // Marked first: the filler's own uses must not fill again.
    if (filler_ && !std::exchange(filled_, true)) {
        filling_ = true;
        filler_(*this);
        filling_ = false;
    }
    return *this;
}

const SettingsState& SettingsState::Ready() const {
    // Only a state with a filler changes here, and fillers are given to states that are not const.
    return const_cast<SettingsState*>(this)->Ready();
}

void SettingsState::AddObserver(Observer* observer) {
    if (observer && std::find(observers_.begin(), observers_.end(), observer) == observers_.end())
        observers_.push_back(observer);
}

void SettingsState::RemoveObserver(Observer* observer) {
    std::erase(observers_, observer);
}

int SettingsState::AddNode(const std::wstring& key, const std::wstring& caption, const std::wstring& parent,
                           SettingKind kind, SettingImage image) {
    if (key.empty() || Ready().index_.contains(key)) return -1;
    if (!parent.empty()) {
        const SettingNode* group = Find(parent);
        if (!group || group->Kind != SettingKind::Group) return -1;
    }
    const int index = Count();
    nodes_.push_back({key, caption, parent, kind, image});
    index_.emplace(key, index);
    if (kind == SettingKind::Number || kind == SettingKind::Choice) staged_.emplace(key, std::wstring());
    // Copied: an observer may add or remove observers while it is told.
    if (!filling_)
        for (Observer* o : std::vector(observers_)) o->NodeAdded(index);
    return index;
}

int SettingsState::IndexOf(const std::wstring& key) const {
    auto it = Ready().index_.find(key);
    return it == index_.end() ? -1 : it->second;
}

const SettingNode* SettingsState::Find(const std::wstring& key) const {
    const int index = IndexOf(key);
    return index < 0 ? nullptr : &nodes_[static_cast<size_t>(index)];
}

std::optional<SettingImage> SettingsState::Image(const std::wstring& key) const {
    const SettingNode* node = Find(key);
    if (!node) return std::nullopt;
    return node->Image;
}

bool SettingsState::IsOn(const std::wstring& key) const {
    return Image(key) == SettingImage::On;
}

bool SettingsState::SetImage(const std::wstring& key, SettingImage image) {
    const int index = IndexOf(key);
    if (index < 0) return false;
    SettingNode& node = nodes_[static_cast<size_t>(index)];
    if (node.Image == image) return true;
    node.Image = image;
    for (Observer* o : std::vector(observers_)) o->ImageChanged(index);
    return true;
}

const std::wstring& SettingsState::StagedText(const std::wstring& key) const {
    static const std::wstring none;
    auto it = Ready().staged_.find(key);
    return it == staged_.end() ? none : it->second;
}

bool SettingsState::SetStagedText(const std::wstring& key, const std::wstring& text) {
    auto it = Ready().staged_.find(key);
    if (it == staged_.end()) return false;
    if (it->second == text) return true;
    it->second = text;
    for (Observer* o : std::vector(observers_)) o->StagedTextChanged(key);
    return true;
}

std::optional<bool> SettingsState::UnlistedToggle(const std::wstring& key) const {
    auto it = Ready().unlisted_.find(key);
    if (it == unlisted_.end()) return std::nullopt;
    return it->second;
}

void SettingsState::SetUnlistedToggle(const std::wstring& key, bool on) {
    Ready().unlisted_[key] = on;
}
