#pragma once
// The settings tree as staged state: the nodes in the order they were added, each with its image number,
// and the staged texts of the number settings and the folder verb. A toggle's state is its image; nothing
// else records it. Views observe the state and redraw; they keep no copy of it.
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

enum class SettingKind { Group, Toggle, Number, Choice };

// The numbers of the tree's pictures, which double as the node's kind and state.
enum class SettingImage : int {
    GroupCollapsed = 1,
    GroupOpen = 2, // an expanded or selected group
    Editable = 3,  // a number or the choice
    Disabled = 4,  // a number that cannot be edited now
    Off = 5,
    On = 6,
    Unavailable = 7, // a toggle this system cannot honour
};
inline constexpr int SettingImageCount = 7;

struct SettingNode {
    std::wstring Key;
    std::wstring Caption;
    std::wstring Parent; // empty for a top-level group
    SettingKind Kind = SettingKind::Group;
    SettingImage Image = SettingImage::GroupCollapsed;
    // What the node shows when expanded and when selected: the open group for groups, else the image itself.
    SettingImage ExpandedImage() const {
        return Kind == SettingKind::Group ? SettingImage::GroupOpen : Image;
    }
    SettingImage SelectedImage() const { return ExpandedImage(); }
};

class SettingsState {
public:
    struct Observer {
        virtual ~Observer() = default;
        virtual void NodeAdded(int index) = 0;
        virtual void ImageChanged(int index) = 0;
        virtual void StagedTextChanged(const std::wstring& key) = 0;
    };

    using Filler = std::function<void(SettingsState&)>;

    SettingsState() = default;
    SettingsState(const SettingsState&) = delete;
    SettingsState& operator=(const SettingsState&) = delete;

    // From now on the filler adds the nodes when the state is first used, so that settings nobody looks at
    // are never read. Observers are not told of the nodes it adds: they were there before anyone looked.
    void FillOnFirstUse(Filler filler);
    bool Filled() const { return filled_; } // by the filler

    void AddObserver(Observer* observer);
    void RemoveObserver(Observer* observer);

    // Appends a node under an existing group (or at the top with an empty parent). Returns its index, or -1
    // and adds nothing when the key is taken, empty, or the parent is not a group added before.
    int AddNode(const std::wstring& key, const std::wstring& caption, const std::wstring& parent,
                SettingKind kind, SettingImage image);

    int Count() const { return static_cast<int>(Ready().nodes_.size()); }
    const std::vector<SettingNode>& Nodes() const { return Ready().nodes_; }
    const SettingNode& Node(int index) const { return Ready().nodes_.at(static_cast<size_t>(index)); }
    int IndexOf(const std::wstring& key) const; // -1 when there is no such node
    const SettingNode* Find(const std::wstring& key) const;

    std::optional<SettingImage> Image(const std::wstring& key) const;
    // Image 6; an off, unavailable or missing node is not on.
    bool IsOn(const std::wstring& key) const;
    // False when there is no such node. Observers hear of it only when the image really changed.
    bool SetImage(const std::wstring& key, SettingImage image);

    // Staged texts belong to number and choice nodes; any other key reads empty and cannot be set.
    const std::wstring& StagedText(const std::wstring& key) const;
    bool SetStagedText(const std::wstring& key, const std::wstring& text);

    // Toggles read at start on a system that shows no node for them, kept so that nothing read is lost.
    std::optional<bool> UnlistedToggle(const std::wstring& key) const;
    void SetUnlistedToggle(const std::wstring& key, bool on);

private:
    // Every use passes here first.
    const SettingsState& Ready() const;
    SettingsState& Ready();

    Filler filler_;
    bool filled_ = false;
    bool filling_ = false;
    std::vector<SettingNode> nodes_;
    std::unordered_map<std::wstring, int> index_;
    std::map<std::wstring, std::wstring> staged_;
    std::map<std::wstring, bool> unlisted_;
    std::vector<Observer*> observers_;
};
